#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <memory>
#include <string>

#include "settings/ini_store.h"
#include "settings/memory_store.h"
#include "settings/store_ops.h"
#include "test_util.h"

namespace glintora {
namespace {

using testing::TempDir;

// Every backend must keep the same promises; each test runs on both (true: the INI file).
class StoreTest : public ::testing::TestWithParam<bool> {
 protected:
  TempDir dir_;
  std::unique_ptr<Store> owned_{GetParam() ? static_cast<Store*>(new IniStore(dir_.File("c/settings.ini")))
                                           : new MemoryStore};
  Store& store_ = *owned_;
};

TEST_P(StoreTest, TextsAreTrimmedNumbersShortAndOtherBytesKept) {
  std::string bytes;
  for (int c = 1; c < 256; ++c)
    if (c != '\r' && c != '\n') bytes += static_cast<char>(c);
  bytes = "x" + bytes + "x";  // trimming must not touch the inside
  const std::pair<const char*, std::string> rows[] = {
      {"  Arial ", "Arial"}, {"", ""}, {bytes.c_str(), bytes}};
  for (const auto& [text, stored] : rows) {
    EXPECT_TRUE(RegWriteText(store_, "Advanced", "Text", text));
    EXPECT_EQ(RegReadText(store_, "Advanced", "Text", "x"), stored);
  }
  RegWriteText(store_, "Fireworks", "FireLaunchPersist", 0.85f);
  RegWriteText(store_, "Fireworks", "FireWorks", 12);
  EXPECT_EQ(RegReadText(store_, "Fireworks", "FireLaunchPersist", ""), "0.85");
  EXPECT_EQ(RegReadText(store_, "fireworks", "fireworks", ""), "12");  // names ignore case
  EXPECT_EQ(RegReadText(store_, "Fireworks", "Never", "dflt"), "dflt");
  RegWriteText(store_, "General\\Main", "Left", 10);
  EXPECT_EQ(RegReadInt(store_, "General\\Main", "Left", 0), 10);
  EXPECT_EQ(RegReadInt(store_, "General", "Left", 0), 0);
}

// 16-bit and 32-bit whole numbers round half to even; what does not fit gives the default.
TEST_P(StoreTest, TypedReadersRoundHalfToEvenAndGiveTheDefaultForBadValues) {
  const auto readAs = [&](const char* text, char type) {
    RegWriteText(store_, "S", "k", text);
    if (type == 'i') return static_cast<double>(RegReadInt(store_, "S", "k", 7));
    if (type == 'l') return static_cast<double>(RegReadLong(store_, "S", "k", 40));
    return static_cast<double>(RegReadSingle(store_, "S", "k", 0.85f));
  };
  // i: 16-bit, l: 32-bit, s: single.
  const struct { const char* text; char type; double expected; } rows[] = {
      {"abc", 'i', 7}, {"", 'i', 7}, {"   ", 'i', 7}, {"1e999", 'i', 7}, {"40000", 'i', 7},
      {"-40000", 'i', 7}, {"12abc", 'i', 7}, {"1,5", 'i', 7}, {"0x10", 'i', 7}, {" 2.5 ", 'i', 2},
      {"-3.5e0", 'i', -4}, {"32767.4", 'i', 32767}, {"32767.5", 'i', 7}, {"-32768.5", 'i', -32768},
      {"abc", 's', 0.85f}, {"", 's', 0.85f}, {"1e999", 's', 0.85f}, {"1e39", 's', 0.85f},
      {"- 1", 's', 0.85f}, {"1e-50", 's', 0}, {"0.1", 's', 0.1f}, {"3000000000", 'l', 40}, {"x", 'l', 40},
      {"1e10", 'l', 40}, {"2147483647", 'l', 2147483647}, {"2147483647.5", 'l', 40}, {"-2.5", 'l', -2}};
  for (const auto& row : rows) EXPECT_EQ(readAs(row.text, row.type), row.expected) << row.text;
}

INSTANTIATE_TEST_SUITE_P(Backends, StoreTest, ::testing::Bool());

TEST(IniStore, KeepsTheFileReadableAndCreatesItsFolder) {
  TempDir dir;
  IniStore store(dir.File("a/b/settings.ini"));
  EXPECT_EQ(RegReadText(store, "Fireworks", "FireWorks", "12"), "12");
  EXPECT_TRUE(RegWriteText(store, "Fireworks", "FireWorks", 20));
  EXPECT_TRUE(RegWriteText(store, "General\\Main", "State", 2));
  EXPECT_TRUE(RegWriteText(store, "Fireworks", "FireWorks", 21));
  EXPECT_EQ(TempDir::Read(store.Path()), "[Fireworks]\nFireWorks=21\n[General\\Main]\nState=2\n");
  for (const std::string& path : {dir.File("a/b/settings.ini/inside"), std::string()}) {
    IniStore unwritable(path);
    EXPECT_FALSE(RegWriteText(unwritable, "A", "b", "c")) << path;
  }
}

// A FIFO in the file's place would block the read until a writer came: it gives the defaults.
TEST(IniStore, AFifoGivesTheDefaultsWithoutWaiting) {
  TempDir dir;
  const std::string path = dir.File("settings.ini");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  auto read = std::async(std::launch::async, [&] {
    IniStore store(path);
    return RegReadText(store, "Fireworks", "FireWorks", "12");
  });
  const bool done = read.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
  if (!done) close(open(path.c_str(), O_WRONLY | O_NONBLOCK));  // releases a blocked open
  EXPECT_TRUE(done);
  EXPECT_EQ(read.get(), "12");
}

TEST(IniStore, PathFollowsTheBaseDirectoryConvention) {
  namespace fs = std::filesystem;
  const std::string home = (fs::path("/home/u") / ".config" / "glintora" / "settings.ini").string();
  EXPECT_EQ(DefaultIniStorePath("/cfg", "/home/u"), (fs::path("/cfg") / "glintora" / "settings.ini").string());
  EXPECT_EQ(DefaultIniStorePath(nullptr, "/home/u"), home);
  EXPECT_EQ(DefaultIniStorePath("relative", "/home/u"), home);
  EXPECT_EQ(DefaultIniStorePath("", ""), "");
}

}  // namespace
}  // namespace glintora
