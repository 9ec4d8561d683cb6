// The properties dialog driven as a user drives it: texts typed into its fields, clicks, list
// choices and menu commands as messages; then the registry and the controls are read back.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "engine/show_events.h"
#include "harness.h"
#include "platform/win32/files/wide_text.h"
#include "platform/win32/dialogs/properties_dialog.h"
#include "settings/numbers.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"

namespace glintora {
namespace {

using namespace PropsIds;

using test::Click;
using test::TextOf;

// The sound of a show going on below the dialog (the application window's).
struct HeardEvents : ShowEventSink {
  int count = 0;
  void OnShowEvent(const ShowEvent&) override { ++count; }
};

class DialogProps : public ::testing::Test {
 protected:
  DialogProps() : program_("DialogProps") {}

  std::unique_ptr<PropertiesDialog> Open() {
    PropsServices s;
    s.AskYesNo = [this](HWND, const std::string& text, const std::string& title) {
      questions_.push_back(title + "|" + text);
      return answer_;
    };
    s.ChooseTemplate = [this](HWND, bool open, const std::string& title, const std::string&) {
      chooserCalls_.push_back((open ? "open|" : "save|") + title);
      return chosenPath_;
    };
    s.Warn = [this](HWND, const std::string& text, const std::string&) { warnings_.push_back(text); };
    s.ShowHelp = [this](HWND, const HelpRequest& r) {
      helpCalls_.push_back(std::to_string(r.Command) + ":" + std::to_string(r.Topic));
    };
    auto dialog = std::make_unique<PropertiesDialog>(program_.Get(), s);
    EXPECT_TRUE(dialog->Open(nullptr));
    PumpPendingMessages();
    return dialog;
  }

  HWND Field(PropertiesDialog& d, int box) { return d.Item(kFireBase + box); }
  std::string Fire(PropertiesDialog& d, int box) { return TextOf(Field(d, box)); }
  void Put(PropertiesDialog& d, int box, const char* text) { SetWindowTextA(Field(d, box), text); }
  std::string Stored(const char* key) { return program_.Stored(FindSetting(key)->section, key); }
  void Store(const char* key, const char* text) {
    RegWriteText(program_.StoreOf(), FindSetting(key)->section, key, text);
  }

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
  HeardEvents outer_;
  bool answer_ = false;
  std::string chosenPath_;
  std::vector<std::string> warnings_;
  std::vector<std::string> questions_, chooserCalls_, helpCalls_;
};

TEST_F(DialogProps, FirstOpeningStoresFactoryValuesOnceAndCancelKeepsThem) {
  ASSERT_EQ(Stored("AnimationType"), "<absent>");
  auto dialog = Open();
  EXPECT_EQ(TextOf(dialog->Handle()), "Glintora Fireworks");
  // Factory values in the last box and the store (every one is checked without windows).
  EXPECT_EQ(Fire(*dialog, 53), "80");
  EXPECT_EQ(Stored("FireDecayMLife"), "80");
  EXPECT_EQ(Stored("AnimationType"), "0");
  EXPECT_NE(Stored("FocalLength"), "<absent>");
  const auto afterOpen = StoredFieldValues();
  test::TypeInto(Field(*dialog, 2), "77");
  Click(dialog->Item(kDismiss));
  EXPECT_FALSE(dialog->IsOpen());
  EXPECT_EQ(StoredFieldValues(), afterOpen);
  EXPECT_NE(program_.Stored("General\\Main", "WindowSize"), "<absent>");

  // The second opening loads what is stored and resets nothing.
  Store("FireWorks", "17");
  auto second = Open();
  EXPECT_EQ(Fire(*second, 0), "17");
  Click(second->Item(kDismiss));
  EXPECT_EQ(Stored("FireWorks"), "17");
}

TEST_F(DialogProps, ThemesFillTheFieldsAndNoneChangesNothingAndFOneOpensTheTopic) {
  auto dialog = Open();
  HWND themes = dialog->Item(kTheme);
  EXPECT_EQ(SendMessageA(themes, CB_GETCOUNT, 0, 0), 14);
  test::TypeInto(Field(*dialog, 0), "7");
  test::ChooseEntry(themes, 0);
  EXPECT_EQ(Fire(*dialog, 0), "7");
  test::ChooseEntry(themes, 1);
  EXPECT_EQ(Fire(*dialog, 0), "15");
  EXPECT_EQ(Fire(*dialog, 1), "800");
  EXPECT_EQ(SendMessageA(themes, CB_GETCURSEL, 0, 0), 1);  // the list keeps showing the theme

  // F1 opens the focused field's topic; the help menu the contents and the index.
  SetFocus(Field(*dialog, 1));
  test::PressKey(VK_F1);
  test::MenuCommand(dialog->Handle(), kMenuHelp + 0);
  test::MenuCommand(dialog->Handle(), kMenuHelp + 1);
  // F1 on a menu item: the system asks the dialog for that item's help.
  HELPINFO info{sizeof info, HELPINFO_MENUITEM, kMenuEdit + 0, GetMenu(dialog->Handle()), 0, {}};
  SendMessageA(dialog->Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(helpCalls_, (std::vector<std::string>{"1:1015", "3:0", "11:0", "1:610"}));
  Click(dialog->Item(kDismiss));
}

TEST_F(DialogProps, TypingAShareGivesWayInOrderAndAcceptStoresIt) {
  // The burst-type percentages in box order, their start and what typing 60 leaves.
  const struct { int box; const char *key, *start, *after; } shares[] = {{11, "FireScintPct", "5", "5"},   {13, "FireMultiPct", "20", "60"},
                {16, "FireBurstPct", "10", "10"}, {25, "FireSparkPct", "10", "10"},
                {28, "FireRingPct", "10", "10"},  {31, "FireTwistPct", "10", "5"},
                {50, "FireDecayPct", "10", "0"}};
  auto dialog = Open();
  const auto before = StoredFieldValues();
  for (const auto& s : shares) Put(*dialog, s.box, s.start);
  test::ChooseEntry(dialog->Item(kExtras), 2);  // "Burst Config:  Multi-Burst"
  EXPECT_TRUE(IsWindowVisible(Field(*dialog, 13)));
  EXPECT_FALSE(IsWindowVisible(Field(*dialog, 16)));
  // Letters are refused, also those whose low byte is a digit: dotless i, dotted I, CJK.
  test::TypeInto(Field(*dialog, 13), "6x\u0131\u0130\u4E31\u4E30 0");
  for (const auto& s : shares) EXPECT_EQ(Fire(*dialog, s.box), s.after) << s.key;
  test::TypeInto(Field(*dialog, 2), "0");  // still being edited when Accept is pressed

  EXPECT_EQ(StoredFieldValues(), before) << "stored before Accept";
  test::PressKey(VK_RETURN);  // Enter: Accept is the default button
  EXPECT_FALSE(dialog->IsOpen());
  EXPECT_TRUE(dialog->Accepted());
  for (const auto& s : shares) EXPECT_EQ(Stored(s.key), s.after) << s.key;
  EXPECT_EQ(Stored("FireLength"), "1");  // clamped to 1..99
}

TEST_F(DialogProps, ResetAsksAndOnYesShowsTheFactoryValuesAndExitStoresNothing) {
  auto dialog = Open();
  Put(*dialog, 0, "33");
  SetWindowTextA(dialog->Item(kPixHueBase + 0), "3");
  test::MenuCommand(dialog->Handle(), kMenuEdit + 0);  // answered No
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_EQ(questions_[0],
            "Glintora Fireworks|Do you really want to reset the Properties back to the factory "
            "settings?");
  EXPECT_EQ(Fire(*dialog, 0), "33");

  answer_ = true;
  Store("FocalLength", "4.5");
  test::MenuCommand(dialog->Handle(), kMenuEdit + 0);
  EXPECT_EQ(Fire(*dialog, 0), "12");
  EXPECT_EQ(TextOf(dialog->Item(kPixHueBase + 0)), "100");
  // The advanced values are reset in the store at once; the fields only when accepted.
  EXPECT_DOUBLE_EQ(LeadingNumber(Stored("FocalLength")), 1.0);
  const auto before = StoredFieldValues();
  test::TypeInto(Field(*dialog, 2), "77");
  test::MenuCommand(dialog->Handle(), kMenuFile + 5);  // E&xit
  EXPECT_FALSE(dialog->IsOpen());
  EXPECT_TRUE(program_.Get().Run.QuitRequested);
  EXPECT_EQ(StoredFieldValues(), before);
}

TEST_F(DialogProps, TemplatesAreChosenOnceThenSavedAndOpenedInPlaceAndAFailedSaveSaysWhy) {
  test::TempFolder folder("Дмитрий Петров");
  chosenPath_ = folder.File("night.glx");
  auto dialog = Open();
  Put(*dialog, 0, "21");
  test::MenuCommand(dialog->Handle(), kMenuFile + 2);  // &Save Template
  ASSERT_EQ(chooserCalls_, std::vector<std::string>{"save|Enter or Select Template to Save"});
  Put(*dialog, 0, "22");
  test::MenuCommand(dialog->Handle(), kMenuFile + 2);
  EXPECT_EQ(chooserCalls_.size(), 1u);  // the same file, without asking
  EXPECT_NE(test::ReadBytes(chosenPath_).find("\r\nFireWorks=22\r\n"), std::string::npos);

  // Opening fills the fields and puts the advanced values in the store at once.
  Put(*dialog, 0, "50");
  const std::string focal = Stored("FocalLength");
  Store("FocalLength", "7.5");
  test::MenuCommand(dialog->Handle(), kMenuFile + 0);
  EXPECT_EQ(chooserCalls_.back(), "open|Select Template to Open");
  EXPECT_EQ(Fire(*dialog, 0), "22");
  EXPECT_EQ(Stored("FocalLength"), focal);

  chosenPath_.clear();  // a cancelled choice changes nothing
  Put(*dialog, 0, "9");
  test::MenuCommand(dialog->Handle(), kMenuFile + 0);
  EXPECT_EQ(Fire(*dialog, 0), "9");
  EXPECT_EQ(warnings_, std::vector<std::string>{});

  // A read-only file: the warning names it and the reason, and the file stays as it was.
  chosenPath_ = folder.File("Ночь.glx");
  const std::string old = "[Fireworks]\r\nFireWorks=5\r\n";
  test::WriteBytes(chosenPath_, old);
  ASSERT_TRUE(SetFileAttributesW(Widen(chosenPath_).c_str(), FILE_ATTRIBUTE_READONLY));
  test::MenuCommand(dialog->Handle(), kMenuFile + 3);  // Save Template &As
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_NE(warnings_[0].find(chosenPath_), std::string::npos) << warnings_[0];
  EXPECT_NE(warnings_[0].find("read-only"), std::string::npos) << warnings_[0];
  EXPECT_EQ(test::ReadBytes(chosenPath_), old);
  SetFileAttributesW(Widen(chosenPath_).c_str(), FILE_ATTRIBUTE_NORMAL);
  Click(dialog->Item(kDismiss));
}

// The preview is watched from a thread timer, which has no context of its own.
std::function<void()> g_tick;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { g_tick(); }

TEST_F(DialogProps, PreviewRunsInThePictureWithTheControlsDisabledUntilEscTheCloseBoxOrLogOff) {
  program_.Get().Engine.Events = &outer_;
  enum class End { Esc, CloseBox, LogOff };
  const struct { End end; const char* name; const char* sound; } rows[] = {
      {End::Esc, "Esc", "0"}, {End::CloseBox, "close box", "1"}, {End::LogOff, "log-off", "0"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    RegWriteText(program_.StoreOf(), "SoundFX", "SoundFX_ON", row.sound);
    auto dialog = Open();
    HWND dlg = dialog->Handle();
    // Accept, a field, the themes and the first menu.
    auto enabled = [&] {
      return std::vector<bool>{IsWindowEnabled(dialog->Item(kAccept)) != FALSE,
                               IsWindowEnabled(Field(*dialog, 0)) != FALSE,
                               IsWindowEnabled(dialog->Item(kTheme)) != FALSE,
                               !(GetMenuState(GetMenu(dlg), 0, MF_BYPOSITION) & MF_GRAYED)};
    };
    const auto before = StoredFieldValues();
    Put(*dialog, 0, "40");
    int ticks = 0;
    long lit = -1;
    std::vector<bool> during;
    std::string caption, placedAtLogOff;
    ShowEventSink* sinkDuring = &outer_;
    g_tick = [&] {
      if (++ticks == 4) {
        RECT picture{};
        GetClientRect(dialog->Item(kPicture), &picture);
        lit = test::LitPixels(dialog->Item(kPicture), picture);
        during = enabled();
        caption = TextOf(dialog->Item(kDispPreview));
        sinkDuring = program_.Get().Engine.Events;
        if (row.end == End::CloseBox) {
          PostMessageA(dlg, WM_CLOSE, 0, 0);
        } else if (row.end == End::Esc) {
          PostMessageA(GetFocus() ? GetFocus() : dlg, WM_KEYDOWN, VK_ESCAPE, 1);
        } else {
          // The process may end as soon as the session's end is answered: the placement of a
          // dialog moved during the preview is stored by then.
          SetWindowPos(dlg, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
          EXPECT_NE(SendMessageA(dlg, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0);
          SendMessageA(dlg, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
          placedAtLogOff = program_.Stored("General\\Main", "WindowSize").substr(0, 10);
        }
      }
      if (ticks > 60) program_.Get().Run.ShowInterrupted = true;  // never hang the suite
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, &Tick);
    Click(dialog->Item(kDispPreview));  // returns when the preview has ended
    KillTimer(nullptr, timer);

    EXPECT_LT(ticks, 60) << "the preview did not stop";
    EXPECT_GT(lit, 0) << "nothing was drawn in the picture box";
    EXPECT_EQ(caption, "Stop Preview");
    EXPECT_EQ(during, std::vector<bool>(4, false));
    // The preview's sound, on or off, is its own: the show below hears nothing of it.
    EXPECT_NE(sinkDuring, &outer_);
    EXPECT_EQ(outer_.count, 0);
    if (row.end == End::Esc) {  // Esc stops the preview only
      ASSERT_TRUE(dialog->IsOpen());
      EXPECT_FALSE(dialog->PreviewRunning());
      EXPECT_EQ(TextOf(dialog->Item(kDispPreview)), "Display Effects Preview");
      EXPECT_EQ(enabled(), std::vector<bool>(4, true));
      test::PressKey(VK_ESCAPE);  // now Esc is Cancel again
    }
    if (row.end == End::LogOff) {
      EXPECT_EQ(placedAtLogOff, "0060000450");  // 40, 30 in twips
    }
    EXPECT_FALSE(dialog->IsOpen());
    EXPECT_EQ(StoredFieldValues(), before);
  }
  program_.Get().Engine.Events = nullptr;
}

}  // namespace
}  // namespace glintora
