// The full-screen saver from outside: the splash, then a show over the whole virtual screen that
// a key, a button or a burst of mouse moves ends at once, and that stray moves do not end.
#include <gtest/gtest.h>

#include "display_support.h"

namespace glintora {
namespace {

using test::NonBlackPixels;
using test::ScrProcess;

constexpr const char* kSaverCaption = "KRYX:Glintora Fireworks 1.0";
constexpr DWORD kStartMs = 20000;
constexpr DWORD kEndMs = 1000;  // a stopped saver is gone within a second

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// The splash: a 420 x 225 picture inside the saver window.
HWND FindSplash(HWND saver) {
  for (HWND child = GetWindow(saver, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT client{};
    GetClientRect(child, &client);
    if (IsWindowVisible(child) && client.right == 420 && client.bottom == 225) return child;
  }
  return nullptr;
}

class Saver : public ::testing::Test {
 protected:
  void SetUp() override {
    scr_ = test::ScrPath();
    ASSERT_FALSE(scr_.empty()) << "set GLINTORA_SCR to the path of GlintoraFireworks.scr";
    test::RemoveSetting("Advanced", "Adv_MouseMove");
  }
  void TearDown() override { test::RemoveSetting("Advanced", "Adv_MouseMove"); }

  // Starts "/s" and returns the saver window once the splash has gone and sparks are drawn.
  HWND StartShow(ScrProcess& p) {
    if (!p.Start(scr_, "/s")) return nullptr;
    HWND saver = test::WaitForCaption(p, kSaverCaption, kStartMs);
    if (!saver) return nullptr;
    // The show starts when the splash has come and gone.
    HWND splash = nullptr;
    test::PumpUntil(5000, [&] { return (splash = FindSplash(saver)) != nullptr; });
    test::PumpUntil(10000, [&] { return !IsWindow(splash) || !p.Running(); });
    RECT rect{};
    GetWindowRect(saver, &rect);
    test::PumpUntil(5000, [&] { return NonBlackPixels(rect) > 0 || !p.Running(); });
    return p.Running() ? saver : nullptr;
  }

  // Stays running for a while after input that must not end it.
  static bool StillRunningAfter(ScrProcess& p, DWORD ms) { return !p.WaitForExit(ms); }

  std::string scr_;
};

TEST_F(Saver, SplashThenAShowOverTheWholeScreenThatAKeyEnds) {
  ScrProcess p;
  ASSERT_TRUE(p.Start(scr_, "/s"));
  HWND saver = test::WaitForCaption(p, kSaverCaption, kStartMs);
  ASSERT_NE(saver, nullptr);
  HWND splash = nullptr;
  test::PumpUntil(3000, [&] { return (splash = FindSplash(saver)) != nullptr; });
  ASSERT_NE(splash, nullptr) << "no 420 x 225 splash";
  const DWORD seen = GetTickCount();
  RECT s{};
  GetWindowRect(splash, &s);
  EXPECT_NEAR((s.left + s.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
  EXPECT_NEAR((s.top + s.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 2);
  ASSERT_TRUE(test::PumpUntil(6000, [&] { return !IsWindow(splash); }));
  EXPECT_LE(GetTickCount() - seen, 3500u);
  EXPECT_GE(GetTickCount() - seen, 2500u);

  RECT rect{};
  GetWindowRect(saver, &rect);
  EXPECT_EQ(rect.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
  EXPECT_EQ(rect.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
  EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(rect.bottom - rect.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  EXPECT_TRUE(test::PumpUntil(5000, [&] { return NonBlackPixels(rect) > 0; }))
      << "no sparks drawn";

  PostMessageA(saver, WM_KEYDOWN, 'Q', 0);
  EXPECT_TRUE(p.WaitForExit(kEndMs));
}

TEST_F(Saver, AKeyDuringTheSplashEndsItAtOnce) {
  ScrProcess p;
  ASSERT_TRUE(p.Start(scr_, "/s"));
  HWND saver = test::WaitForCaption(p, kSaverCaption, kStartMs);
  ASSERT_NE(saver, nullptr);
  ASSERT_TRUE(test::PumpUntil(3000, [&] { return FindSplash(saver) != nullptr; }));
  PostMessageA(saver, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(p.WaitForExit(kEndMs));
}

TEST_F(Saver, AButtonEndsIt) {
  ScrProcess p;
  HWND saver = StartShow(p);
  ASSERT_NE(saver, nullptr);
  PostMessageA(saver, WM_RBUTTONDOWN, MK_RBUTTON, At(300, 200));
  EXPECT_TRUE(p.WaitForExit(kEndMs));
}

// Moves are made with the real cursor, as a user makes them.
void MoveCursorTo(int x, int y) {
  SetCursorPos(x, y);
  test::PumpUntil(60, [] { return false; });
}

TEST_F(Saver, TheFourthMoveEndsItButRepeatsAtOnePlaceDoNotCount) {
  ScrProcess p;
  HWND saver = StartShow(p);
  ASSERT_NE(saver, nullptr);
  // The system repeats a move where the cursor already is (a window appearing under it): none
  // of these is a move of the mouse.
  POINT at{};
  GetCursorPos(&at);
  for (int i = 0; i < 6; ++i) PostMessageA(saver, WM_MOUSEMOVE, 0, At(at.x, at.y));
  MoveCursorTo(200, 200);
  MoveCursorTo(230, 210);
  MoveCursorTo(260, 220);
  EXPECT_TRUE(StillRunningAfter(p, 1500)) << "ended before the fourth move";
  MoveCursorTo(290, 230);
  EXPECT_TRUE(p.WaitForExit(kEndMs)) << "the fourth move did not end it";
}

TEST_F(Saver, MovesNeverEndItWhenSetSoButKeysStillDo) {
  test::PutSetting("Advanced", "Adv_MouseMove", "1");
  ScrProcess p;
  HWND saver = StartShow(p);
  ASSERT_NE(saver, nullptr);
  for (int i = 0; i < 8; ++i) MoveCursorTo(100 + 30 * i, 300 - 20 * i);
  EXPECT_TRUE(StillRunningAfter(p, 1500));
  PostMessageA(saver, WM_CHAR, 'x', 0);
  EXPECT_TRUE(p.WaitForExit(kEndMs));
}

}  // namespace
}  // namespace glintora
