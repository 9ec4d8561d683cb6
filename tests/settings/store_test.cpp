#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "settings/ini_store.h"
#include "settings/memory_store.h"
#include "settings/store_ops.h"
#include "temp_dir.h"

namespace glintora {
namespace {

using testing::TempDir;

// Every backend must keep the same promises; each test runs on both.
class StoreTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (std::string(GetParam()) == "memory") {
      store_ = std::make_unique<MemoryStore>();
    } else {
      store_ = std::make_unique<IniStore>(dir_.File("config/glintora/settings.ini"));
    }
  }
  Store& store() { return *store_; }

  TempDir dir_;
  std::unique_ptr<Store> store_;
};

TEST_P(StoreTest, TextsAreTrimmedAndNumbersWrittenInTheirShortForm) {
  EXPECT_TRUE(RegWriteText(store(), "Advanced", "Adv_FontName", "  Arial "));
  EXPECT_EQ(RegReadText(store(), "Advanced", "Adv_FontName", "x"), "Arial");
  RegWriteText(store(), "Fireworks", "FirePersist", 0.97);
  RegWriteText(store(), "Fireworks", "FireLaunchPersist", 0.85f);
  RegWriteText(store(), "Fireworks", "FireWorks", 12);
  RegWriteText(store(), "Fireworks", "FireSpeed", 1.0);
  EXPECT_EQ(RegReadText(store(), "Fireworks", "FirePersist", ""), "0.97");
  EXPECT_EQ(RegReadText(store(), "Fireworks", "FireLaunchPersist", ""), "0.85");
  EXPECT_EQ(RegReadText(store(), "Fireworks", "FireWorks", ""), "12");
  EXPECT_EQ(RegReadText(store(), "Fireworks", "FireSpeed", ""), "1");
  EXPECT_EQ(RegReadText(store(), "fireworks", "fireworks", ""), "12");  // names ignore case
  EXPECT_EQ(RegReadText(store(), "Fireworks", "Never", "dflt"), "dflt");
  EXPECT_EQ(RegReadInt(store(), "General", "AnimationType", -1), -1);
}

TEST_P(StoreTest, TypedReadersGiveTheDefaultForBadValues) {
  for (const char* bad : {"abc", "", "   ", "1e999", "40000", "-40000", "12abc", "1,5", "0x10"}) {
    RegWriteText(store(), "S", "k", bad);
    EXPECT_EQ(RegReadInt(store(), "S", "k", 7), 7) << bad;
  }
  for (const char* bad : {"abc", "", "1e999", "1e39", "- 1"}) {
    RegWriteText(store(), "S", "k", bad);
    EXPECT_EQ(RegReadSingle(store(), "S", "k", 0.85f), 0.85f) << bad;
  }
  for (const char* bad : {"3000000000", "x", "1e10"}) {
    RegWriteText(store(), "S", "k", bad);
    EXPECT_EQ(RegReadLong(store(), "S", "k", 40), 40) << bad;
  }
  RegWriteText(store(), "S", "k", " 2.5 ");
  EXPECT_EQ(RegReadInt(store(), "S", "k", 0), 2);
  RegWriteText(store(), "S", "k", "-3.5e0");
  EXPECT_EQ(RegReadInt(store(), "S", "k", 0), -4);
  RegWriteText(store(), "S", "k", "32767");
  EXPECT_EQ(RegReadInt(store(), "S", "k", 0), 32767);
  RegWriteText(store(), "S", "k", "2147483647");
  EXPECT_EQ(RegReadLong(store(), "S", "k", 0), 2147483647);
  RegWriteText(store(), "S", "k", "1e-50");
  EXPECT_EQ(RegReadSingle(store(), "S", "k", 1), 0.0f);
}

TEST_P(StoreTest, LongValuesAndArbitraryBytesAreReadWhole) {
  const std::string message(200, 'x');
  RegWriteText(store(), "Advanced", "LockMessage", message);
  EXPECT_EQ(RegReadText(store(), "Advanced", "LockMessage", ""), message);
  std::string bytes;
  for (int c = 1; c < 256; ++c) {
    if (c != '\r' && c != '\n') bytes += static_cast<char>(c);
  }
  bytes = "x" + bytes + "x";  // trimming must not touch the inside
  RegWriteText(store(), "Advanced", "LockMessage", bytes);
  EXPECT_EQ(RegReadText(store(), "Advanced", "LockMessage", ""), bytes);
  // Sections with a backslash are kept as they are.
  RegWriteText(store(), "General\\Main", "Left", 10);
  EXPECT_EQ(RegReadInt(store(), "General\\Main", "Left", 0), 10);
  EXPECT_EQ(RegReadInt(store(), "General", "Left", 0), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, StoreTest, ::testing::Values("memory", "ini"));

TEST(IniStore, KeepsTheFileReadableAndCreatesItsFolder) {
  TempDir dir;
  IniStore store(dir.File("a/b/settings.ini"));
  EXPECT_EQ(RegReadText(store, "Fireworks", "FireWorks", "12"), "12");
  EXPECT_TRUE(RegWriteText(store, "Fireworks", "FireWorks", 20));
  EXPECT_TRUE(RegWriteText(store, "General\\Main", "State", 2));
  EXPECT_TRUE(RegWriteText(store, "Fireworks", "FireWorks", 21));
  EXPECT_EQ(TempDir::Read(store.Path()), "[Fireworks]\nFireWorks=21\n[General\\Main]\nState=2\n");
  IniStore unwritable(dir.File("a/b/settings.ini/inside"));
  EXPECT_FALSE(RegWriteText(unwritable, "A", "b", "c"));
  IniStore nowhere("");
  EXPECT_FALSE(RegWriteText(nowhere, "A", "b", "c"));
}

TEST(IniStore, PathFollowsTheBaseDirectoryConvention) {
  namespace fs = std::filesystem;
  EXPECT_EQ(DefaultIniStorePath("/cfg", "/home/u"), (fs::path("/cfg") / "glintora" / "settings.ini").string());
  EXPECT_EQ(DefaultIniStorePath(nullptr, "/home/u"),
            (fs::path("/home/u") / ".config" / "glintora" / "settings.ini").string());
  EXPECT_EQ(DefaultIniStorePath("relative", "/home/u"),
            (fs::path("/home/u") / ".config" / "glintora" / "settings.ini").string());
  EXPECT_EQ(DefaultIniStorePath("", ""), "");
}

}  // namespace
}  // namespace glintora
