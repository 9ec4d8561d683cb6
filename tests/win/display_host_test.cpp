// The Win32 host seen from the screen: what the engine writes reaches the window in the right
// colours, once per frame and only where it was written, through sparse, dense and clearing
// frames; growing; the message label; waiting for events without spinning; a quit seen inside a
// show.
#include <vector>

#include "harness.h"
#include "platform/win32/win32_host.h"

namespace glintora {
namespace {

class HostWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(window_, nullptr);
    SetWindowPos(window_, HWND_TOPMOST, 40, 40, 160, 120, SWP_SHOWWINDOW);
    ASSERT_TRUE(host_.Attach(window_, true));
  }
  void Repaint() {
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
  }
  // The window's pixels that differ from the surface's.
  int Mismatches(const Framebuffer& fb) {
    RECT all{0, 0, fb.Width, fb.Height};
    const std::vector<DWORD> shot = test::Pixels(window_, all);
    int wrong = 0;
    for (int y = 0; y < fb.Height; ++y)
      for (int x = 0; x < fb.Width; ++x) wrong += shot.at(y * fb.Width + x) != SwapRedBlue(fb.At(x, y));
    return wrong;
  }
  // The pixels at (30,14), (150,110) and (100,100) as COLORREFs.
  std::vector<COLORREF> Probes() {
    HDC dc = GetDC(window_);
    std::vector<COLORREF> c{GetPixel(dc, 30, 14), GetPixel(dc, 150, 110), GetPixel(dc, 100, 100)};
    ReleaseDC(window_, dc);
    return c;
  }

  RunState run_;
  test::CaptionedWindow shown_{"host", WS_POPUP, [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_PAINT && PaintFromHost(w)) return 0;
    return m == WM_ERASEBKGND ? 1 : DefWindowProcA(w, m, wp, lp);
  }};
  HWND window_ = shown_.Get();
  Win32Host host_{run_};
};

TEST_F(HostWindow, PresentSendsOnlyWhatWasWrittenThroughSparseDenseAndClearingFrames) {
  const struct {
    const char* name;
    int writes;  // some fall outside and are dropped
    bool clear = false;
  } frames[] = {{"sparse", 6},          {"sparse again", 9}, {"dense", 4000},
                {"sparse after dense", 5}, {"a clear", 5, true}, {"sparse after the clear", 7}};
  const COLORREF black = RGB(0, 0, 0), orange = RGB(0x40, 0x80, 0xFF), blue = RGB(0, 0, 255);
  for (const bool tiled : {false, true}) {
    SCOPED_TRACE(tiled ? "tile by tile" : "touched rectangle");
    ASSERT_TRUE(host_.Attach(window_, true));
    host_.SetTiledPresent(tiled);
    Framebuffer& fb = host_.Surface();
    ASSERT_EQ(fb.Width * 1000 + fb.Height, 160120);
    Repaint();
    EXPECT_EQ(Probes(), std::vector<COLORREF>(3, black));

    fb.Set(30, 14, 0x00FF8040);  // 0x00BBGGRR: red in the low byte, as a COLORREF
    // Tiles leave out what lies between far-apart writes; a rectangle cannot.
    if (tiled) fb.Set(150, 110, 0x00FF0000);
    fb.Pixels[100 * fb.Stride + 100] = 0x00FFFFFF;  // changed behind the engine's back: not sent
    host_.Present(fb);
    fb.ResetTouched();
    EXPECT_EQ(Probes(), std::vector<COLORREF>({orange, tiled ? blue : black, black}));
    Repaint();  // a repaint shows the whole surface
    EXPECT_EQ(Probes(), std::vector<COLORREF>({orange, tiled ? blue : black, RGB(255, 255, 255)}));

    // A clear is not a list of writes: all of it goes out.
    std::uint32_t seed = 1;
    for (const auto& frame : frames) {
      if (frame.clear) fb.Fill(0x00203040u);
      for (int i = 0; i < frame.writes; ++i) {
        seed = seed * 1664525u + 1013904223u;
        fb.Set(static_cast<int>(seed >> 8) % (fb.Width + 20) - 10,
               static_cast<int>(seed >> 20) % (fb.Height + 20) - 10, (seed >> 4) | 0x00404040u);
      }
      host_.Present(fb);
      fb.ResetTouched();
      EXPECT_EQ(Mismatches(fb), 0) << frame.name;
    }
  }
}

TEST_F(HostWindow, GrowingKeepsThePixelsAndAddsBlackAndTheLabelDrawsAcrossTheTop) {
  host_.Surface().Set(5, 6, 0x00FFFFFF);
  SetWindowPos(window_, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_TRUE(host_.FollowClientSize());
  EXPECT_FALSE(host_.FollowClientSize());
  const Framebuffer& fb = host_.Surface();
  ASSERT_EQ(fb.Width * 1000 + fb.Height, 300200);
  EXPECT_EQ(fb.At(5, 6), 0x00FFFFFFu);
  EXPECT_EQ(fb.At(250, 150), 0u);
  EXPECT_FALSE(fb.AnyTouched());

  auto litInRows = [](const Framebuffer& f, int top, int bottom) {
    int lit = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < f.Width; ++x) lit += f.At(x, y) != 0;
    return lit;
  };
  host_.Surface().Fill(0);
  MessageStyle style{"Arial", 14, 0x0000FFFF, "Locked"};
  host_.ShowMessage(style);
  EXPECT_GT(litInRows(fb, 0, fb.Height / 2), 20);
  EXPECT_EQ(litInRows(fb, fb.Height / 2, fb.Height), 0);
  host_.ClearMessage();
  EXPECT_EQ(litInRows(fb, 0, fb.Height), 0);
  // A picture box shows no label.
  Win32Host box(run_);
  ASSERT_TRUE(box.Attach(window_, false));
  box.ShowMessage(style);
  EXPECT_EQ(litInRows(box.Surface(), 0, box.Surface().Height), 0);
}

TEST(HostEvents, WaitsWithoutSpinningWakesForAMessageAndLeavesAQuitForTheOuterLoop) {
  RunState run;
  Win32Host host(run);
  auto busyMs = [] {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return ULARGE_INTEGER{{user.dwLowDateTime, user.dwHighDateTime}}.QuadPart / 10000;
  };
  const auto busy = busyMs();
  // Something of the system's may end a wait early at any moment (under Wine an X event for this
  // thread may, with no message left for us): one of a few tries must wait its whole time.
  DWORD start = 0, waited = 0;
  for (int tries = 0; tries < 10 && waited < 250; ++tries) {
    host.ProcessPendingEvents();
    start = GetTickCount();
    host.WaitForEvent(300);
    waited = GetTickCount() - start;
  }
  EXPECT_GE(waited, 250u);
  EXPECT_LT(busyMs() - busy, 100u) << "the wait used the processor";

  PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
  start = GetTickCount();
  host.WaitForEvent(test::kPatience);
  EXPECT_LT(GetTickCount() - start, test::kPatience / 2);

  PostQuitMessage(3);
  host.ProcessPendingEvents();
  EXPECT_TRUE(run.StopRequested && host.QuitSeen());
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 3u);
}

}  // namespace
}  // namespace glintora
