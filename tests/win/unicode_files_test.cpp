// Users whose names are not in the ANSI code page: their templates are found in the template
// dialog, saves there read back whole, and messages keep every character.
#include <memory>
#include <string>
#include <vector>

#include "dialogs/field_model.h"
#include "dialogs/transfers.h"
#include "harness.h"
#include "platform/win32/dialogs/template_window.h"
#include "platform/win32/files/wide_text.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"

namespace glintora {
namespace {

const char* const kUsers[] = {"Jürgen Müller", "Дмитрий Петров", "東京 花火"};
const char* const kMessages[] = {"С Новым годом!", "花火大会", "Grüße €"};
const std::string kTemplateName = "Ночь 花火.glx";
// With ".glx", 150 characters: longer than a typed name may be.
const std::string kLongStem = "Ночь " + std::string(141, 'n');

using Strings = std::vector<std::string>;
using test::TextOf;

// The open dialog lists by type, asks for a name, takes the list's choice and remembers the
// folder; cancelled, it chooses and remembers nothing; the save dialog starts there and adds the
// extension, and its probe leaves nothing behind. A listed name longer than a typed one may be
// is taken whole, and may be edited in the box.
TEST(UnicodeFiles, TheTemplateDialogListsOpensAndSavesThere) {
  test::DialogProgram program("UnicodeTemplateDialog");
  Strings messages;
  std::unique_ptr<TemplateDialogModel> model;
  std::unique_ptr<TemplateWindow> window;
  auto open = [&](bool opening) {
    model = std::make_unique<TemplateDialogModel>(program.StoreOf(), SystemFileSystem());
    model->FormLet(opening, opening ? kOpenTemplateTitle : kSaveTemplateTitle, kTemplateTypes);
    window = std::make_unique<TemplateWindow>(
        program.Get(), *model, [&](HWND, const std::string& text) { messages.push_back(text); },
        nullptr);
    EXPECT_TRUE(window->Open(nullptr));
  };
  auto item = [&](int id) { return window->Item(id); };
  // How many files are listed, and whether these names are among them.
  auto listed = [&](Strings names) {
    HWND list = item(TemplateIds::kFiles);
    for (const std::string& name : names)
      if (SendMessageW(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(Widen(name).c_str())) < 0) return -1L;
    return static_cast<long>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  };
  for (const char* user : kUsers) {
    SCOPED_TRACE(user);
    test::TempFolder folder(user);
    test::WriteBytes(folder.File(kTemplateName), "[Admin]\r\n");
    test::WriteBytes(folder.File("notes.txt"), "[Admin]\r\n");
    messages.clear();

    open(true);
    ASSERT_TRUE(window->ShowFolder(folder.Path()));
    test::TypeInto(item(TemplateIds::kName), std::string(120, 'n'));
    EXPECT_EQ(TextOf(item(TemplateIds::kName)).size(), 100u) << "the box holds 100";
    SetWindowTextW(item(TemplateIds::kName), Widen(kTemplateName).c_str());
    test::Click(item(TemplateIds::kDismiss));
    EXPECT_TRUE(!window->IsOpen() && !model->Accepted());
    EXPECT_NE(program.Stored(kSectionTemplate, "Path_Dir"), folder.Path());

    open(true);
    EXPECT_EQ(TextOf(window->Handle()), "Select Template to Open");
    ASSERT_TRUE(window->ShowFolder(folder.Path()));
    EXPECT_EQ(listed({kTemplateName}), 1);
    test::ChooseEntry(item(TemplateIds::kTypes), 1);  // All Files (*.*)
    EXPECT_EQ(listed({"notes.txt", kTemplateName}), 2);
    test::ChooseEntry(item(TemplateIds::kTypes), 0);
    test::Click(item(TemplateIds::kOk));  // no name yet
    EXPECT_EQ(messages, Strings{"Please select an existing file."});
    ASSERT_TRUE(window->IsOpen());
    test::ChooseEntry(item(TemplateIds::kFiles), 0);
    EXPECT_EQ(TextOf(item(TemplateIds::kName)), kTemplateName);
    test::Click(item(TemplateIds::kOk));
    EXPECT_FALSE(window->IsOpen());
    ASSERT_TRUE(model->Accepted());
    EXPECT_EQ(model->FullFileName(), folder.File(kTemplateName));
    EXPECT_EQ(program.Stored(kSectionTemplate, "Path_Dir"), folder.Path());

    open(false);
    EXPECT_EQ(window->Folder(), folder.Path());
    SetWindowTextW(item(TemplateIds::kName), Widen("Новый").c_str());
    test::Click(item(TemplateIds::kOk));
    ASSERT_TRUE(model->Accepted());
    EXPECT_EQ(model->FullFileName(), folder.File("Новый.glx"));
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(folder.Count(), 2) << "the save probe leaves nothing behind";
  }

  test::TempFolder folder(kUsers[1]);
  test::WriteBytes(folder.File(kLongStem + ".glx"), "[Admin]\r\n");
  messages.clear();
  for (bool opening : {true, false}) {
    SCOPED_TRACE(opening ? "long name, open" : "long name, save");
    open(opening);
    ASSERT_TRUE(window->ShowFolder(folder.Path()));
    test::ChooseEntry(item(TemplateIds::kFiles), 0);
    std::string expected = kLongStem + ".glx";
    if (!opening) {  // the character before the extension retyped
      SetFocus(item(TemplateIds::kName));
      SendMessageW(item(TemplateIds::kName), EM_SETSEL, 145, 146);
      SendMessageW(item(TemplateIds::kName), WM_CHAR, L'2', 1);
      expected = kLongStem.substr(0, kLongStem.size() - 1) + "2.glx";
    }
    test::Click(item(TemplateIds::kOk));
    EXPECT_TRUE(model->Accepted());
    EXPECT_EQ(model->FullFileName(), folder.File(expected));
  }
  EXPECT_EQ(messages, Strings{});
}

// A message and a changed firework value: the template saved in the user's folder gives both
// back (that every value travels is checked without windows); and so beyond the 260 characters
// of the plain path form.
TEST(UnicodeFiles, ASaveInTheUsersFolderReadsBackWhole) {
  test::DialogProgram program("UnicodeSave");
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(kUsers[i]);
    test::TempFolder folder(kUsers[i]);
    RegWriteText(program.StoreOf(), kSectionAdvanced, "LockMessage", std::string_view(kMessages[i]));
    // The last user's folder through folders whose names end the limit.
    std::string path = folder.Path();
    while (i == 2 && path.size() < 280) {
      path += "\\" + std::string(60, 'd');
      ASSERT_TRUE(CreateDirectoryW(FilePathW(path).c_str(), nullptr)) << path;
    }

    MemoryDialogView dialog;
    LoadPropsFromStore(dialog, program.StoreOf());
    Templates templates{path + "\\" + kTemplateName};
    std::string reason;
    for (const char* shells : {"20", "21"}) {  // made, then replaced: nothing else is left there
      dialog.SetText({Control::TxtFire, 0}, shells);
      ASSERT_TRUE(SaveTemplateFile(dialog, program.StoreOf(), templates, reason)) << reason;
    }
    EXPECT_EQ(folder.Count(), 1);
    if (i < 2) {
      EXPECT_EQ(test::ReadBytes(templates.CurrentTemplatePath).rfind("\xEF\xBB\xBF[Admin]", 0), 0u);
    }

    RegWriteText(program.StoreOf(), kSectionAdvanced, "LockMessage", std::string_view("x"));
    MemoryDialogView back;
    LoadTemplateFile(back, program.StoreOf(), templates);
    EXPECT_EQ(back.Text({Control::TxtFire, 0}), "21");
    EXPECT_EQ(program.Stored(kSectionAdvanced, "LockMessage"), kMessages[i]);
  }
}

}  // namespace
}  // namespace glintora
