// What the X11 tests share: a child process that always ends, a connection to the test's X server,
// scratch windows, a private settings folder for the child, XTest input and pixel read-back.
// Tests wait for a state with a deadline, never a fixed time.
#pragma once

#include <gtest/gtest.h>  // before Xlib: its None macro breaks gtest
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace glintora::testing {

// How long a test waits for what must happen. Only a failing test waits this long, so it is
// generous: a loaded machine may take seconds to start a program or draw its first frame.
inline constexpr double kPatience = 30.0;

// Polls done() until it holds or seconds have passed.
template <typename Done>
bool WaitUntil(double seconds, Done done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;; std::this_thread::sleep_for(std::chrono::milliseconds(5))) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
  }
}

// A child process with its own arguments and environment, its output collected; killed at the
// latest when the object goes, so no test can hang.
class ChildProcess {
 public:
  // env entries "NAME=value" set NAME, "NAME=" unsets it.
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::vector<std::string>& env) {
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) return;
    if ((pid_ = fork()) == 0) {
      dup2(out[1], 1), dup2(err[1], 2);
      for (int fd : {out[0], out[1], err[0], err[1]}) close(fd);
      for (const std::string& e : env) {
        const std::string name = e.substr(0, e.find('='));
        if (e.size() == name.size() + 1) unsetenv(name.c_str());
        else setenv(name.c_str(), e.c_str() + name.size() + 1, 1);
      }
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    close(out[1]), close(err[1]);
    fds_[0] = out[0], fds_[1] = err[0];
    for (int fd : fds_) fcntl(fd, F_SETFL, O_NONBLOCK);
  }
  ~ChildProcess() {
    if (Running()) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
    for (int fd : fds_) close(fd);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  bool Running() {
    int status = 0;
    if (pid_ <= 0 || code_ >= 0) return false;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
    code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
  }
  // Waits up to seconds for the end; true with its exit code (128 + signal when killed). Drains
  // meanwhile, so a child that writes much never blocks on a full pipe.
  bool WaitExit(double seconds, int& code) {
    WaitUntil(seconds, [&] { return Drain(), !Running(); });
    return (code = code_) >= 0;
  }
  // Waits up to seconds until stdout holds text.
  bool WaitForOutput(const std::string& text, double seconds) {
    WaitUntil(seconds, [&] { return Out().find(text) != std::string::npos || !Running(); });
    return Out().find(text) != std::string::npos;
  }
  const std::string& Out() { return Drain(), text_[0]; }
  const std::string& Err() { return Drain(), text_[1]; }

 private:
  void Drain() {
    char buf[4096];
    for (int k : {0, 1})
      for (ssize_t n; fds_[k] >= 0 && (n = read(fds_[k], buf, sizeof buf)) > 0;) text_[k].append(buf, n);
  }

  pid_t pid_ = -1;
  int fds_[2] = {-1, -1};  // the child's stdout and stderr
  int code_ = -1;          // its exit code once reaped
  std::string text_[2];
};

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
    std::filesystem::remove_all(config_, ec);
  }

  // glintora with a private settings folder; the daemon's window, if any, in its environment.
  ChildProcess Run(const std::vector<std::string>& args, const std::string& daemonWindow = "") {
    return ChildProcess(GLINTORA_BINARY, args,
                        {"XDG_CONFIG_HOME=" + config_.string(), "XSCREENSAVER_WINDOW=" + daemonWindow});
  }
  std::filesystem::path SettingsFile() const { return config_ / "glintora" / "settings.ini"; }
  void WriteUserSettings(const std::string& text) {
    std::filesystem::create_directories(SettingsFile().parent_path());
    std::ofstream(SettingsFile()) << text;
  }

  // A mapped child of the root: the default visual, or the one given with its colormap.
  Window MakeWindow(int x, int y, int w, int h, Visual* visual = nullptr, int depth = 0,
                    Colormap colormap = 0) {
    XSetWindowAttributes set{};
    set.colormap = colormap;
    const Window win = XCreateWindow(display_, DefaultRootWindow(display_), x, y, w, h, 0, depth,
                                     InputOutput, visual,  // nullptr: the parent's
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

  std::vector<Window> TopLevels() {
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &n);
    std::vector<Window> out;
    for (unsigned int i = 0; i < n; ++i) out.push_back(children[i]);
    if (children) XFree(children);
    return out;
  }

  // The mapped top-level window whose _NET_WM_PID is pid; 0 when none appears in time.
  Window FindWindowOfPid(pid_t pid) {
    Window found = 0;
    WaitUntil(kPatience, [&] {
      for (Window w : TopLevels()) {
        Atom type;
        int format;
        unsigned long items = 0, after;
        unsigned char* data = nullptr;
        XWindowAttributes attrs{};
        XGetWindowProperty(display_, w, XInternAtom(display_, "_NET_WM_PID", False), 0, 1, False,
                           XA_CARDINAL, &type, &format, &items, &after, &data);
        if (items == 1 && *reinterpret_cast<long*>(data) == pid && XGetWindowAttributes(display_, w, &attrs) &&
            attrs.map_state == IsViewable)
          found = w;
        if (data) XFree(data);
      }
      return found != 0;
    });
    return found;
  }

  // The window's pixels row by row; empty when it cannot be read.
  std::vector<unsigned long> Pixels(Window win) {
    XWindowAttributes attrs{};
    XImage* image = XGetWindowAttributes(display_, win, &attrs)
        ? XGetImage(display_, win, 0, 0, attrs.width, attrs.height, AllPlanes, ZPixmap) : nullptr;
    std::vector<unsigned long> out;
    for (int y = 0; image && y < attrs.height; ++y)
      for (int x = 0; x < attrs.width; ++x) out.push_back(XGetPixel(image, x, y));
    if (image) XDestroyImage(image);
    return out;
  }
  bool AnyLitPixel(Window win) {
    const auto p = Pixels(win);
    return std::any_of(p.begin(), p.end(), [](unsigned long v) { return v != 0; });
  }
  bool WaitForLitPixel(Window win) { return WaitUntil(kPatience, [&] { return AnyLitPixel(win); }); }
  // Waits until the window's picture has changed frames times: the show has run that many more
  // frames, so it has handled every event sent before this call. false if the window goes.
  bool WaitForNewFrames(Window win, int frames) {
    std::vector<unsigned long> last = Pixels(win);
    int seen = 0;
    WaitUntil(kPatience, [&] {
      std::vector<unsigned long> now = Pixels(win);
      if (now.empty()) return true;
      if (now != last) ++seen, last.swap(now);
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

  Display* display_ = nullptr;
  std::filesystem::path config_;
  std::vector<Window> windows_;
};

}  // namespace glintora::testing
