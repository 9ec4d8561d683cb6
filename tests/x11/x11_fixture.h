// A connection to the test's X server, scratch windows, a private settings folder for the child,
// and the XTest input and pixel read-back that the front-end tests use.
#pragma once

#include <gtest/gtest.h>  // before Xlib: its None macro breaks gtest
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <sys/types.h>

#include <cstdint>
#include <cstdio>
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
    WaitUntil(kPatience, [&] { return (display_ = XOpenDisplay(nullptr)) != nullptr; });
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
  ChildProcess Run(const std::vector<std::string>& args) {
    return ChildProcess(GLINTORA_BINARY, args, Env());
  }

  // A mapped child of the root: the default visual, or the one given with its colormap.
  Window MakeWindow(int x, int y, int w, int h, Visual* visual = nullptr, int depth = 0,
                    Colormap colormap = 0) {
    XSetWindowAttributes set{};
    set.colormap = colormap;
    const Window win = XCreateWindow(
        display_, DefaultRootWindow(display_), x, y, w, h, 0, visual ? depth : 0, InputOutput,
        visual,  // nullptr: the parent's
        CWBorderPixel | CWBackPixel | (visual ? CWColormap : 0), &set);
    XMapWindow(display_, win);
    XSync(display_, False);
    windows_.push_back(win);
    return win;
  }
  static std::string Id(Window w) {
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", w);
    return id;
  }

  int TopLevelCount() { return static_cast<int>(TopLevels().size()); }

  // The mapped top-level window whose _NET_WM_PID is pid; 0 when none appears in time.
  Window FindWindowOfPid(pid_t pid, double seconds = kPatience) {
    const Atom pidAtom = XInternAtom(display_, "_NET_WM_PID", False);
    Window found = 0;
    WaitUntil(seconds, [&] {
      for (Window w : TopLevels()) {
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char* data = nullptr;
        XWindowAttributes attrs{};
        if (XGetWindowProperty(display_, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                               &items, &after, &data) != Success || !data)
          continue;
        if (items == 1 && static_cast<pid_t>(*reinterpret_cast<long*>(data)) == pid &&
            XGetWindowAttributes(display_, w, &attrs) && attrs.map_state == IsViewable)
          found = w;
        XFree(data);
      }
      return found != 0;
    });
    return found;
  }

  // Calls lit(pixel) for each pixel of the window until it returns true; false if none did.
  template <typename Lit>
  bool AnyPixel(Window win, Lit lit) {
    XWindowAttributes attrs{};
    if (!XGetWindowAttributes(display_, win, &attrs)) return false;
    XImage* image = XGetImage(display_, win, 0, 0, attrs.width, attrs.height, AllPlanes, ZPixmap);
    if (!image) return false;
    bool found = false;
    for (int y = 0; y < attrs.height && !found; ++y)
      for (int x = 0; x < attrs.width && !found; ++x) found = lit(XGetPixel(image, x, y));
    XDestroyImage(image);
    return found;
  }
  bool AnyLitPixel(Window win) {
    return AnyPixel(win, [](unsigned long p) { return p != 0; });
  }
  bool WaitForLitPixel(Window win, double seconds = kPatience) {
    return WaitUntil(seconds, [&] { return AnyLitPixel(win); });
  }
  // Waits until the window's picture has changed frames times: the show has run that many more
  // frames, so it has handled every event sent before this call. false if the window goes.
  bool WaitForNewFrames(Window win, int frames) {
    std::uint64_t last = Fingerprint(win);
    int seen = 0;
    WaitUntil(kPatience, [&] {
      const std::uint64_t now = Fingerprint(win);
      if (now == 0) return true;
      if (now != last) ++seen, last = now;
      return seen >= frames;
    });
    return seen >= frames;
  }

  void SendKey(KeySym sym) {
    const KeyCode code = XKeysymToKeycode(display_, sym);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
  }
  void ClickButton() {
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XSync(display_, False);
  }
  void MovePointer(int x, int y) {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XSync(display_, False);
  }

  Display* display_ = nullptr;
  std::filesystem::path config_;
  std::vector<Window> windows_;

 private:
  // A hash of the window's pixels (FNV-1a); 0 when it cannot be read.
  std::uint64_t Fingerprint(Window win) {
    XWindowAttributes attrs{};
    if (!XGetWindowAttributes(display_, win, &attrs)) return 0;
    XImage* image = XGetImage(display_, win, 0, 0, attrs.width, attrs.height, AllPlanes, ZPixmap);
    if (!image) return 0;
    std::uint64_t hash = 1469598103934665603ull;
    const std::size_t bytes = static_cast<std::size_t>(image->bytes_per_line) * image->height;
    for (std::size_t i = 0; i < bytes; ++i) hash = (hash ^ static_cast<unsigned char>(image->data[i])) * 1099511628211ull;
    XDestroyImage(image);
    return hash | 1;
  }

  std::vector<Window> TopLevels() {
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &n);
    std::vector<Window> out;
    for (unsigned int i = 0; i < n; ++i) out.push_back(children[i]);
    if (children) XFree(children);
    return out;
  }
};

}  // namespace glintora::testing
