// The application window from outside (the program copied as x.exe with no x.scr beside it),
// with keys and clicks given through the X server: keys and clicks open the properties dialog,
// F5 starts a fresh run with the settings reloaded, Esc, Alt+F4 and the session's end end the
// program, and a sizable window keeps its placement.
#include <gtest/gtest.h>

#include "harness.h"
#include "settings/store_ops.h"

namespace glintora {
namespace {

using test::kSaverCaption;
using test::ScrProcess;

class Application : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string scr = test::ScrPath();
    ASSERT_FALSE(scr.empty());
    exe_ = folder_.File("x.exe");
    ASSERT_TRUE(CopyFileA(scr.c_str(), exe_.c_str(), FALSE));
  }
  void TearDown() override {
    test::RemoveSetting("Advanced", "Adv_WinResize");
    test::RemoveSetting("General\\Main", "WindowState");
    test::RemoveSetting("General\\Main", "WindowSize");
    test::RemoveSetting("General", "WindowState");
    test::RemoveSetting("General", "WindowSize");
    test::RemoveSetting("General", "AnimationType");
    RegDeleteTreeA(HKEY_CURRENT_USER, kWineAppKey);
  }
  static constexpr const char* kWineAppKey = "Software\\Wine\\AppDefaults\\x.exe\\X11 Driver";

  // A sizable window stored at 100,100, 400 by 300.
  void StartSizable(ScrProcess& p, HWND& window) {
    test::PutSetting("Advanced", "Adv_WinResize", "1");
    test::PutSetting("General", "WindowState", "0");
    test::PutSetting("General", "WindowSize", "01500015000600004500");
    // Without it the store is new to the properties dialog, which writes the factory values.
    test::PutSetting("General", "AnimationType", "0");
    // With no window manager on the test display, Wine restores a maximised managed window at
    // some later configure event; an unmanaged window keeps the state the program gives it.
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kWineAppKey, "Managed", REG_SZ, "N", 2),
              ERROR_SUCCESS);
    ASSERT_TRUE(p.Start(exe_, ""));
    window = p.WaitForWindow(kSaverCaption, test::kPatience);
    ASSERT_NE(window, nullptr);
  }

  // Keys and clicks as a keyboard and a mouse give them, once the window has the focus.
  void Input(HWND window, const std::string& xdotool) {
    ASSERT_TRUE(test::PumpUntil(test::kPatience, [&] { return GetForegroundWindow() == window; }))
        << "the window is not in front";
    ASSERT_TRUE(test::XInput(xdotool)) << xdotool;
  }

  // The input opens the modal properties dialog; closing it leaves the program running.
  void PropertiesComeAndGo(ScrProcess& p, HWND window, const std::string& xdotool) {
    SCOPED_TRACE(xdotool);
    Input(window, xdotool);
    HWND dialog = p.WaitForWindow(test::kPropertiesCaption, test::kPatience);
    ASSERT_NE(dialog, nullptr) << "no properties dialog";
    EXPECT_TRUE(test::PumpUntil(test::kPatience, [&] { return !IsWindowEnabled(window); })) << "not modal";
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(test::PumpUntil(test::kPatience, [&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(test::PumpUntil(test::kPatience, [&] { return IsWindowEnabled(window) != FALSE; }));
    EXPECT_TRUE(p.Running());
  }

  test::TempFolder folder_{"display-app"};
  std::string exe_;
};

TEST_F(Application, KeysOpenTheDialogF5ReloadsEscEnds) {
  test::PutSetting("Advanced", "Adv_WinResize", "0");
  ScrProcess p;
  ASSERT_TRUE(p.Start(exe_, ""));
  HWND window = p.WaitForWindow("", test::kPatience);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(test::PumpUntil(test::kPatience, [&] { return IsZoomed(window) != FALSE; }));
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_TRUE(test::PumpUntil(test::kPatience, [&] { return test::LitPixels(nullptr, rect) > 0; }));

  // Alt alone and F10 are keys like the others, not the way into the system menu.
  for (const char* keys : {"key a", "key alt", "key F10"}) PropertiesComeAndGo(p, window, keys);
  EXPECT_EQ(test::TextOf(window), "");
  // F5 runs afresh with the settings as they now stand: the sizable option gives the caption.
  test::PutSetting("Advanced", "Adv_WinResize", "1");
  Input(window, "key F5");
  EXPECT_TRUE(test::PumpUntil(test::kPatience, [&] { return test::TextOf(window) == kSaverCaption; }));

  Input(window, "key Escape");
  EXPECT_TRUE(p.WaitForExit(test::kPatience));
  EXPECT_EQ(p.ExitCode(), 0u);
}

TEST_F(Application, SizableWindowStaysAsTheUserSizesItAndReopensMaximised) {
  ScrProcess p;
  HWND window = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartSizable(p, window));
  RECT rect{};
  test::PumpUntil(test::kPatience, [&] { return GetWindowRect(window, &rect) && rect.left == 100; });
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 100);
  EXPECT_EQ(rect.right - rect.left, 400);
  EXPECT_EQ(rect.bottom - rect.top, 300);

  PropertiesComeAndGo(p, window, "mousemove 300 250 click 1");

  // Sized and then maximised by the user, the window stays so through the fresh runs that fit
  // the show to it, and Alt+F4 closes it as it stands.
  RegistryStore store;
  auto stored = [&](const char* key) { return RegReadText(store, "General", key, "?"); };
  SetWindowPos(window, nullptr, 120, 90, 500, 350, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(test::PumpUntil(test::kPatience,
                              [&] { return stored("WindowSize") == "01800013500750005250"; }))
      << stored("WindowSize");
  ShowWindow(window, SW_MAXIMIZE);
  EXPECT_TRUE(test::PumpUntil(test::kPatience, [&] { return stored("WindowState") == "2"; }));
  EXPECT_TRUE(IsZoomed(window));
  Input(window, "key alt+F4");
  EXPECT_TRUE(p.WaitForExit(test::kPatience));
  EXPECT_EQ(stored("WindowState"), "2");

  ScrProcess again;
  ASSERT_TRUE(again.Start(exe_, ""));
  window = again.WaitForWindow(kSaverCaption, test::kPatience);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(test::PumpUntil(test::kPatience, [&] { return IsZoomed(window) != FALSE; }))
      << "not maximised";

  Input(window, "key Escape");
  EXPECT_TRUE(again.WaitForExit(test::kPatience));
}

// The user logs off with the properties dialog open: the system asks every window, then tells
// each that the session ends, and may end the process as soon as a window has answered. Both
// windows close as their close does, and each stores where the user moved it by then.
TEST_F(Application, LogOffClosesTheWindowAndTheOpenDialogAndEachStoresItsPlace) {
  ScrProcess p;
  HWND window = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartSizable(p, window));
  Input(window, "mousemove 300 250 click 1");
  HWND dialog = p.WaitForWindow(test::kPropertiesCaption, test::kPatience);
  ASSERT_NE(dialog, nullptr) << "no properties dialog";
  // Moves alone store nothing; the session's end must.
  SetWindowPos(window, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(dialog, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RegistryStore store;
  const struct { HWND window; const char* section; const char* place; } rows[] = {
      {window, "General", "0300002250"}, {dialog, "General\\Main", "0060000450"}};  // in twips
  for (const auto& row : rows) {
    SCOPED_TRACE(row.section);
    ASSERT_NE(RegReadText(store, row.section, "WindowSize", "").substr(0, 10), row.place);
    DWORD_PTR agreed = 0;
    EXPECT_TRUE(SendMessageTimeoutA(row.window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                    SMTO_NORMAL, test::kPatience, &agreed));
    EXPECT_NE(agreed, 0u);
  }
  for (const auto& row : rows) {
    SCOPED_TRACE(row.section);
    EXPECT_TRUE(SendMessageTimeoutA(row.window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF,
                                    SMTO_NORMAL, test::kPatience, nullptr));
    EXPECT_EQ(RegReadText(store, row.section, "WindowSize", "").substr(0, 10), row.place);
  }
  EXPECT_TRUE(p.WaitForExit(test::kPatience));
}

}  // namespace
}  // namespace glintora
