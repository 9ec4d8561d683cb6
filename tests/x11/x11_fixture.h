// A connection to the test's X server, scratch windows, a private settings folder for the child,
// and the XTest input and pixel read-back that the front-end tests use.
#pragma once

#include <gtest/gtest.h>  // before Xlib: its None macro breaks gtest
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <sys/types.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/x11/child_process.h"

namespace glintora::testing {

class X11Fixture : public ::testing::Test {
 protected:
  void SetUp() override {
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // a window may vanish mid-read
    // Xvfb resets when its last client leaves and refuses connections meanwhile: keep one
    // connection for the whole program, and retry while a reset may be under way.
    static Display* keepAlive = XOpenDisplay(nullptr);
    (void)keepAlive;
    for (int attempt = 0; attempt < 100 && !display_; ++attempt) {
      display_ = XOpenDisplay(nullptr);
      if (!display_) SleepSeconds(0.02);
    }
    ASSERT_NE(display_, nullptr) << "no X display (run under xvfb-run)";
    int a, b, c, d;
    ASSERT_TRUE(XTestQueryExtension(display_, &a, &b, &c, &d));
    std::string pattern = (std::filesystem::temp_directory_path() / "glintora-x11-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    config_ = pattern;
  }

  void TearDown() override {
    if (display_) {
      for (Window w : windows_) XDestroyWindow(display_, w);
      XSync(display_, False);
      XCloseDisplay(display_);
    }
    std::error_code ec;
    if (!config_.empty()) std::filesystem::remove_all(config_, ec);
  }

  // The child's environment: a private settings folder, no daemon window.
  std::vector<std::string> Env() const {
    return {"XDG_CONFIG_HOME=" + config_.string(), "XSCREENSAVER_WINDOW="};
  }
  std::filesystem::path SettingsFile() const { return config_ / "glintora" / "settings.ini"; }
  void WriteUserSettings(const std::string& text) {
    std::filesystem::create_directories(SettingsFile().parent_path());
    std::ofstream(SettingsFile()) << text;
  }

  Window MakeWindow(int x, int y, int w, int h) {
    const int screen = DefaultScreen(display_);
    const Window win = XCreateSimpleWindow(display_, RootWindow(display_, screen), x, y, w, h, 0,
                                           BlackPixel(display_, screen), BlackPixel(display_, screen));
    XMapWindow(display_, win);
    XSync(display_, False);
    windows_.push_back(win);
    return win;
  }

  int TopLevelCount() {
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &n);
    if (children) XFree(children);
    return static_cast<int>(n);
  }

  // The mapped top-level window whose _NET_WM_PID is pid; 0 when none appears in time.
  Window FindWindowOfPid(pid_t pid, double seconds) {
    const Atom pidAtom = XInternAtom(display_, "_NET_WM_PID", False);
    const double end = Now() + seconds;
    do {
      Window root, parent, *children = nullptr;
      unsigned int n = 0;
      XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &n);
      Window found = 0;
      for (unsigned int i = 0; i < n && !found; ++i) {
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type,
                               &format, &items, &after, &data) == Success && data) {
          XWindowAttributes attrs{};
          if (items == 1 && static_cast<pid_t>(*reinterpret_cast<long*>(data)) == pid &&
              XGetWindowAttributes(display_, children[i], &attrs) && attrs.map_state == IsViewable)
            found = children[i];
          XFree(data);
        }
      }
      if (children) XFree(children);
      if (found) return found;
      SleepSeconds(0.01);
    } while (Now() < end);
    return 0;
  }

  bool AnyLitPixel(Window win) {
    XWindowAttributes attrs{};
    if (!XGetWindowAttributes(display_, win, &attrs)) return false;
    XImage* image = XGetImage(display_, win, 0, 0, attrs.width, attrs.height, AllPlanes, ZPixmap);
    if (!image) return false;
    bool lit = false;
    for (int y = 0; y < attrs.height && !lit; ++y)
      for (int x = 0; x < attrs.width && !lit; ++x) lit = XGetPixel(image, x, y) != 0;
    XDestroyImage(image);
    return lit;
  }

  bool WaitForLitPixel(Window win, double deadline) {
    do {
      if (AnyLitPixel(win)) return true;
      SleepSeconds(0.02);
    } while (Now() < deadline);
    return false;
  }

  void SendKey(KeySym sym) {
    const KeyCode code = XKeysymToKeycode(display_, sym);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
  }

  void MovePointer(int x, int y) {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XSync(display_, False);
    SleepSeconds(0.02);
  }

  Display* display_ = nullptr;
  std::filesystem::path config_;
  std::vector<Window> windows_;
};

}  // namespace glintora::testing
