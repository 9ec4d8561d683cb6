// Users whose names are not in the ANSI code page: their templates are found on the command line
// and in the template dialog, saves there read back whole, and messages keep every character.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "dialogs/field_model.h"
#include "harness.h"
#include "platform/win32/dialogs/advanced_dialog.h"
#include "platform/win32/dialogs/template_window.h"
#include "platform/win32/files/wide_text.h"
#include "platform/win32/registry_store.h"
#include "settings/numbers.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"
#include "dialogs/transfers.h"

namespace glintora {
namespace {

const char* const kUsers[] = {"Jürgen Müller", "Дмитрий Петров", "東京 花火"};
const char* const kMessages[] = {"С Новым годом!", "花火大会", "Grüße €"};
const std::string kTemplateName = "Ночь 花火.glx";

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(Widen(path)), std::ios::binary) << bytes;
}
std::string ReadBytes(const std::string& path) {
  std::ifstream in(std::filesystem::path(Widen(path)), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(UnicodeFiles, ATemplateNamedOnTheCommandLineIsImported) {
  const std::string scr = test::ScrPath();
  ASSERT_FALSE(scr.empty()) << "set GLINTORA_SCR to the path of GlintoraFireworks.scr";
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(kUsers[i]);
    test::TempFolder folder(kUsers[i]);
    const std::string path = folder.File(kTemplateName);
    WriteBytes(path, std::string("\xEF\xBB\xBF[Fireworks]\r\nFireWorks=33\r\n[Advanced]\r\n") +
                         "LockMessage=" + kMessages[i] + "\r\n");
    test::DeleteKeyTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\GlintoraFireworks");
    test::DeleteKeyTree(HKEY_CURRENT_USER, "SOFTWARE\\GlintoraFireworks");
    test::ScrProcess p;
    ASSERT_TRUE(p.Start(scr, path));
    HWND saver = p.WaitForWindow(test::kSaverCaption, 20000);
    ASSERT_NE(saver, nullptr);
    PostMessageA(saver, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(p.WaitForExit(10000));
    RegistryStore store;
    EXPECT_EQ(RegReadText(store, "Fireworks", "FireWorks", "?"), "33");
    EXPECT_EQ(RegReadText(store, "Advanced", "LockMessage", "?"), kMessages[i]);
  }
}

TEST(UnicodeFiles, TheTemplateDialogListsOpensAndSavesThere) {
  test::DialogProgram program("UnicodeTemplateDialog");
  for (const char* user : kUsers) {
    SCOPED_TRACE(user);
    test::TempFolder folder(user);
    WriteBytes(folder.File(kTemplateName), "[Admin]\r\n");
    for (bool open : {true, false}) {
      TemplateDialogModel model(program.StoreOf(), SystemFileSystem());
      model.FormLet(open, open ? kOpenTemplateTitle : kSaveTemplateTitle, kTemplateTypes);
      std::vector<std::string> messages;
      TemplateWindow window(
          program.Get(), model, [&](HWND, const std::string& text) { messages.push_back(text); },
          nullptr);
      ASSERT_TRUE(window.Open(nullptr));
      ASSERT_TRUE(window.ShowFolder(folder.Path()));
      HWND files = window.Item(TemplateIds::kFiles);
      ASSERT_EQ(SendMessageW(files, LB_GETCOUNT, 0, 0), 1);
      wchar_t listed[MAX_PATH] = {};
      SendMessageW(files, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(listed));
      EXPECT_EQ(Narrow(listed), kTemplateName);
      const std::string name = open ? kTemplateName : "Новый";
      SetWindowTextW(window.Item(TemplateIds::kName), Widen(name).c_str());
      test::Click(window.Item(TemplateIds::kOk));
      EXPECT_EQ(messages, std::vector<std::string>{});
      EXPECT_TRUE(model.Accepted());
      EXPECT_EQ(model.FullFileName(), folder.File(open ? name : name + ".glx"));
      EXPECT_EQ(program.Stored(kSectionTemplate, "Path_Dir"), folder.Path());
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Widen(folder.Path())), {}), 1)
        << "the save probe leaves nothing behind";
  }
}

// Every colour and firework value changed and the message typed in the advanced dialog: the
// template saved in the user's folder gives all of them back.
TEST(UnicodeFiles, ASaveWithEveryValueChangedReadsBackWhole) {
  test::DialogProgram program("UnicodeSave");
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(kUsers[i]);
    test::TempFolder folder(kUsers[i]);
    {
      AdvancedDialog advanced(program.Get(), {"Arial", "Tahoma"}, nullptr);
      ASSERT_TRUE(advanced.Open(nullptr));
      PumpPendingMessages();
      SetWindowTextW(advanced.Item(AdvancedIds::kMessage), Widen(kMessages[i]).c_str());
      test::Click(advanced.Item(AdvancedIds::kOk));
    }
    ASSERT_EQ(program.Stored(kSectionAdvanced, "LockMessage"), kMessages[i]);

    MemoryDialogView dialog;
    LoadPropsFromStore(dialog, program.StoreOf());
    int n = 0;
    const auto changed = [&n] { return NumberText(++n + 0.25); };
    std::vector<std::pair<ControlId, std::string>> saved;
    for (const SettingDef* def : ColorOrder()) {
      const Control c = def->box == BoxArray::PixHue ? Control::TxtPixHue : Control::TxtPixCol;
      saved.push_back({{c, def->boxIndex}, changed()});
    }
    for (const SettingDef* def : FireworkBoxOrder()) {
      saved.push_back({{Control::TxtFire, def->boxIndex}, changed()});
    }
    for (const auto& [id, text] : saved) dialog.SetText(id, text);
    dialog.SetCheckValue({Control::ChkMultiMom, 0}, 0);

    Templates templates{folder.File(kTemplateName)};
    std::string reason;
    ASSERT_TRUE(SaveTemplateFile(dialog, program.StoreOf(), templates, reason)) << reason;
    EXPECT_EQ(ReadBytes(templates.CurrentTemplatePath).rfind("\xEF\xBB\xBF[Admin]", 0), 0u);

    RegWriteText(program.StoreOf(), kSectionAdvanced, "LockMessage", std::string_view("x"));
    MemoryDialogView back;
    LoadTemplateFile(back, program.StoreOf(), templates);
    for (const auto& [id, text] : saved) EXPECT_EQ(back.Text(id), text) << id.index;
    EXPECT_EQ(back.CheckValue({Control::ChkMultiMom, 0}), 0);
    EXPECT_EQ(program.Stored(kSectionAdvanced, "LockMessage"), kMessages[i]);
  }
}

// Beyond the 260 characters of the plain path form, through the folder whose name ends the limit.
TEST(UnicodeFiles, ATemplateBeyondThePathLimitIsSavedAndRead) {
  test::TempFolder folder("Дмитрий Петров");
  std::string path = folder.Path();
  while (path.size() < 280) {
    path += "\\" + std::string(60, 'd');
    ASSERT_TRUE(CreateDirectoryW(FilePathW(path).c_str(), nullptr)) << path;
  }
  Templates templates{path + "\\" + kTemplateName};
  ASSERT_TRUE(ProfileWriteText(templates, "Advanced", "LockMessage", std::string_view(kMessages[1])));
  EXPECT_EQ(ProfileReadText(templates, "Advanced", "LockMessage", "?"), kMessages[1]);
  ASSERT_TRUE(ProfileWriteText(templates, "Advanced", "LockMessage", std::string_view("x")));
  EXPECT_EQ(ProfileReadText(templates, "Advanced", "LockMessage", "?"), "x");
}

}  // namespace
}  // namespace glintora
