// The properties dialog driven as a user drives it: texts typed into its fields, clicks, list
// choices and menu commands as messages; then the registry and the controls are read back.

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
using Strings = std::vector<std::string>;

// The sound of a show going on below the dialog (the application window's).
struct HeardEvents : ShowEventSink {
  int count = 0;
  void OnShowEvent(const ShowEvent&) override { ++count; }
};

class DialogProps : public ::testing::Test {
 protected:
  DialogProps() : program_("DialogProps") {}

  void Open() {
    PropsServices s;
    s.AskYesNo = [this](HWND, const std::string& text, const std::string& title) {
      calls_.push_back(title + "|" + text);
      return answer_;
    };
    s.ChooseTemplate = [this](HWND, bool open, const std::string& title, const std::string&) {
      calls_.push_back((open ? "open|" : "save|") + title);
      return chosenPath_;
    };
    s.Warn = [this](HWND, const std::string& text, const std::string&) { warnings_.push_back(text); };
    s.ShowHelp = [this](HWND, const HelpRequest& r) {
      calls_.push_back(std::to_string(r.Command) + ":" + std::to_string(r.Topic));
    };
    d_ = std::make_unique<PropertiesDialog>(program_.Get(), s);
    EXPECT_TRUE(d_->Open(nullptr));
    PumpPendingMessages();
    calls_.clear();
  }

  HWND Field(int box) { return d_->Item(kFireBase + box); }
  std::string Fire(int box) { return TextOf(Field(box)); }
  void Put(int box, const char* text) { SetWindowTextA(Field(box), text); }
  void Menu(int id) { SendMessageA(d_->Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  std::string Stored(const char* key) { return program_.Stored(FindSetting(key)->section, key); }
  void Store(const char* key, const char* text) {
    RegWriteText(program_.StoreOf(), FindSetting(key)->section, key, text);
  }

  // Every firework and colour value of the store, in box order.
  Strings StoredFieldValues() {
    Strings out{Stored("FireMultiMoment"), Stored("FireBurstShell")};
    for (const SettingDef* def : FireworkBoxOrder()) out.push_back(Stored(def->key));
    for (const SettingDef* def : ColorOrder()) out.push_back(Stored(def->key));
    return out;
  }

  test::DialogProgram program_;
  HeardEvents outer_;
  std::unique_ptr<PropertiesDialog> d_;
  bool answer_ = false;
  std::string chosenPath_;
  Strings warnings_, calls_;
};

// The values' rules are checked without windows; here they reach the controls and the store.
TEST_F(DialogProps, CancelKeepsTheStoreAcceptStoresTheFieldsAsTypedAndGivenWay) {
  ASSERT_EQ(Stored("AnimationType"), "<absent>");
  Open();
  EXPECT_EQ(TextOf(d_->Handle()), "Glintora Fireworks");
  // The first opening stores the factory values, shown in the boxes.
  EXPECT_EQ(Fire(53) + "/" + Stored("FireDecayMLife") + "/" + Stored("AnimationType"), "80/80/0");
  const auto afterOpen = StoredFieldValues();
  test::TypeInto(Field(2), "77");
  Click(d_->Item(kDismiss));
  EXPECT_FALSE(d_->IsOpen());
  EXPECT_EQ(StoredFieldValues(), afterOpen);
  EXPECT_NE(program_.Stored("General\\Main", "WindowSize"), "<absent>");

  // The next opening loads what is stored. The burst-type percentages: their start and what
  // typing 60 leaves.
  Store("FireWorks", "17");
  const struct { int box; const char *key, *start, *after; } shares[] = {
      {11, "FireScintPct", "5", "5"}, {13, "FireMultiPct", "20", "60"},
      {31, "FireTwistPct", "10", "5"}, {50, "FireDecayPct", "10", "0"}};
  Open();
  EXPECT_EQ(Fire(0), "17");
  for (const auto& s : shares) Put(s.box, s.start);
  test::ChooseEntry(d_->Item(kExtras), 2);  // "Burst Config:  Multi-Burst"
  EXPECT_TRUE(IsWindowVisible(Field(13)) && !IsWindowVisible(Field(16)));
  // Letters are refused, also those whose low byte is a digit: dotless i, dotted I, CJK.
  test::TypeInto(Field(13), "6x\u0131\u0130\u4E31\u4E30 0");
  for (const auto& s : shares) EXPECT_EQ(Fire(s.box), s.after) << s.key;
  test::TypeInto(Field(2), "0");  // still being edited when Accept is pressed
  EXPECT_EQ(Stored("FireMultiPct"), "20") << "stored before Accept";
  test::PressKey(VK_RETURN);  // Enter: Accept is the default button
  EXPECT_TRUE(!d_->IsOpen() && d_->Accepted());
  for (const auto& s : shares) EXPECT_EQ(Stored(s.key), s.after) << s.key;
  EXPECT_EQ(Stored("FireLength"), "1");  // clamped to 1..99
}

TEST_F(DialogProps, ThemesResetHelpAndExitFromTheMenusAndLists) {
  Open();
  HWND themes = d_->Item(kTheme);
  EXPECT_EQ(SendMessageA(themes, CB_GETCOUNT, 0, 0), 14);
  test::TypeInto(Field(0), "7");
  test::ChooseEntry(themes, 0);  // none
  EXPECT_EQ(Fire(0), "7");
  test::ChooseEntry(themes, 1);
  EXPECT_EQ(Fire(0) + "/" + Fire(1), "15/800");
  EXPECT_EQ(SendMessageA(themes, CB_GETCURSEL, 0, 0), 1);  // the list keeps showing the theme

  // F1 opens the focused field's topic; the help menu the contents and the index.
  SetFocus(Field(1));
  test::PressKey(VK_F1);
  Menu(kMenuHelp + 0);
  Menu(kMenuHelp + 1);
  // F1 on a menu item: the system asks the dialog for that item's help.
  HELPINFO info{sizeof info, HELPINFO_MENUITEM, kMenuEdit + 0, GetMenu(d_->Handle()), 0, {}};
  SendMessageA(d_->Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(calls_, (Strings{"1:1015", "3:0", "11:0", "1:610"}));

  calls_.clear();
  SetWindowTextA(d_->Item(kPixHueBase + 0), "3");
  Menu(kMenuEdit + 0);  // answered No
  EXPECT_EQ(calls_, Strings{"Glintora Fireworks|Do you really want to reset the Properties back "
                            "to the factory settings?"});
  EXPECT_EQ(Fire(0), "15");
  answer_ = true;
  Store("FocalLength", "4.5");
  Menu(kMenuEdit + 0);
  EXPECT_EQ(Fire(0) + "/" + TextOf(d_->Item(kPixHueBase + 0)), "12/100");
  // The advanced values are reset in the store at once; the fields only when accepted.
  EXPECT_DOUBLE_EQ(LeadingNumber(Stored("FocalLength")), 1.0);
  const auto before = StoredFieldValues();
  Menu(kMenuFile + 5);  // E&xit
  EXPECT_TRUE(!d_->IsOpen() && program_.Get().Run.QuitRequested);
  EXPECT_EQ(StoredFieldValues(), before);
}

TEST_F(DialogProps, TemplatesAreChosenOnceThenSavedAndOpenedInPlaceAndAFailedSaveSaysWhy) {
  test::TempFolder folder("Дмитрий Петров");
  chosenPath_ = folder.File("night.glx");
  Open();
  Put(0, "21");
  Menu(kMenuFile + 2);  // &Save Template
  Put(0, "22");
  Menu(kMenuFile + 2);  // the same file, without asking
  EXPECT_EQ(calls_, Strings{"save|Enter or Select Template to Save"});
  EXPECT_NE(test::ReadBytes(chosenPath_).find("\r\nFireWorks=22\r\n"), std::string::npos);

  // Opening fills the fields and puts the advanced values in the store at once; a cancelled
  // choice changes nothing.
  const std::string focal = Stored("FocalLength");
  Store("FocalLength", "7.5");
  for (const char* chosen : {"", "night.glx"}) {
    chosenPath_ = *chosen ? folder.File(chosen) : "";
    Put(0, "9");
    Menu(kMenuFile + 0);
    EXPECT_EQ(calls_.back(), "open|Select Template to Open");
    EXPECT_EQ(Fire(0) + "/" + Stored("FocalLength"), *chosen ? "22/" + focal : "9/7.5");
  }
  EXPECT_EQ(warnings_, Strings{});

  // A read-only file: the warning names it and the reason, and the file stays as it was.
  chosenPath_ = folder.File("Ночь.glx");
  const std::string old = "[Fireworks]\r\nFireWorks=5\r\n";
  test::WriteBytes(chosenPath_, old);
  ASSERT_TRUE(SetFileAttributesW(Widen(chosenPath_).c_str(), FILE_ATTRIBUTE_READONLY));
  Menu(kMenuFile + 3);  // Save Template &As
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_NE(warnings_[0].find(chosenPath_), std::string::npos) << warnings_[0];
  EXPECT_NE(warnings_[0].find("read-only"), std::string::npos) << warnings_[0];
  EXPECT_EQ(test::ReadBytes(chosenPath_), old);
  SetFileAttributesW(Widen(chosenPath_).c_str(), FILE_ATTRIBUTE_NORMAL);
  Click(d_->Item(kDismiss));
}

// The preview is watched from a thread timer, which has no context of its own.
std::function<void()> g_tick;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { g_tick(); }

TEST_F(DialogProps, PreviewRunsInThePictureWithTheControlsDisabledUntilEscTheCloseBoxOrLogOff) {
  program_.Get().Engine.Events = &outer_;
  // What ends it: Esc to the focus, the close box, the session's end.
  const struct { UINT message; WPARAM key; const char* sound; } rows[] = {
      {WM_KEYDOWN, VK_ESCAPE, "0"}, {WM_CLOSE, 0, "1"}, {WM_QUERYENDSESSION, 0, "0"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    RegWriteText(program_.StoreOf(), "SoundFX", "SoundFX_ON", row.sound);
    Open();
    HWND dlg = d_->Handle();
    // Accept, a field, the themes and the first menu.
    auto enabled = [&] {
      return std::vector<bool>{IsWindowEnabled(d_->Item(kAccept)) != FALSE,
                               IsWindowEnabled(Field(0)) != FALSE,
                               IsWindowEnabled(d_->Item(kTheme)) != FALSE,
                               !(GetMenuState(GetMenu(dlg), 0, MF_BYPOSITION) & MF_GRAYED)};
    };
    const auto before = StoredFieldValues();
    Put(0, "40");
    int ticks = 0;
    long lit = -1;
    std::vector<bool> during;
    std::string caption, placedAtLogOff;
    ShowEventSink* sinkDuring = &outer_;
    g_tick = [&] {
      if (++ticks == 4) {
        RECT picture{};
        GetClientRect(d_->Item(kPicture), &picture);
        lit = test::LitPixels(d_->Item(kPicture), picture);
        during = enabled();
        caption = TextOf(d_->Item(kDispPreview));
        sinkDuring = program_.Get().Engine.Events;
        if (row.message != WM_QUERYENDSESSION) {
          PostMessageA(row.key && GetFocus() ? GetFocus() : dlg, row.message, row.key, 1);
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
    Click(d_->Item(kDispPreview));  // returns when the preview has ended
    KillTimer(nullptr, timer);

    EXPECT_LT(ticks, 60) << "the preview did not stop";
    EXPECT_GT(lit, 0) << "nothing was drawn in the picture box";
    EXPECT_EQ(caption, "Stop Preview");
    EXPECT_EQ(during, std::vector<bool>(4, false));
    // The preview's sound, on or off, is its own: the show below hears nothing of it.
    EXPECT_NE(sinkDuring, &outer_);
    EXPECT_EQ(outer_.count, 0);
    if (row.key == VK_ESCAPE) {  // Esc stops the preview only
      ASSERT_TRUE(d_->IsOpen());
      EXPECT_FALSE(d_->PreviewRunning());
      EXPECT_EQ(TextOf(d_->Item(kDispPreview)), "Display Effects Preview");
      EXPECT_EQ(enabled(), std::vector<bool>(4, true));
      test::PressKey(VK_ESCAPE);  // now Esc is Cancel again
    }
    if (row.message == WM_QUERYENDSESSION) {
      EXPECT_EQ(placedAtLogOff, "0060000450");  // 40, 30 in twips
    }
    EXPECT_FALSE(d_->IsOpen());
    EXPECT_EQ(StoredFieldValues(), before);
  }
  program_.Get().Engine.Events = nullptr;
}

}  // namespace
}  // namespace glintora
