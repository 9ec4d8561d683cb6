#include "dialogs/template_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "settings/memory_store.h"

namespace glintora {
namespace {

namespace fs = std::filesystem;

TEST(TemplatePaths, TypesAndFullPath) {
  const auto types = ParseFileTypes(kTemplateTypes);
  ASSERT_EQ(types.size(), 2u);
  EXPECT_EQ(types[0].description, "Glintora Fireworks Templates (*.glx)");
  EXPECT_EQ(types[0].pattern, "*.glx");
  EXPECT_EQ(types[1].pattern, "*.*");
  const auto odd = ParseFileTypes("Only|*.a|Dangling");
  ASSERT_EQ(odd.size(), 2u);
  EXPECT_EQ(odd[1].description, "Dangling");
  EXPECT_EQ(odd[1].pattern, "");
  EXPECT_TRUE(ParseFileTypes("").empty());
  EXPECT_EQ(TemplateFullPath("C:\\Looks", "mytheme", '\\'), "C:\\Looks\\mytheme");
  EXPECT_EQ(TemplateFullPath("C:\\", "mytheme", '\\'), "C:\\mytheme");
}

class TemplateDialog : public ::testing::Test {
 protected:
  TemplateDialog() {
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~TemplateDialog() override { fs::remove_all(dir); }
  std::string Read(const char* name) {
    std::ifstream in(dir / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::set<std::string> Names() {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) out.insert(e.path().filename().string());
    return out;
  }

  const fs::path dir = fs::temp_directory_path() /
      ("glintora_tdlg_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  const std::string folder = dir.string();
  MemoryStore store;
  TemplateDialogModel model{store, SystemFileSystem()};
};

TEST_F(TemplateDialog, OpenNeedsAnExistingFile) {
  std::ofstream(dir / "a.glx") << "[Admin]\n";
  model.FormLet(true, kOpenTemplateTitle, kTemplateTypes);
  EXPECT_EQ(model.Ok("c:", folder, "  "), kOpenInvalidMessage);
  EXPECT_EQ(model.Ok("c:", folder, "b.glx"), kOpenInvalidMessage);
  EXPECT_FALSE(model.Accepted());
  EXPECT_EQ(ReadTemplateLocation(store).folder, "");  // nothing remembered yet
  EXPECT_EQ(model.Ok("c:", folder, "a.glx"), "");
  EXPECT_TRUE(model.Accepted());
  EXPECT_EQ(model.FullFileName(), (dir / "a.glx").string());
  EXPECT_EQ(ReadTemplateLocation(store).folder, folder);
  EXPECT_EQ(ReadTemplateLocation(store).drive, "c:");
  model.FormLet(true, kOpenTemplateTitle, kTemplateTypes);  // the next use starts clean
  EXPECT_FALSE(model.Accepted());
  EXPECT_EQ(model.FullFileName(), "");
  model.Cancel();
  EXPECT_EQ(ReadTemplateLocation(store).folder, folder);
}

TEST_F(TemplateDialog, SaveAddsTheExtensionOnlyWithoutAnyDot) {
  model.FormLet(false, kSaveTemplateTitle, kTemplateTypes);
  EXPECT_EQ(model.Ok("", folder, "mytheme"), "");
  EXPECT_EQ(model.FullFileName(),
            (dir / "mytheme").string() + (folder.find('.') == std::string::npos ? ".glx" : ""));
  EXPECT_EQ(model.Ok("", folder, "mytheme.old"), "");
  EXPECT_EQ(model.FullFileName(), (dir / "mytheme.old").string());
  fs::create_directories(dir / "My.Looks");
  EXPECT_EQ(model.Ok("", (dir / "My.Looks").string(), "mytheme"), "");
  EXPECT_EQ(model.FullFileName(), (dir / "My.Looks" / "mytheme").string());
  EXPECT_EQ(model.Ok("", (dir / "absent").string(), "x.glx"), kSaveInvalidMessage);
  EXPECT_EQ(model.Ok("", folder, ""), kSaveInvalidMessage);
  EXPECT_EQ(Names(), (std::set<std::string>{"My.Looks"}));  // the probes left nothing
}

TEST_F(TemplateDialog, SaveProbeNeverHarmsAnExistingFile) {
  std::ofstream(dir / "keep.glx0") << "precious";
  std::ofstream(dir / "keep.glx0~1") << "also precious";
  model.FormLet(false, kSaveTemplateTitle, kTemplateTypes);
  EXPECT_EQ(model.Ok("", folder, "keep.glx"), "");
  EXPECT_EQ(Read("keep.glx0"), "precious");
  EXPECT_EQ(Read("keep.glx0~1"), "also precious");
  EXPECT_EQ(Names(), (std::set<std::string>{"keep.glx0", "keep.glx0~1"}));
  // A double-click takes the path as it is, in either mode.
  model.FormLet(true, kOpenTemplateTitle, kTemplateTypes);
  model.FileDoubleClicked("d:", folder, "nothing");
  EXPECT_TRUE(model.Accepted());
  EXPECT_EQ(model.FullFileName(), (dir / "nothing").string());
  EXPECT_EQ(ReadTemplateLocation(store).drive, "d:");
}

}  // namespace
}  // namespace glintora
