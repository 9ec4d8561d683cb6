// The program in its windows: pixels on screen, a foreign window drawn into and left, the
// full-screen saver's input rule. Each test runs glintora as a child that is killed on timeout.
#include <X11/keysym.h>

#include <functional>

#include "tests/x11/x11_fixture.h"

namespace glintora::testing {
namespace {

using FrontEnd = X11Fixture;

// Its own window (with a slow show) follows its resizing and ends on Esc, the window manager's
// close or SIGTERM (how the daemon ends a hack: it must leave at its next wait, not die of the
// signal); full screen, it ends on a key, a button or the fourth move, or on a key alone when moves
// are ignored.
TEST_F(FrontEnd, ShowsFireworksAndEndsCleanlyOnWhatEndsIt) {
  auto move = [&](int x, int y) { XTestFakeMotionEvent(display_, -1, x, y, CurrentTime), XSync(display_, False); };
  const struct {
    const char* name;
    bool fullScreen;
    const char* settings;  // the user's settings file, nullptr: none
    int strayMoves;        // moves that must not end it
    std::function<void(Window, pid_t)> end;
  } rows[] = {
      {"Esc", false, nullptr, 0,
       [&](Window win, pid_t) { XSetInputFocus(display_, win, RevertToPointerRoot, CurrentTime), SendKey(XK_Escape); }},
      {"close", false, nullptr, 0, [&](Window win, pid_t) {
         XEvent ev{};
         ev.xclient = {ClientMessage, 0, False, display_, win, XInternAtom(display_, "WM_PROTOCOLS", False), 32, {}};
         ev.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
         XSendEvent(display_, win, False, NoEventMask, &ev);
       }},
      {"SIGTERM", false, nullptr, 0, [](Window, pid_t pid) { kill(pid, SIGTERM); }},
      {"key", true, nullptr, 0, [&](Window, pid_t) { SendKey(XK_a); }},
      {"button", true, nullptr, 0, [&](Window, pid_t) {
         XTestFakeButtonEvent(display_, 1, True, CurrentTime), XTestFakeButtonEvent(display_, 1, False, CurrentTime);
       }},
      {"fourth move", true, nullptr, 3, [&](Window, pid_t) { move(300, 300); }},
      {"key with moves ignored", true, "[Advanced]\nAdv_MouseMove=1\n", 8, [&](Window, pid_t) { SendKey(XK_space); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.settings) WriteUserSettings(row.settings);
    ChildProcess child = Run(row.fullScreen ? std::vector<std::string>{"-fullscreen"}
                                            : std::vector<std::string>{"-verbose", "-delay", "300"});
    const Window win = WindowOf(child);
    ASSERT_NE(win, 0u) << child.Err();
    XWindowAttributes a{};
    const Screen* screen = DefaultScreenOfDisplay(display_);
    EXPECT_TRUE(!row.fullScreen || (XGetWindowAttributes(display_, win, &a) && a.width == screen->width &&
                                    a.height == screen->height));
    if (!row.fullScreen) {  // resizing its window restarts the show at the new size
      ASSERT_TRUE(child.WaitForOutput("settings:")) << child.Err();
      XResizeWindow(display_, win, 500, 300), XSync(display_, False);
      EXPECT_TRUE(child.WaitForOutput("SurfaceWidth=500 SurfaceHeight=300")) << child.Out();
    }
    for (int i = 0; i < row.strayMoves; ++i) move(100 + 37 * i, 100 + 23 * i);
    // Frames drawn after the moves: the show has handled them, and lit pixels.
    ASSERT_TRUE(WaitForNewFrames(win, 3) && child.Running()) << "no frames, or ended before its time";
    row.end(win, child.pid), XSync(display_, False);
    EXPECT_EQ(child.WaitExit(), 0) << "-1: did not end";
  }
}

TEST_F(FrontEnd, ForeignWindowIsDrawnIntoAloneAndItsDestructionEndsTheShow) {
  const Window neighbour = MakeWindow(400, 40, 200, 120);
  // By id, and as the daemon hands a window over (-root with $XSCREENSAVER_WINDOW). (A 32-bit
  // window's pixels are checked in-process.)
  for (const std::string how : {"-window-id", "-root"}) {
    SCOPED_TRACE(how);
    const Window win = MakeWindow(40, 300, 320, 200);
    const std::size_t topLevelsBefore = TopLevels().size();
    ChildProcess child = how == "-root" ? Run({"-root", "-delay", "10"}, std::to_string(win))
                                       : Run({"-window-id", std::to_string(win), "-delay", "10"});
    EXPECT_TRUE(WaitForNewFrames(win, 5)) << child.Err();  // on a black window: it lit pixels
    EXPECT_EQ(Pixels(neighbour), std::vector<unsigned long>(200 * 120, 0)) << "drew outside its window";
    EXPECT_EQ(TopLevels().size(), topLevelsBefore) << "opened a window";
    ASSERT_TRUE(child.Running());
    XDestroyWindow(display_, win);
    XSync(display_, False);
    EXPECT_EQ(child.WaitExit(), 0) << "-1: still running after its window went away; " << child.Err();
  }
  ChildProcess child = Run({"-window-id", "0x3ffff01"});
  EXPECT_EQ(child.WaitExit(), 1);
  EXPECT_NE(child.Err().find("0x3ffff01 does not exist"), std::string::npos) << child.Err();
}

}  // namespace
}  // namespace glintora::testing
