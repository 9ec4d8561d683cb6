#include "dialogs/template_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../settings/test_util.h"
#include "settings/memory_store.h"

namespace glintora {
namespace {

using testing::TempDir;

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
  TempDir dir;
  const std::string folder = dir.Path().string();
  MemoryStore store;
  TemplateDialogModel model{store, SystemFileSystem()};
};

TEST_F(TemplateDialog, OpenNeedsAnExistingFile) {
  TempDir::Write(dir.File("a.glx"), "[Admin]\n");
  TempDir::Write(dir.File("  "), "");  // a blank name is refused even when such a file exists
  model.FormLet(true, kOpenTemplateTitle, kTemplateTypes);
  EXPECT_EQ(model.Ok("c:", folder, "  "), kOpenInvalidMessage);
  EXPECT_EQ(model.Ok("c:", folder, "b.glx"), kOpenInvalidMessage);
  EXPECT_FALSE(model.Accepted());
  EXPECT_EQ(ReadTemplateLocation(store).folder, "");  // nothing remembered yet
  EXPECT_EQ(model.Ok("c:", folder, "a.glx"), "");
  EXPECT_TRUE(model.Accepted());
  EXPECT_EQ(model.FullFileName(), dir.File("a.glx"));
  EXPECT_EQ(ReadTemplateLocation(store).folder, folder);
  EXPECT_EQ(ReadTemplateLocation(store).drive, "c:");
  model.FormLet(true, kOpenTemplateTitle, kTemplateTypes);  // the next use starts clean
  EXPECT_FALSE(model.Accepted());
  EXPECT_EQ(model.FullFileName(), "");
}

TEST_F(TemplateDialog, SaveAddsTheExtensionOnlyWithoutAnyDot) {
  model.FormLet(false, kSaveTemplateTitle, kTemplateTypes);
  EXPECT_EQ(model.Ok("", folder, "mytheme"), "");
  EXPECT_EQ(model.FullFileName(),
            dir.File("mytheme") + (folder.find('.') == std::string::npos ? ".glx" : ""));
  std::filesystem::create_directories(dir.File("My.Looks"));
  EXPECT_EQ(model.Ok("", dir.File("My.Looks"), "mytheme"), "");
  EXPECT_EQ(model.FullFileName(), dir.File("My.Looks/mytheme"));
  EXPECT_EQ(model.Ok("", dir.File("absent"), "x.glx"), kSaveInvalidMessage);
  EXPECT_EQ(model.Ok("", folder, ""), kSaveInvalidMessage);
  EXPECT_EQ(dir.Entries(), 1u);  // the probes left nothing beside the folder
}

TEST_F(TemplateDialog, SaveProbeNeverHarmsAnExistingFile) {
  TempDir::Write(dir.File("keep.glx0"), "precious");
  TempDir::Write(dir.File("keep.glx0~1"), "also precious");
  model.FormLet(false, kSaveTemplateTitle, kTemplateTypes);
  EXPECT_EQ(model.Ok("", folder, "keep.glx"), "");
  EXPECT_EQ(TempDir::Read(dir.File("keep.glx0")), "precious");
  EXPECT_EQ(TempDir::Read(dir.File("keep.glx0~1")), "also precious");
  EXPECT_EQ(dir.Entries(), 2u);
  // A double-click takes the path as it is, in either mode.
  model.FormLet(true, kOpenTemplateTitle, kTemplateTypes);
  model.FileDoubleClicked("d:", folder, "nothing");
  EXPECT_TRUE(model.Accepted());
  EXPECT_EQ(model.FullFileName(), dir.File("nothing"));
  EXPECT_EQ(ReadTemplateLocation(store).drive, "d:");
}

}  // namespace
}  // namespace glintora
