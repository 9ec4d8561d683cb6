// The program in its windows: pixels on screen, a foreign window drawn into and left, the
// full-screen saver's input rule. Each test runs glintora as a child that is killed on timeout.
#include <gtest/gtest.h>  // before Xlib: its None macro breaks gtest
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/x11/child_process.h"
#include "tests/x11/x11_fixture.h"

namespace glintora::testing {
namespace {

using FrontEnd = X11Fixture;

TEST_F(FrontEnd, OwnWindowShowsFireworksAndClosesOnEscapeOrClose) {
  for (const bool byEscape : {true, false}) {
    ChildProcess child(GLINTORA_BINARY, {"-seed", "7"}, Env());
    const Window win = FindWindowOfPid(child.Pid(), 3.0);
    ASSERT_NE(win, 0u) << child.Err();
    const double shown = Now();
    EXPECT_TRUE(WaitForLitPixel(win, shown + 1.0)) << "no pixel lit within a second";

    if (byEscape) {
      XSetInputFocus(display_, win, RevertToPointerRoot, CurrentTime);
      XSync(display_, False);
      SendKey(XK_Escape);
    } else {
      XEvent ev{};
      ev.xclient.type = ClientMessage;
      ev.xclient.window = win;
      ev.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
      ev.xclient.format = 32;
      ev.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
      XSendEvent(display_, win, False, NoEventMask, &ev);
      XSync(display_, False);
    }
    int code = -1;
    ASSERT_TRUE(child.WaitExit(1.0, code)) << (byEscape ? "Esc" : "close") << " did not end it";
    EXPECT_EQ(code, 0);
  }
}

TEST_F(FrontEnd, ForeignWindowIsDrawnIntoAloneAndItsDestructionEndsTheShow) {
  const Window target = MakeWindow(40, 40, 320, 200);
  const Window neighbour = MakeWindow(400, 40, 200, 120);

  // Once by id, once as the daemon hands a window over: -root with $XSCREENSAVER_WINDOW.
  for (const bool byEnvironment : {false, true}) {
    const Window win = byEnvironment ? MakeWindow(40, 300, 320, 200) : target;
    const int topLevelsBefore = TopLevelCount();
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", win);
    std::vector<std::string> env = Env();
    if (byEnvironment) env.push_back(std::string("XSCREENSAVER_WINDOW=") + id);
    ChildProcess child(GLINTORA_BINARY,
                       byEnvironment ? std::vector<std::string>{"-root", "-delay", "10"}
                                     : std::vector<std::string>{"-window-id", id, "-delay", "10"},
                       env);
    EXPECT_TRUE(WaitForLitPixel(win, Now() + 1.5)) << child.Err();
    SleepSeconds(0.3);
    EXPECT_FALSE(AnyLitPixel(neighbour)) << "drew outside its window";
    EXPECT_EQ(TopLevelCount(), topLevelsBefore) << "opened a window";
    ASSERT_TRUE(child.Running());

    XDestroyWindow(display_, win);
    XSync(display_, False);
    const double destroyed = Now();
    int code = -1;
    ASSERT_TRUE(child.WaitExit(2.0, code)) << "still running after its window went away";
    EXPECT_LT(Now() - destroyed, 1.0);
    EXPECT_EQ(code, 0) << child.Err();
  }
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
  const unsigned long alphaMask = 0xFFFFFFFFul & ~(info.red_mask | info.green_mask | info.blue_mask);
  ASSERT_NE(alphaMask, 0u);

  XSetWindowAttributes set{};
  set.colormap = XCreateColormap(display_, DefaultRootWindow(display_), info.visual, AllocNone);
  set.border_pixel = 0;
  set.background_pixel = 0;
  const Window win = XCreateWindow(display_, DefaultRootWindow(display_), 20, 20, 240, 160, 0, 32,
                                   InputOutput, info.visual,
                                   CWColormap | CWBorderPixel | CWBackPixel, &set);
  XMapWindow(display_, win);
  XSync(display_, False);
  windows_.push_back(win);
  char id[32];
  std::snprintf(id, sizeof id, "0x%lx", win);
  ChildProcess child(GLINTORA_BINARY, {"-window-id", id, "-delay", "10"}, Env());

  bool checked = false;
  for (const double end = Now() + 2.0; Now() < end && !checked; SleepSeconds(0.02)) {
    XImage* image = XGetImage(display_, win, 0, 0, 240, 160, AllPlanes, ZPixmap);
    if (!image) continue;
    for (int y = 0; y < 160 && !checked; ++y)
      for (int x = 0; x < 240 && !checked; ++x) {
        const unsigned long p = XGetPixel(image, x, y);
        if (p & ~alphaMask) {
          EXPECT_EQ(p & alphaMask, alphaMask) << "a lit pixel is not opaque";
          checked = true;
        }
      }
    XDestroyImage(image);
  }
  EXPECT_TRUE(checked) << "nothing drawn: " << child.Err();
  XFreeColormap(display_, set.colormap);
}

TEST_F(FrontEnd, TerminationSignalEndsTheShowCleanly) {
  // The daemon ends a hack with SIGTERM; the show must leave at its next wait, not be killed.
  const Window win = MakeWindow(10, 10, 200, 150);
  char id[32];
  std::snprintf(id, sizeof id, "%lu", win);
  ChildProcess child(GLINTORA_BINARY, {"-window-id", id, "-delay", "500", "-verbose"}, Env());
  ASSERT_TRUE(child.WaitForOutput("settings:", 3.0)) << child.Err();
  kill(child.Pid(), SIGTERM);
  int code = -1;
  ASSERT_TRUE(child.WaitExit(1.0, code));
  EXPECT_EQ(code, 0);
}

TEST_F(FrontEnd, WindowIdThatNamesNoWindowIsAClearError) {
  ChildProcess child(GLINTORA_BINARY, {"-window-id", "0x3ffff01"}, Env());
  int code = -1;
  ASSERT_TRUE(child.WaitExit(3.0, code));
  EXPECT_EQ(code, 1);
  EXPECT_NE(child.Err().find("0x3ffff01 does not exist"), std::string::npos) << child.Err();
}

TEST_F(FrontEnd, FullScreenEndsOnAKeyOrAButton) {
  for (const bool byKey : {true, false}) {
    ChildProcess child(GLINTORA_BINARY, {"-fullscreen", "-verbose"}, Env());
    ASSERT_TRUE(child.WaitForOutput("settings:", 3.0)) << child.Err();
    const Window win = FindWindowOfPid(child.Pid(), 1.0);
    ASSERT_NE(win, 0u);
    XWindowAttributes attrs{};
    XGetWindowAttributes(display_, win, &attrs);
    EXPECT_EQ(attrs.width, DisplayWidth(display_, DefaultScreen(display_)));
    EXPECT_EQ(attrs.height, DisplayHeight(display_, DefaultScreen(display_)));
    if (byKey) {
      SendKey(XK_a);
    } else {
      XTestFakeButtonEvent(display_, 1, True, CurrentTime);
      XTestFakeButtonEvent(display_, 1, False, CurrentTime);
      XSync(display_, False);
    }
    int code = -1;
    ASSERT_TRUE(child.WaitExit(1.0, code)) << (byKey ? "key" : "button") << " did not end it";
    EXPECT_EQ(code, 0);
  }
}

TEST_F(FrontEnd, FullScreenEndsOnTheFourthMoveNotTheThird) {
  ChildProcess child(GLINTORA_BINARY, {"-fullscreen", "-verbose"}, Env());
  ASSERT_TRUE(child.WaitForOutput("settings:", 3.0)) << child.Err();
  for (int i = 0; i < 3; ++i) MovePointer(100 + 37 * i, 100 + 23 * i);
  SleepSeconds(0.5);
  ASSERT_TRUE(child.Running()) << "ended before the fourth move";
  MovePointer(300, 300);
  int code = -1;
  ASSERT_TRUE(child.WaitExit(1.0, code)) << "the fourth move did not end it";
  EXPECT_EQ(code, 0);
}

TEST_F(FrontEnd, StoredMouseMoveFlagMakesMovesHarmless) {
  WriteUserSettings("[Advanced]\nAdv_MouseMove=1\n");
  ChildProcess child(GLINTORA_BINARY, {"-fullscreen", "-verbose"}, Env());
  ASSERT_TRUE(child.WaitForOutput("settings:", 3.0)) << child.Err();
  for (int i = 0; i < 8; ++i) MovePointer(50 + 29 * i, 60 + 31 * i);
  SleepSeconds(0.5);
  ASSERT_TRUE(child.Running()) << "moves ended it although the setting says to ignore them";
  SendKey(XK_space);
  int code = -1;
  ASSERT_TRUE(child.WaitExit(1.0, code));
  EXPECT_EQ(code, 0);
}

TEST_F(FrontEnd, ResizingTheWindowRestartsTheShowAtTheNewSize) {
  ChildProcess child(GLINTORA_BINARY, {"-verbose", "-delay", "10"}, Env());
  ASSERT_TRUE(child.WaitForOutput("settings:", 3.0)) << child.Err();
  const Window win = FindWindowOfPid(child.Pid(), 1.0);
  ASSERT_NE(win, 0u);
  XResizeWindow(display_, win, 500, 300);
  XSync(display_, False);
  EXPECT_TRUE(child.WaitForOutput("SurfaceWidth=500 SurfaceHeight=300", 2.0)) << child.Out();
}

}  // namespace
}  // namespace glintora::testing
