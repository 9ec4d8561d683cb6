// Users whose names are not in the ANSI code page: their templates are found in the template
// dialog, saves there read back whole, and messages keep every character.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/field_model.h"
#include "harness.h"
#include "platform/win32/dialogs/advanced_dialog.h"
#include "platform/win32/dialogs/template_window.h"
#include "platform/win32/files/wide_text.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"
#include "dialogs/transfers.h"

namespace glintora {
namespace {

const char* const kUsers[] = {"Jürgen Müller", "Дмитрий Петров", "東京 花火"};
const char* const kMessages[] = {"С Новым годом!", "花火大会", "Grüße €"};
const std::string kTemplateName = "Ночь 花火.glx";

using test::ReadBytes;
using test::WriteBytes;

// The open dialog lists by type, asks for a name, takes the list's choice and remembers the
// folder; cancelled, it chooses and remembers nothing; the save dialog starts there and adds the
// extension, and its probe leaves nothing behind.
TEST(UnicodeFiles, TheTemplateDialogListsOpensAndSavesThere) {
  test::DialogProgram program("UnicodeTemplateDialog");
  std::vector<std::string> messages;
  auto open = [&](TemplateDialogModel& model, bool opening) {
    model.FormLet(opening, opening ? kOpenTemplateTitle : kSaveTemplateTitle, kTemplateTypes);
    auto window = std::make_unique<TemplateWindow>(
        program.Get(), model, [&](HWND, const std::string& text) { messages.push_back(text); },
        nullptr);
    EXPECT_TRUE(window->Open(nullptr));
    return window;
  };
  auto files = [](TemplateWindow& window) {
    std::vector<std::string> out;
    HWND list = window.Item(TemplateIds::kFiles);
    for (LRESULT i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
      wchar_t name[MAX_PATH] = {};
      SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
      out.push_back(Narrow(name));
    }
    std::sort(out.begin(), out.end());
    return out;
  };
  for (const char* user : kUsers) {
    SCOPED_TRACE(user);
    test::TempFolder folder(user);
    WriteBytes(folder.File(kTemplateName), "[Admin]\r\n");
    WriteBytes(folder.File("notes.txt"), "[Admin]\r\n");
    messages.clear();

    TemplateDialogModel cancelled(program.StoreOf(), SystemFileSystem());
    auto first = open(cancelled, true);
    ASSERT_TRUE(first->ShowFolder(folder.Path()));
    test::TypeInto(first->Item(TemplateIds::kName), std::string(120, 'n'));
    EXPECT_EQ(test::TextOf(first->Item(TemplateIds::kName)).size(), 100u) << "the box holds 100";
    SetWindowTextW(first->Item(TemplateIds::kName), Widen(kTemplateName).c_str());
    test::Click(first->Item(TemplateIds::kDismiss));
    EXPECT_FALSE(first->IsOpen());
    EXPECT_FALSE(cancelled.Accepted());
    EXPECT_NE(program.Stored(kSectionTemplate, "Path_Dir"), folder.Path());

    TemplateDialogModel model(program.StoreOf(), SystemFileSystem());
    auto window = open(model, true);
    EXPECT_EQ(test::TextOf(window->Handle()), "Select Template to Open");
    ASSERT_TRUE(window->ShowFolder(folder.Path()));
    EXPECT_EQ(files(*window), std::vector<std::string>{kTemplateName});
    test::ChooseEntry(window->Item(TemplateIds::kTypes), 1);  // All Files (*.*)
    EXPECT_EQ(files(*window), (std::vector<std::string>{"notes.txt", kTemplateName}));
    test::ChooseEntry(window->Item(TemplateIds::kTypes), 0);
    test::Click(window->Item(TemplateIds::kOk));  // no name yet
    EXPECT_EQ(messages, std::vector<std::string>{"Please select an existing file."});
    ASSERT_TRUE(window->IsOpen());
    HWND list = window->Item(TemplateIds::kFiles);
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    SendMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(TemplateIds::kFiles, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(test::TextOf(window->Item(TemplateIds::kName)), kTemplateName);
    test::Click(window->Item(TemplateIds::kOk));
    EXPECT_FALSE(window->IsOpen());
    ASSERT_TRUE(model.Accepted());
    EXPECT_EQ(model.FullFileName(), folder.File(kTemplateName));
    EXPECT_EQ(program.Stored(kSectionTemplate, "Path_Dir"), folder.Path());

    TemplateDialogModel save(program.StoreOf(), SystemFileSystem());
    auto again = open(save, false);
    EXPECT_EQ(again->Folder(), folder.Path());
    SetWindowTextW(again->Item(TemplateIds::kName), Widen("Новый").c_str());
    test::Click(again->Item(TemplateIds::kOk));
    ASSERT_TRUE(save.Accepted());
    EXPECT_EQ(save.FullFileName(), folder.File("Новый.glx"));
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Widen(folder.Path())), {}), 2)
        << "the save probe leaves nothing behind";
  }
}

// A listed name longer than a typed one may be is taken whole, and may be edited in the box.
TEST(UnicodeFiles, ALongListedNameIsOpenedAndSavedWhole) {
  test::DialogProgram program("LongTemplateName");
  test::TempFolder folder(kUsers[1]);
  const std::string stem = "Ночь " + std::string(141, 'n');  // with ".glx", 150 characters
  WriteBytes(folder.File(stem + ".glx"), "[Admin]\r\n");
  std::vector<std::string> messages;
  for (bool opening : {true, false}) {
    SCOPED_TRACE(opening ? "open" : "save");
    TemplateDialogModel model(program.StoreOf(), SystemFileSystem());
    model.FormLet(opening, opening ? kOpenTemplateTitle : kSaveTemplateTitle, kTemplateTypes);
    TemplateWindow window(program.Get(), model,
                          [&](HWND, const std::string& text) { messages.push_back(text); }, nullptr);
    ASSERT_TRUE(window.Open(nullptr));
    ASSERT_TRUE(window.ShowFolder(folder.Path()));
    HWND list = window.Item(TemplateIds::kFiles), box = window.Item(TemplateIds::kName);
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(TemplateIds::kFiles, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    std::string expected = stem + ".glx";
    if (!opening) {  // the character before the extension retyped
      SetFocus(box);
      SendMessageW(box, EM_SETSEL, 145, 146);
      SendMessageW(box, WM_CHAR, L'2', 1);
      expected = stem.substr(0, stem.size() - 1) + "2.glx";
    }
    test::Click(window.Item(TemplateIds::kOk));
    EXPECT_TRUE(model.Accepted());
    EXPECT_EQ(model.FullFileName(), folder.File(expected));
  }
  EXPECT_EQ(messages, std::vector<std::string>{});
}

// The message typed in the advanced dialog and a changed firework value: the template saved in
// the user's folder gives both back (that every value travels is checked without windows).
TEST(UnicodeFiles, ASaveInTheUsersFolderReadsBackWhole) {
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
    Templates templates{folder.File(kTemplateName)};
    std::string reason;
    for (const char* shells : {"20", "21"}) {  // made, then replaced: nothing else is left there
      dialog.SetText({Control::TxtFire, 0}, shells);
      ASSERT_TRUE(SaveTemplateFile(dialog, program.StoreOf(), templates, reason)) << reason;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Widen(folder.Path())), {}), 1);
    EXPECT_EQ(ReadBytes(templates.CurrentTemplatePath).rfind("\xEF\xBB\xBF[Admin]", 0), 0u);

    RegWriteText(program.StoreOf(), kSectionAdvanced, "LockMessage", std::string_view("x"));
    MemoryDialogView back;
    LoadTemplateFile(back, program.StoreOf(), templates);
    EXPECT_EQ(back.Text({Control::TxtFire, 0}), "21");
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
