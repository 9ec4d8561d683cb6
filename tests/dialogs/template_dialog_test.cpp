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
  // Each type as "description=pattern;".
  const auto text = [](const char* types) {
    std::string out;
    for (const auto& t : ParseFileTypes(types)) out += t.description + "=" + t.pattern + ";";
    return out;
  };
  EXPECT_EQ(text(kTemplateTypes), "Glintora Fireworks Templates (*.glx)=*.glx;All Files (*.*)=*.*;");
  EXPECT_EQ(text("Only|*.a|Dangling"), "Only=*.a;Dangling=;");
  EXPECT_EQ(text(""), "");
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
  for (const char* refused : {"  ", "b.glx"}) EXPECT_EQ(model.Ok("c:", folder, refused), kOpenInvalidMessage);
  EXPECT_FALSE(model.Accepted());
  EXPECT_EQ(ReadTemplateLocation(store).folder, "");  // nothing remembered yet
  EXPECT_EQ(model.Ok("c:", folder, "a.glx"), "");
  EXPECT_TRUE(model.Accepted());
  EXPECT_EQ(model.FullFileName(), dir.File("a.glx"));
  EXPECT_EQ(ReadTemplateLocation(store).drive + ReadTemplateLocation(store).folder, "c:" + folder);
  model.FormLet(true, kOpenTemplateTitle, kTemplateTypes);  // the next use starts clean
  EXPECT_FALSE(model.Accepted() || !model.FullFileName().empty());
}

TEST_F(TemplateDialog, SaveAddsTheExtensionOnlyWithoutAnyDot) {
  model.FormLet(false, kSaveTemplateTitle, kTemplateTypes);
  EXPECT_EQ(model.Ok("", folder, "mytheme"), "");
  EXPECT_EQ(model.FullFileName(),
            dir.File("mytheme") + (folder.find('.') == std::string::npos ? ".glx" : ""));
  std::filesystem::create_directories(dir.File("My.Looks"));
  EXPECT_EQ(model.Ok("", dir.File("My.Looks"), "mytheme"), "");
  EXPECT_EQ(model.FullFileName(), dir.File("My.Looks/mytheme"));
  for (const std::string& at : {dir.File("absent") + "|x.glx", folder + "|"}) {
    EXPECT_EQ(model.Ok("", at.substr(0, at.find('|')), at.substr(at.find('|') + 1)), kSaveInvalidMessage) << at;
  }
  EXPECT_EQ(dir.Entries(), 1u);  // the probes left nothing beside the folder
}

TEST_F(TemplateDialog, SaveProbeNeverHarmsAnExistingFile) {
  TempDir::Write(dir.File("keep.glx0"), "precious");
  TempDir::Write(dir.File("keep.glx0~1"), "also precious");
  model.FormLet(false, kSaveTemplateTitle, kTemplateTypes);
  EXPECT_EQ(model.Ok("", folder, "keep.glx"), "");
  EXPECT_EQ(TempDir::Read(dir.File("keep.glx0")) + "|" + TempDir::Read(dir.File("keep.glx0~1")), "precious|also precious");
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
