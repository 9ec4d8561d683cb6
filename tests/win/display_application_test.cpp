// The application window from outside (the program copied as x.exe with no x.scr beside it),
// with keys and clicks given through the X server: keys and clicks open the properties dialog,
// F5 starts a fresh run with the settings reloaded, Esc, Alt+F4 and the session's end end the
// program, and a sizable window keeps its placement.

#include "harness.h"

namespace glintora {
namespace {

using test::Eventually;
using test::kSaverCaption;
using test::ScrProcess;

using test::Setting;

class Application : public test::ScrTest {
 protected:
  void SetUp() override {
    ScrTest::SetUp();
    exe_ = folder_.File("x.exe");
    ASSERT_TRUE(CopyFileA(scr_.c_str(), exe_.c_str(), FALSE));
  }
  void TearDown() override {
    for (const char* key : {"WindowState", "WindowSize"})
      for (const char* section : {"General", "General\\Main"}) test::RemoveSetting(section, key);
    test::RemoveSetting("Advanced", "Adv_WinResize");
    test::RemoveSetting("General", "AnimationType");
    RegDeleteTreeA(HKEY_CURRENT_USER, kWineAppKey);
  }
  static constexpr const char* kWineAppKey = "Software\\Wine\\AppDefaults\\x.exe\\X11 Driver";

  // A sizable window stored at 100,100, 400 by 300.
  HWND StartSizable(ScrProcess& p) {
    test::PutSetting("Advanced", "Adv_WinResize", "1");
    test::PutSetting("General", "WindowState", "0");
    test::PutSetting("General", "WindowSize", "01500015000600004500");
    // Without it the store is new to the properties dialog, which writes the factory values.
    test::PutSetting("General", "AnimationType", "0");
    // With no window manager on the test display, Wine restores a maximised managed window at
    // some later configure event; an unmanaged window keeps the state the program gives it.
    RegSetKeyValueA(HKEY_CURRENT_USER, kWineAppKey, "Managed", REG_SZ, "N", 2);
    return Start(p);
  }
  HWND Start(ScrProcess& p) { return p.Start(exe_, "") ? p.WaitForWindow(kSaverCaption) : nullptr; }

  // Keys and clicks through the X server, as a keyboard and a mouse give them, once the window
  // has the focus. Wine gives no handle to a Unix process: the caller waits for what they do.
  void Input(HWND window, const std::string& xdotool) {
    ASSERT_TRUE(Eventually([&] { return GetForegroundWindow() == window; })) << "not in front";
    ASSERT_TRUE(ScrProcess().Start("Z:\\usr\\bin\\xdotool", xdotool)) << xdotool;
  }

  // The input opens the modal properties dialog; closing it leaves the program running.
  void PropertiesComeAndGo(ScrProcess& p, HWND window, const std::string& xdotool) {
    SCOPED_TRACE(xdotool);
    Input(window, xdotool);
    HWND dialog = p.WaitForWindow(test::kPropertiesCaption);
    ASSERT_NE(dialog, nullptr) << "no properties dialog";
    EXPECT_TRUE(Eventually([&] { return !IsWindowEnabled(window); })) << "not modal";
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Eventually([&] { return !IsWindow(dialog) && IsWindowEnabled(window); }));
    EXPECT_TRUE(p.Running());
  }

  test::TempFolder folder_{"display-app"};
  std::string exe_;
};

TEST_F(Application, KeysOpenTheDialogF5ReloadsEscEnds) {
  test::PutSetting("Advanced", "Adv_WinResize", "0");
  ScrProcess p;
  ASSERT_TRUE(p.Start(exe_, ""));
  HWND window = p.WaitForWindow("");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(Eventually([&] { return IsZoomed(window) != FALSE; }));
  const RECT rect = test::ScreenRect(window);
  EXPECT_TRUE(Eventually([&] { return test::LitPixels(nullptr, rect) > 0; }));

  // Alt alone and F10 are keys like the others, not the way into the system menu.
  for (const char* keys : {"key a", "key alt", "key F10"}) PropertiesComeAndGo(p, window, keys);
  EXPECT_EQ(test::TextOf(window), "");
  // F5 runs afresh with the settings as they now stand: the sizable option gives the caption.
  test::PutSetting("Advanced", "Adv_WinResize", "1");
  Input(window, "key F5");
  EXPECT_TRUE(Eventually([&] { return test::TextOf(window) == kSaverCaption; }));

  Input(window, "key Escape");
  EXPECT_TRUE(p.WaitForExit());
  EXPECT_EQ(p.ExitCode(), 0u);
}

// Keeps the answers to messages sent without waiting.
void CALLBACK Answered(HWND, UINT, ULONG_PTR answers, LRESULT result) {
  reinterpret_cast<std::vector<LRESULT>*>(answers)->push_back(result);
}

// A sizable window where it was stored. The user logs off with the properties dialog open: the
// system asks every window, then tells each that the session ends, and may end the process as
// soon as a window has answered. So each window has stored where the user moved it by each
// answer, and then closes as its close does.
TEST_F(Application, SizableWindowAndItsDialogStoreTheirPlacesAtLogOffAndAsTheUserSizesIt) {
  ScrProcess p;
  HWND window = StartSizable(p);
  ASSERT_NE(window, nullptr);
  Eventually([&] { return test::ScreenRect(window).left == 100; });
  EXPECT_EQ(test::Placed(window), (std::vector<LONG>{100, 100, 400, 300}));
  Input(window, "mousemove 300 250 click 1");
  HWND dialog = p.WaitForWindow(test::kPropertiesCaption);
  ASSERT_NE(dialog, nullptr) << "no properties dialog";
  const struct { HWND window; const char* section; int x, y; const char* place; } moves[] = {
      // Moves alone store nothing; the session's end must. Places in twips.
      {window, "General", 200, 150, "0300002250"}, {dialog, "General\\Main", 40, 30, "0060000450"},
      {window, "General", 220, 160, "0330002400"}, {dialog, "General\\Main", 60, 45, "0090000675"}};
  auto place = [](const char* section) { return Setting(section, "WindowSize").substr(0, 10); };
  for (const auto& move : moves) {
    SCOPED_TRACE(move.section);
    const UINT message = &move < moves + 2 ? WM_QUERYENDSESSION : WM_ENDSESSION;
    SetWindowPos(move.window, nullptr, move.x, move.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_NE(place(move.section), move.place);
    std::vector<LRESULT> answers;
    ASSERT_TRUE(SendMessageCallbackA(move.window, message, message == WM_ENDSESSION, ENDSESSION_LOGOFF,
                                     Answered, reinterpret_cast<ULONG_PTR>(&answers)));
    EXPECT_TRUE(Eventually([&] { return !answers.empty(); })) << "no answer to " << message;
    if (message == WM_QUERYENDSESSION) {
      EXPECT_EQ(answers, std::vector<LRESULT>{TRUE});
    }
    EXPECT_EQ(place(move.section), move.place) << "not stored by the answer to " << message;
  }
  EXPECT_TRUE(p.WaitForExit());

  // Sized and then maximised by the user, the window stays so through the fresh runs that fit
  // the show to it, Alt+F4 closes it as it stands, and it opens again maximised.
  ScrProcess again, third;
  window = Start(again);
  ASSERT_NE(window, nullptr);
  SetWindowPos(window, nullptr, 120, 90, 500, 350, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(Eventually([&] { return Setting("General", "WindowSize") == "01800013500750005250"; }))
      << Setting("General", "WindowSize");
  ShowWindow(window, SW_MAXIMIZE);
  EXPECT_TRUE(Eventually([&] { return Setting("General", "WindowState") == "2"; }));
  EXPECT_TRUE(IsZoomed(window));
  Input(window, "key alt+F4");
  EXPECT_TRUE(again.WaitForExit());
  EXPECT_EQ(Setting("General", "WindowState"), "2");
  window = Start(third);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(Eventually([&] { return IsZoomed(window) != FALSE; })) << "not maximised";
  Input(window, "key Escape");
  EXPECT_TRUE(third.WaitForExit());
}

}  // namespace
}  // namespace glintora
