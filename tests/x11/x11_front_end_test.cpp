// The program in its windows: pixels on screen, a foreign window drawn into and left, the
// full-screen saver's input rule. Each test runs glintora as a child that is killed on timeout.
#include <X11/keysym.h>

#include <functional>

#include "tests/x11/x11_fixture.h"

namespace glintora::testing {
namespace {

using FrontEnd = X11Fixture;

TEST_F(FrontEnd, OwnWindowShowsFireworksAndEndsCleanlyOnEscapeCloseOrTerm) {
  const struct {
    const char* name;
    std::function<void(Window, pid_t)> end;
  } rows[] = {
      {"Esc", [&](Window win, pid_t) {
         XSetInputFocus(display_, win, RevertToPointerRoot, CurrentTime);
         SendKey(XK_Escape);
       }},
      {"close", [&](Window win, pid_t) {
         XEvent ev{};
         ev.xclient.type = ClientMessage;
         ev.xclient.window = win;
         ev.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
         ev.xclient.format = 32;
         ev.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
         XSendEvent(display_, win, False, NoEventMask, &ev);
         XSync(display_, False);
       }},
      // The daemon ends a hack so: it must leave at its next wait, not die of the signal.
      {"SIGTERM", [](Window, pid_t pid) { kill(pid, SIGTERM); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ChildProcess child = Run({"-delay", "300"});
    const Window win = FindWindowOfPid(child.Pid());
    ASSERT_NE(win, 0u) << child.Err();
    EXPECT_TRUE(WaitForLitPixel(win)) << "no pixel lit";
    row.end(win, child.Pid());
    int code = -1;
    ASSERT_TRUE(child.WaitExit(kPatience, code)) << "did not end";
    EXPECT_EQ(code, 0);
  }
}

TEST_F(FrontEnd, ForeignWindowIsDrawnIntoAloneAndItsDestructionEndsTheShow) {
  const Window neighbour = MakeWindow(400, 40, 200, 120);
  // Once by id, once as the daemon hands a window over: -root with $XSCREENSAVER_WINDOW.
  for (const bool byEnvironment : {false, true}) {
    SCOPED_TRACE(byEnvironment ? "-root" : "-window-id");
    const Window win = MakeWindow(40, byEnvironment ? 300 : 40, 320, 200);
    const std::size_t topLevelsBefore = TopLevels().size();
    ChildProcess child = byEnvironment ? Run({"-root", "-delay", "10"}, Id(win))
                                       : Run({"-window-id", Id(win), "-delay", "10"});
    EXPECT_TRUE(WaitForLitPixel(win)) << child.Err();
    EXPECT_TRUE(WaitForNewFrames(win, 5));
    EXPECT_FALSE(AnyLitPixel(neighbour)) << "drew outside its window";
    EXPECT_EQ(TopLevels().size(), topLevelsBefore) << "opened a window";
    ASSERT_TRUE(child.Running());
    XDestroyWindow(display_, win);
    XSync(display_, False);
    int code = -1;
    ASSERT_TRUE(child.WaitExit(kPatience, code)) << "still running after its window went away";
    EXPECT_EQ(code, 0) << child.Err();
  }
  ChildProcess child = Run({"-window-id", "0x3ffff01"});
  int code = -1;
  ASSERT_TRUE(child.WaitExit(kPatience, code));
  EXPECT_EQ(code, 1);
  EXPECT_NE(child.Err().find("0x3ffff01 does not exist"), std::string::npos) << child.Err();
}

TEST_F(FrontEnd, ArgbWindowGetsOpaquePixels) {
  // A compositing desktop reads a 32-bit window's spare bits as alpha: lit pixels must be opaque.
  XVisualInfo want{};
  want.depth = 32;
  want.c_class = TrueColor;
  int n = 0;
  XVisualInfo* infos = XGetVisualInfo(display_, VisualDepthMask | VisualClassMask, &want, &n);
  if (!infos) GTEST_SKIP() << "no 32-bit TrueColor visual";
  const XVisualInfo info = infos[0];
  XFree(infos);
  const unsigned long alpha = 0xFFFFFFFFul & ~(info.red_mask | info.green_mask | info.blue_mask);
  const Colormap colormap = XCreateColormap(display_, DefaultRootWindow(display_), info.visual, AllocNone);
  const Window win = MakeWindow(20, 20, 240, 160, info.visual, 32, colormap);
  ChildProcess child = Run({"-window-id", Id(win), "-delay", "10"});
  unsigned long lit = 0;  // the first pixel drawn
  WaitUntil(kPatience, [&] {
    for (unsigned long p : Pixels(win))
      if ((lit = p) & ~alpha) return true;
    return false;
  });
  ASSERT_NE(lit & ~alpha, 0u) << "nothing drawn: " << child.Err();
  EXPECT_EQ(lit & alpha, alpha) << "a lit pixel is not opaque";
  XFreeColormap(display_, colormap);
}

TEST_F(FrontEnd, FullScreenEndsOnAKeyAButtonOrTheFourthMoveUnlessMovesAreIgnored) {
  auto move = [&](int x, int y) { XTestFakeMotionEvent(display_, -1, x, y, CurrentTime), XSync(display_, False); };
  const struct {
    const char* name;
    const char* settings;  // the user's settings file, nullptr: none
    int strayMoves;        // moves that must not end it
    std::function<void()> end;
  } rows[] = {
      {"key", nullptr, 0, [&] { SendKey(XK_a); }},
      {"button", nullptr, 0, [&] {
         XTestFakeButtonEvent(display_, 1, True, CurrentTime);
         XTestFakeButtonEvent(display_, 1, False, CurrentTime);
         XSync(display_, False);
       }},
      {"fourth move", nullptr, 3, [&] { move(300, 300); }},
      {"key with moves ignored", "[Advanced]\nAdv_MouseMove=1\n", 8, [&] { SendKey(XK_space); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.settings) WriteUserSettings(row.settings);
    ChildProcess child = Run({"-fullscreen"});
    const Window win = FindWindowOfPid(child.Pid());
    ASSERT_NE(win, 0u) << child.Err();
    XWindowAttributes attrs{};
    XGetWindowAttributes(display_, win, &attrs);
    EXPECT_EQ(attrs.width, DisplayWidth(display_, DefaultScreen(display_)));
    EXPECT_EQ(attrs.height, DisplayHeight(display_, DefaultScreen(display_)));
    for (int i = 0; i < row.strayMoves; ++i) move(100 + 37 * i, 100 + 23 * i);
    // Frames drawn after the moves: the show has handled them.
    ASSERT_TRUE(WaitForNewFrames(win, 3) && child.Running()) << "ended before its time";
    row.end();
    int code = -1;
    ASSERT_TRUE(child.WaitExit(kPatience, code)) << "did not end";
    EXPECT_EQ(code, 0);
  }
}

TEST_F(FrontEnd, ResizingTheWindowRestartsTheShowAtTheNewSize) {
  ChildProcess child = Run({"-verbose", "-delay", "10"});
  const Window win = FindWindowOfPid(child.Pid());
  ASSERT_TRUE(win && child.WaitForOutput("settings:", kPatience)) << child.Err();
  XResizeWindow(display_, win, 500, 300);
  XSync(display_, False);
  EXPECT_TRUE(child.WaitForOutput("SurfaceWidth=500 SurfaceHeight=300", kPatience)) << child.Out();
}

}  // namespace
}  // namespace glintora::testing
