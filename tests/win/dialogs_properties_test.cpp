// The properties dialog driven as a user drives it: texts typed into its fields, clicks, list
// choices and menu commands as messages; then the registry and the controls are read back.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "dialogs_harness.h"
#include "platform/win32/dialogs/properties_dialog.h"
#include "settings/numbers.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"

namespace glintora {
namespace {

using namespace PropsIds;
using test::Click;
using test::TextOf;

// The burst-type percentages, in box order: scintillators, multi, jets, sparkles, rings,
// twisters, decaying stars.
constexpr int kShareBoxes[7] = {11, 13, 16, 25, 28, 31, 50};

std::string Section(const char* key) { return FindSetting(key)->section; }

class DialogProps : public ::testing::Test {
 protected:
  DialogProps() : program_("DialogProps") {}

  PropsServices Services() {
    PropsServices s;
    s.AskYesNo = [this](HWND, const std::string& text, const std::string& title) {
      questions_.push_back(title + "|" + text);
      return answer_;
    };
    s.ChooseTemplate = [this](HWND, bool open, const std::string& title, const std::string&) {
      chooserCalls_.push_back((open ? "open|" : "save|") + title);
      return chosenPath_;
    };
    s.ShowAdvanced = [](HWND) {};
    s.ShowAbout = [](HWND) {};
    s.OpenWebPage = [](HWND) {};
    s.ShowHelp = [this](HWND, const HelpRequest& r) {
      helpCalls_.push_back(std::to_string(r.Command) + ":" + std::to_string(r.Topic));
    };
    return s;
  }

  std::unique_ptr<PropertiesDialog> Open() {
    auto dialog = std::make_unique<PropertiesDialog>(program_.Get(), Services());
    EXPECT_TRUE(dialog->Open(nullptr));
    PumpPendingMessages();
    return dialog;
  }

  void TypeIntoField(PropertiesDialog& d, int box, const std::string& text) {
    test::TypeInto(d.Item(kFireBase + box), text);
  }
  std::string Fire(PropertiesDialog& d, int box) { return TextOf(d.Item(kFireBase + box)); }
  std::string Stored(const char* key) { return program_.Stored(Section(key), key); }

  // Every firework and colour value of the store, in box order.
  std::vector<std::string> StoredFieldValues() {
    std::vector<std::string> out;
    for (const SettingDef* def : FireworkBoxOrder()) out.push_back(Stored(def->key));
    for (const SettingDef* def : ColorOrder()) out.push_back(Stored(def->key));
    out.push_back(Stored("FireMultiMoment"));
    out.push_back(Stored("FireBurstShell"));
    return out;
  }

  test::DialogProgram program_;
  bool answer_ = false;
  std::string chosenPath_;
  std::vector<std::string> questions_, chooserCalls_, helpCalls_;
};

TEST_F(DialogProps, FirstOpeningStoresFactoryValuesOnceAndCancelKeepsThem) {
  ASSERT_EQ(Stored("AnimationType"), "<absent>");
  auto dialog = Open();
  EXPECT_EQ(TextOf(dialog->Handle()), "Glintora Fireworks");
  EXPECT_EQ(FindWindowA(nullptr, "Glintora Fireworks"), dialog->Handle());

  // Every field shows its factory value, and the store holds the same.
  for (const SettingDef* def : FireworkBoxOrder()) {
    const std::string shown = Fire(*dialog, def->boxIndex);
    EXPECT_DOUBLE_EQ(LeadingNumber(shown), LeadingNumber(def->defaultText)) << def->key;
    EXPECT_DOUBLE_EQ(LeadingNumber(Stored(def->key)), LeadingNumber(def->defaultText)) << def->key;
  }
  EXPECT_EQ(Stored("AnimationType"), "0");
  EXPECT_NE(Stored("FocalLength"), "<absent>");
  const auto afterOpen = StoredFieldValues();

  Click(dialog->Item(kDismiss));
  EXPECT_FALSE(dialog->IsOpen());
  EXPECT_EQ(StoredFieldValues(), afterOpen);
  EXPECT_NE(program_.Stored("General\\Main", "WindowSize"), "<absent>");

  // The second opening loads what is stored and resets nothing.
  RegWriteText(program_.StoreOf(), Section("FireWorks"), "FireWorks", "17");
  auto second = Open();
  EXPECT_EQ(Fire(*second, 0), "17");
  Click(second->Item(kDismiss));
  EXPECT_EQ(Stored("FireWorks"), "17");
}

TEST_F(DialogProps, ThemesFillTheFieldsAndNoneChangesNothing) {
  auto dialog = Open();
  HWND themes = dialog->Item(kTheme);
  EXPECT_EQ(SendMessageA(themes, CB_GETCOUNT, 0, 0), 14);
  TypeIntoField(*dialog, 0, "7");
  test::ChooseEntry(themes, 0);
  EXPECT_EQ(Fire(*dialog, 0), "7");

  test::ChooseEntry(themes, 1);
  EXPECT_EQ(Fire(*dialog, 0), "15");
  EXPECT_EQ(Fire(*dialog, 1), "800");
  EXPECT_EQ(SendMessageA(themes, CB_GETCURSEL, 0, 0), 1);  // the list keeps showing the theme
  Click(dialog->Item(kDismiss));
}

TEST_F(DialogProps, TypingAShareGivesWayInOrderAndAcceptStoresIt) {
  auto dialog = Open();
  const auto before = StoredFieldValues();
  const char* starts[7] = {"5", "20", "10", "10", "10", "10", "10"};
  for (int i = 0; i < 7; ++i) {
    SetWindowTextA(dialog->Item(kFireBase + kShareBoxes[i]), starts[i]);
  }
  test::ChooseEntry(dialog->Item(kExtras), 2);  // "Burst Config:  Multi-Burst"
  EXPECT_TRUE(IsWindowVisible(dialog->Item(kFireBase + 13)));
  EXPECT_FALSE(IsWindowVisible(dialog->Item(kFireBase + 16)));

  test::TypeInto(dialog->Item(kFireBase + 13), "6x0");  // the letter is refused
  const char* expected[7] = {"5", "60", "10", "10", "10", "5", "0"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Fire(*dialog, kShareBoxes[i]), expected[i]) << i;

  // Shells 15 caps the sparks per shell at 2000 while typing.
  SetWindowTextA(dialog->Item(kFireBase + 1), "9999");
  EXPECT_EQ(Fire(*dialog, 0), "3");
  TypeIntoField(*dialog, 0, "15");
  EXPECT_EQ(Fire(*dialog, 1), "2000");

  // Nothing is stored before Accept.
  EXPECT_EQ(StoredFieldValues(), before);
  Click(dialog->Item(kAccept));
  EXPECT_FALSE(dialog->IsOpen());
  EXPECT_TRUE(dialog->Accepted());
  const char* keys[7] = {"FireScintPct", "FireMultiPct", "FireBurstPct", "FireSparkPct",
                         "FireRingPct", "FireTwistPct", "FireDecayPct"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Stored(keys[i]), expected[i]) << keys[i];
  EXPECT_EQ(Stored("FireWorks"), "15");
  EXPECT_EQ(Stored("FireSparks"), "2000");
}

TEST_F(DialogProps, CancelAndExitStoreNothing) {
  auto dialog = Open();
  const auto before = StoredFieldValues();
  TypeIntoField(*dialog, 2, "77");
  Click(dialog->Item(kDismiss));
  EXPECT_EQ(StoredFieldValues(), before);
  EXPECT_FALSE(program_.Get().Run.QuitRequested);

  auto again = Open();
  TypeIntoField(*again, 2, "55");
  test::MenuCommand(again->Handle(), kMenuFile + 5);  // E&xit
  EXPECT_FALSE(again->IsOpen());
  EXPECT_TRUE(program_.Get().Run.QuitRequested);
  EXPECT_EQ(StoredFieldValues(), before);
}

TEST_F(DialogProps, ResetAsksAndOnYesShowsTheFactoryValues) {
  auto dialog = Open();
  SetWindowTextA(dialog->Item(kFireBase + 0), "33");
  SetWindowTextA(dialog->Item(kPixHueBase + 0), "3");

  answer_ = false;
  test::MenuCommand(dialog->Handle(), kMenuEdit + 0);
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_EQ(questions_[0],
            "Glintora Fireworks|Do you really want to reset the Properties back to the factory "
            "settings?");
  EXPECT_EQ(Fire(*dialog, 0), "33");

  answer_ = true;
  RegWriteText(program_.StoreOf(), kSectionAdvanced, "FocalLength", "4.5");
  test::MenuCommand(dialog->Handle(), kMenuEdit + 0);
  EXPECT_EQ(Fire(*dialog, 0), FindSetting("FireWorks")->defaultText);
  EXPECT_EQ(TextOf(dialog->Item(kPixHueBase + 0)), FindSetting("ColorRed")->defaultText);
  // The advanced values are reset in the store at once; the fields only when accepted.
  EXPECT_DOUBLE_EQ(LeadingNumber(Stored("FocalLength")), 1.0);
  const std::string storedShells = Stored("FireWorks");
  Click(dialog->Item(kDismiss));
  EXPECT_EQ(Stored("FireWorks"), storedShells);
}

TEST_F(DialogProps, TemplatesAreChosenOnceThenSavedAndOpenedInPlace) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  chosenPath_ = std::string(folder) + "glintora_dialog_test.glx";
  DeleteFileA(chosenPath_.c_str());

  auto dialog = Open();
  SetWindowTextA(dialog->Item(kFireBase + 0), "21");
  test::MenuCommand(dialog->Handle(), kMenuFile + 2);  // &Save Template
  ASSERT_EQ(chooserCalls_.size(), 1u);
  EXPECT_EQ(chooserCalls_[0], "save|Enter or Select Template to Save");
  SetWindowTextA(dialog->Item(kFireBase + 0), "22");
  test::MenuCommand(dialog->Handle(), kMenuFile + 2);
  EXPECT_EQ(chooserCalls_.size(), 1u);  // the same file, without asking

  std::ifstream in(chosenPath_);
  std::stringstream content;
  content << in.rdbuf();
  std::vector<std::string> sections;
  std::string line;
  bool shellsSaved = false;
  while (std::getline(content, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') sections.push_back(line);
    if (line == "FireWorks=22") shellsSaved = true;
  }
  EXPECT_EQ(sections, (std::vector<std::string>{"[Admin]", "[Advanced]", "[SoundFX]",
                                                 "[General]", "[PixelColor]", "[Fireworks]"}));
  EXPECT_TRUE(shellsSaved) << content.str();

  // Opening fills the fields and puts the advanced values in the store at once.
  SetWindowTextA(dialog->Item(kFireBase + 0), "50");
  const std::string focal = Stored("FocalLength");
  RegWriteText(program_.StoreOf(), kSectionAdvanced, "FocalLength", "7.5");
  test::MenuCommand(dialog->Handle(), kMenuFile + 0);
  EXPECT_EQ(chooserCalls_.back(), "open|Select Template to Open");
  EXPECT_EQ(Fire(*dialog, 0), "22");
  EXPECT_EQ(Stored("FocalLength"), focal);

  // A cancelled choice changes nothing.
  chosenPath_.clear();
  SetWindowTextA(dialog->Item(kFireBase + 0), "9");
  test::MenuCommand(dialog->Handle(), kMenuFile + 0);
  EXPECT_EQ(Fire(*dialog, 0), "9");
  Click(dialog->Item(kDismiss));
  DeleteFileA(program_.Get().TemplateFiles.CurrentTemplatePath.c_str());
}

TEST_F(DialogProps, FOneOpensTheFieldsTopicAndTheHelpMenuTheContents) {
  auto dialog = Open();
  SetFocus(dialog->Item(kFireBase + 1));
  test::PressKey(VK_F1);
  test::MenuCommand(dialog->Handle(), kMenuHelp + 0);
  test::MenuCommand(dialog->Handle(), kMenuHelp + 1);
  EXPECT_EQ(helpCalls_, (std::vector<std::string>{"1:1015", "3:0", "11:0"}));
  Click(dialog->Item(kDismiss));
}

// --- the preview ---

struct PreviewProbe {
  PropertiesDialog* dialog = nullptr;
  Program* program = nullptr;
  bool closeInstead = false;  // the close box rather than Esc
  int ticks = 0;
  int lit = -1;
  bool acceptEnabled = true, fieldEnabled = true, themeEnabled = true, menuGrayed = false;
  std::string caption;
};
PreviewProbe* g_probe = nullptr;  // a thread timer's procedure has no context of its own

void CALLBACK ProbePreview(HWND, UINT, UINT_PTR, DWORD) {
  PreviewProbe& p = *g_probe;
  if (++p.ticks == 4) {
    HWND dlg = p.dialog->Handle();
    p.lit = test::LitPixels(p.dialog->Item(kPicture));
    p.acceptEnabled = IsWindowEnabled(p.dialog->Item(kAccept));
    p.fieldEnabled = IsWindowEnabled(p.dialog->Item(kFireBase + 0));
    p.themeEnabled = IsWindowEnabled(p.dialog->Item(kTheme));
    p.menuGrayed = (GetMenuState(GetMenu(dlg), 0, MF_BYPOSITION) & MF_GRAYED) != 0;
    p.caption = TextOf(p.dialog->Item(kDispPreview));
    if (p.closeInstead) {
      PostMessageA(dlg, WM_CLOSE, 0, 0);
    } else {
      PostMessageA(GetFocus() ? GetFocus() : dlg, WM_KEYDOWN, VK_ESCAPE, 1);
    }
  }
  if (p.ticks > 60) p.program->Run.ShowInterrupted = true;  // never hang the suite
}

class DialogPreview : public DialogProps {
 protected:
  void RunPreview(PropertiesDialog& dialog, bool closeInstead) {
    probe_.dialog = &dialog;
    probe_.program = &program_.Get();
    probe_.closeInstead = closeInstead;
    g_probe = &probe_;
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, &ProbePreview);
    Click(dialog.Item(kDispPreview));  // returns when the preview has ended
    KillTimer(nullptr, timer);
    g_probe = nullptr;
  }
  PreviewProbe probe_;
};

TEST_F(DialogPreview, RunsInThePictureWithTheControlsDisabledAndEscStopsThenCloses) {
  auto dialog = Open();
  const auto before = StoredFieldValues();
  SetWindowTextA(dialog->Item(kFireBase + 0), "40");
  RunPreview(*dialog, false);

  EXPECT_LT(probe_.ticks, 60) << "the preview did not stop on Esc";
  EXPECT_GT(probe_.lit, 0) << "nothing was drawn in the picture box";
  EXPECT_EQ(probe_.caption, "Stop Preview");
  EXPECT_FALSE(probe_.acceptEnabled);
  EXPECT_FALSE(probe_.fieldEnabled);
  EXPECT_FALSE(probe_.themeEnabled);
  EXPECT_TRUE(probe_.menuGrayed);

  ASSERT_TRUE(dialog->IsOpen());
  EXPECT_FALSE(dialog->PreviewRunning());
  EXPECT_EQ(TextOf(dialog->Item(kDispPreview)), "Display Effects Preview");
  EXPECT_TRUE(IsWindowEnabled(dialog->Item(kAccept)));
  EXPECT_TRUE(IsWindowEnabled(dialog->Item(kFireBase + 0)));
  EXPECT_EQ(GetMenuState(GetMenu(dialog->Handle()), 0, MF_BYPOSITION) & MF_GRAYED, 0u);

  test::PressKey(VK_ESCAPE);  // now Esc is Cancel again
  EXPECT_FALSE(dialog->IsOpen());
  EXPECT_EQ(StoredFieldValues(), before);
}

TEST_F(DialogPreview, TheCloseBoxEndsThePreviewAndTheDialogWithoutStoring) {
  auto dialog = Open();
  const auto before = StoredFieldValues();
  SetWindowTextA(dialog->Item(kFireBase + 0), "40");
  RunPreview(*dialog, true);
  EXPECT_LT(probe_.ticks, 60);
  EXPECT_FALSE(dialog->IsOpen());
  EXPECT_EQ(StoredFieldValues(), before);
}

}  // namespace
}  // namespace glintora
