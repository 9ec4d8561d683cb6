// The advanced settings dialog and the template file dialog, driven with messages.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "harness.h"
#include "platform/win32/dialogs/advanced_dialog.h"
#include "platform/win32/dialogs/template_window.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"

namespace glintora {
namespace {

using test::Click;
using test::TextOf;

const char* const kAdvancedKeys[8] = {"Adv_TimeDelay", "Adv_FontName",  "Adv_FontSize",
                                      "Adv_FontHueV",  "LockMessage",   "FocalLength",
                                      "Adv_WinResize", "Adv_MouseMove"};

class DialogAdvanced : public ::testing::Test {
 protected:
  DialogAdvanced() : program_("DialogAdvanced") {}
  std::unique_ptr<AdvancedDialog> Open() {
    auto dialog = std::make_unique<AdvancedDialog>(
        program_.Get(), std::vector<std::string>{"Courier New", "Arial", "Tahoma"},
        [this](HWND, const HelpRequest& r) { helpTopics_.push_back(r.Topic); });
    EXPECT_TRUE(dialog->Open(nullptr));
    PumpPendingMessages();
    return dialog;
  }
  std::vector<std::string> Stored() {
    std::vector<std::string> out;
    for (const char* key : kAdvancedKeys) out.push_back(program_.Stored(kSectionAdvanced, key));
    return out;
  }
  HWND Box(AdvancedDialog& d, int index) { return d.Item(AdvancedIds::kBoxBase + index); }

  test::DialogProgram program_;
  std::vector<DWORD> helpTopics_;
};

TEST_F(DialogAdvanced, OkWritesTheEightValuesAsEditedAndClamped) {
  RegWriteText(program_.StoreOf(), kSectionAdvanced, "Adv_TimeDelay", "1500");
  RegWriteText(program_.StoreOf(), kSectionAdvanced, "Adv_FontName", "Tahoma");
  auto dialog = Open();
  EXPECT_EQ(TextOf(dialog->Handle()), "Advanced Settings");
  EXPECT_EQ(TextOf(Box(*dialog, 0)), "1500");  // shown as stored until it is clamped
  EXPECT_EQ(TextOf(dialog->Item(AdvancedIds::kFont)), "Tahoma");

  test::ChooseEntry(dialog->Item(AdvancedIds::kFont), 0);
  test::TypeInto(Box(*dialog, 6), "12.5");
  test::TypeInto(Box(*dialog, 5), "9x0");
  SetWindowTextA(dialog->Item(AdvancedIds::kMessage), "  Happy New Year  ");
  Click(dialog->Item(AdvancedIds::kResize));
  EXPECT_EQ(TextOf(dialog->Item(AdvancedIds::kSound)), "Sound effects");
  Click(dialog->Item(AdvancedIds::kSound));
  test::TypeInto(Box(*dialog, 4), "3");  // still being edited when OK is pressed

  Click(dialog->Item(AdvancedIds::kOk));
  EXPECT_FALSE(dialog->IsOpen());
  EXPECT_EQ(Stored(), (std::vector<std::string>{"999", "Courier New", "10", "90",
                                                 "Happy New Year", "10", "1", "0"}));
  EXPECT_EQ(program_.Stored(kSectionSoundFX, "SoundFX_ON"), "1");
}

TEST_F(DialogAdvanced, DefaultsThenCancelWritesNothingAndHelpOpensTopic500) {
  RegWriteText(program_.StoreOf(), kSectionAdvanced, "Adv_FontSize", "50");
  const auto before = Stored();
  auto dialog = Open();
  Click(dialog->Item(AdvancedIds::kDefaults));
  EXPECT_EQ(TextOf(Box(*dialog, 0)), "40");
  EXPECT_EQ(TextOf(Box(*dialog, 4)), "24");
  EXPECT_EQ(TextOf(Box(*dialog, 5)), "180");
  EXPECT_EQ(TextOf(Box(*dialog, 6)), "1.0");
  EXPECT_EQ(TextOf(dialog->Item(AdvancedIds::kFont)), "Arial");
  Click(dialog->Item(AdvancedIds::kHelp));
  EXPECT_EQ(helpTopics_, std::vector<DWORD>{500});
  Click(dialog->Item(AdvancedIds::kDismiss));
  EXPECT_FALSE(dialog->IsOpen());
  EXPECT_EQ(Stored(), before);
}

class DialogTemplate : public ::testing::Test {
 protected:
  DialogTemplate() : program_("DialogTemplate"), folder_("template-window") {
    for (const char* name : {"finale.glx", "notes.txt"})
      std::ofstream(folder_.File(name)) << "[Admin]\n";
  }

  std::unique_ptr<TemplateWindow> Open(TemplateDialogModel& model, bool open) {
    model.FormLet(open, open ? kOpenTemplateTitle : kSaveTemplateTitle, kTemplateTypes);
    auto window = std::make_unique<TemplateWindow>(
        program_.Get(), model, [this](HWND, const std::string& text) { messages_.push_back(text); },
        nullptr);
    EXPECT_TRUE(window->Open(nullptr));
    return window;
  }
  std::vector<std::string> Files(TemplateWindow& w) {
    std::vector<std::string> out;
    HWND list = w.Item(TemplateIds::kFiles);
    for (LRESULT i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
      char name[MAX_PATH] = {};
      SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
      out.push_back(name);
    }
    return out;
  }

  test::DialogProgram program_;
  test::TempFolder folder_;
  std::vector<std::string> messages_;
  FileSystem& files_ = SystemFileSystem();
};

TEST_F(DialogTemplate, CancelReturnsNothingOpenListsByTypeChecksTheNameAndRemembersTheFolder) {
  TemplateDialogModel cancelled(program_.StoreOf(), files_);
  auto first = Open(cancelled, true);
  first->ShowFolder(folder_.Path());
  SetWindowTextA(first->Item(TemplateIds::kName), "finale.glx");
  Click(first->Item(TemplateIds::kDismiss));
  EXPECT_FALSE(first->IsOpen());
  EXPECT_FALSE(cancelled.Accepted());
  EXPECT_EQ(program_.Stored(kSectionTemplate, "Path_Dir"), "<absent>");

  TemplateDialogModel model(program_.StoreOf(), files_);
  auto window = Open(model, true);
  EXPECT_EQ(TextOf(window->Handle()), "Select Template to Open");
  ASSERT_TRUE(window->ShowFolder(folder_.Path()));
  EXPECT_EQ(Files(*window), std::vector<std::string>{"finale.glx"});
  test::ChooseEntry(window->Item(TemplateIds::kTypes), 1);  // All Files (*.*)
  EXPECT_EQ(Files(*window), (std::vector<std::string>{"finale.glx", "notes.txt"}));

  Click(window->Item(TemplateIds::kOk));  // no name yet
  EXPECT_EQ(messages_, std::vector<std::string>{"Please select an existing file."});
  EXPECT_TRUE(window->IsOpen());

  HWND list = window->Item(TemplateIds::kFiles);
  SendMessageA(list, LB_SETCURSEL, 0, 0);
  SendMessageA(window->Handle(), WM_COMMAND, MAKEWPARAM(TemplateIds::kFiles, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(TextOf(window->Item(TemplateIds::kName)), "finale.glx");
  Click(window->Item(TemplateIds::kOk));
  EXPECT_FALSE(window->IsOpen());
  ASSERT_TRUE(model.Accepted());
  EXPECT_EQ(model.FullFileName(), folder_.File("finale.glx"));
  EXPECT_EQ(program_.Stored(kSectionTemplate, "Path_Dir"), folder_.Path());

  // The next opening starts where the last choice was made.
  TemplateDialogModel next(program_.StoreOf(), files_);
  auto again = Open(next, false);
  EXPECT_EQ(again->Folder(), folder_.Path());
  SetWindowTextA(again->Item(TemplateIds::kName), "mytheme");
  Click(again->Item(TemplateIds::kOk));
  ASSERT_TRUE(next.Accepted());
  EXPECT_EQ(next.FullFileName(), folder_.File("mytheme.glx"));
  EXPECT_EQ(GetFileAttributesA(folder_.File("mytheme.glx0").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace glintora
