// The full-screen saver from outside: the splash, then a show over the whole virtual screen that
// a key, a button or a burst of mouse moves ends at once, and that stray moves do not end.

#include <vector>

#include "harness.h"

namespace glintora {
namespace {

using test::Eventually;
using test::ScreenRect;
using test::ScrProcess;

// Waits until the screen's pixels in rect have changed frames times: the show there has run that
// many more frames, so it has handled what was sent to it before. false after kPatience, or at
// once when process (if given) ends.
bool WaitForNewFrames(RECT rect, int frames, ScrProcess* process = nullptr) {
  std::vector<DWORD> last = test::Pixels(nullptr, rect);
  int seen = 0;
  Eventually([&] {
    std::vector<DWORD> now = test::Pixels(nullptr, rect);
    if (now != last) ++seen, last.swap(now);
    return seen >= frames || (process && !process->Running());
  });
  return seen >= frames && (!process || process->Running());
}

// The splash: a 420 x 225 picture inside the saver window.
HWND FindSplash(HWND saver) {
  for (HWND child = GetWindow(saver, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT client{};
    GetClientRect(child, &client);
    if (IsWindowVisible(child) && client.right == 420 && client.bottom == 225) return child;
  }
  return nullptr;
}

// Moves to distinct places, posted in one burst: the system merges no posted message, and the
// burst fits the saver's counting window however slowly a loaded machine draws.
void PostMoves(HWND saver, int count) {
  POINT at{};
  GetCursorPos(&at);
  for (int i = 1; i <= count; ++i)
    PostMessageA(saver, WM_MOUSEMOVE, 0, MAKELPARAM(at.x + 30 * i, at.y + 10 * i));
}

class Saver : public test::ScrTest {
 protected:
  void TearDown() override {
    test::RemoveSetting("Advanced", "Adv_MouseMove");
    test::RemoveSetting("SoundFX", "SoundFX_ON");
  }
  // Starts "/s"; the saver window and its splash, or nullptr.
  HWND Start(ScrProcess& p, HWND& splash) {
    notYet_ = GetTickCount();
    HWND saver = p.Start(scr_, "/s") ? p.WaitForWindow(test::kSaverCaption) : nullptr;
    if (saver) {
      Eventually([&] {
        const DWORD now = GetTickCount();
        if ((splash = FindSplash(saver)) != nullptr) return true;
        notYet_ = now;
        return false;
      });
    }
    return saver;
  }
  DWORD notYet_ = 0;  // the last time the splash was surely not there yet
};

// The splash, in the middle for three seconds, then a show over the whole virtual screen that a
// key, a button or the fourth move ends, unless moves are ignored.
TEST_F(Saver, SplashThenAShowOverTheScreenThatAKeyAButtonOrTheFourthMoveEnds) {
  const struct {
    const char* name;
    bool duringSplash;      // the input comes before the show starts
    const char* mouseMove;  // Adv_MouseMove, nullptr: not stored
    int strayMoves;         // moves that must not end it
    UINT message;           // what ends it; 0: the fourth move of a burst
    WPARAM wParam;
    bool sound = false;     // SoundFX_ON "1": sound effects play (or stay silent without a device)
    bool timed = false;     // the splash's three seconds are measured
  } rows[] = {
      {"key during the splash", true, nullptr, 0, WM_KEYDOWN, VK_SPACE},
      {"button", false, nullptr, 0, WM_RBUTTONDOWN, MK_RBUTTON, false, true},
      {"key after three moves, with sound effects on", false, nullptr, 3, WM_KEYDOWN, 'S', true},
      {"the fourth move of a burst", false, nullptr, 0, 0, 0},
      {"typed key with moves ignored", false, "1", 8, WM_CHAR, 'x'},
      {"moves during the splash, ignored from the first message", true, "1", 8, WM_KEYDOWN, VK_SPACE},
  };
  const std::vector<LONG> screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                 GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.mouseMove) test::PutSetting("Advanced", "Adv_MouseMove", row.mouseMove);
    if (row.sound) test::PutSetting("SoundFX", "SoundFX_ON", "1");
    ScrProcess p;
    HWND splash = nullptr;
    HWND saver = Start(p, splash);
    ASSERT_NE(saver, nullptr);
    ASSERT_NE(splash, nullptr) << "no 420 x 225 splash";
    const DWORD seen = GetTickCount();
    const RECT s = ScreenRect(splash), show = ScreenRect(saver);
    EXPECT_NEAR((s.left + s.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
    EXPECT_NEAR((s.top + s.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 2);
    EXPECT_EQ(test::Placed(saver), screen);
    if (row.timed) {
      // The splash came between the saver's start and `seen`, and went between the last look
      // that found it and the first that did not: its three seconds must fit those brackets.
      DWORD lastSeen = seen;
      ASSERT_TRUE(Eventually([&] { return !IsWindow(splash) || ((lastSeen = GetTickCount()), false); }));
      EXPECT_LE(lastSeen - seen, 3000u + 100u);
      EXPECT_GE(GetTickCount() - notYet_, 3000u - 100u);
    }
    if (!row.duringSplash) {
      EXPECT_TRUE(Eventually([&] {
        return (!IsWindow(splash) && test::LitPixels(nullptr, show) > 0) || !p.Running();
      })) << "no sparks drawn";
      ASSERT_TRUE(p.Running());
    }
    if (row.strayMoves > 0) {
      // The system repeats a move where the cursor already is (a window appearing under it):
      // none of these is a move of the mouse.
      POINT at{};
      GetCursorPos(&at);
      for (int i = 0; i < 6; ++i) PostMessageA(saver, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
      PostMoves(saver, row.strayMoves);
      if (row.duringSplash) {
        EXPECT_TRUE(IsWindow(splash)) << "the moves came after the splash";
      }
      // Frames drawn after the last move: the saver has handled every move.
      EXPECT_TRUE(WaitForNewFrames(show, 3, &p)) << "ended by " << row.strayMoves << " moves";
    }
    if (row.message) PostMessageA(saver, row.message, row.wParam, MAKELPARAM(300, 200));
    else PostMoves(saver, 4);
    EXPECT_TRUE(p.WaitForExit()) << "did not end";
    TearDown();
  }
}

}  // namespace
}  // namespace glintora
