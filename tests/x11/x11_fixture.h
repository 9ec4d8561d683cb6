// The X11 tests' one helper: glintora started as a child with a private settings folder (killed at
// the latest when the test ends), waiting for a state with a deadline, and the screen read back
// through the test's own connection; scratch windows and XTest input. Never a fixed sleep.
#pragma once

#include <gtest/gtest.h>  // before Xlib: its None macro breaks gtest
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace glintora::testing {

// Only a failing test waits this long, so it is generous: a loaded machine may take seconds to
// start a program or draw its first frame.
inline constexpr double kPatience = 30.0;

// Polls done() until it holds or seconds have passed.
template <typename Done>
bool WaitUntil(Done done, double seconds = kPatience) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;; std::this_thread::sleep_for(std::chrono::milliseconds(5))) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
  }
}

// glintora with its arguments, a settings folder of its own, the daemon's window (if any) in its
// environment and no Wayland session (which would take the windows of a run from a Wayland
// desktop); its stdout and stderr kept in memory files.
class ChildProcess {
  const int out_ = memfd_create("stdout", MFD_CLOEXEC), err_ = memfd_create("stderr", MFD_CLOEXEC);
  int code_ = -1;  // the exit code once reaped

 public:
  const pid_t pid = fork();
  ChildProcess(const std::vector<std::string>& args, const std::string& config, const std::string& daemonWindow) {
    if (pid != 0) return;
    dup2(out_, 1), dup2(err_, 2);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1), unsetenv("WAYLAND_DISPLAY");
    if (daemonWindow.empty()) unsetenv("XSCREENSAVER_WINDOW");
    else setenv("XSCREENSAVER_WINDOW", daemonWindow.c_str(), 1);
    std::vector<char*> argv{const_cast<char*>(GLINTORA_BINARY)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(GLINTORA_BINARY, argv.data());
    _exit(127);
  }
  ~ChildProcess() {
    if (Running()) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
    close(out_), close(err_);
  }
  ChildProcess(const ChildProcess&) = delete;

  bool Running() {
    int status = 0;
    if (pid <= 0 || code_ >= 0) return false;
    if (waitpid(pid, &status, WNOHANG) != pid) return true;
    code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
  }
  // The exit code (128 + signal when killed); -1 when it still runs after the deadline.
  int WaitExit() { return WaitUntil([&] { return !Running(); }), code_; }
  bool WaitForOutput(const std::string& s) { return WaitUntil([&] { return Out().find(s) != std::string::npos; }); }
  std::string Out() const { return Read(out_); }
  std::string Err() const { return Read(err_); }

 private:
  static std::string Read(int fd) {
    std::string text;
    char buf[4096];
    for (ssize_t n; (n = pread(fd, buf, sizeof buf, static_cast<off_t>(text.size()))) > 0;) text.append(buf, n);
    return text;
  }
};

class X11Fixture : public ::testing::Test {
 protected:
  void SetUp() override {
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // a window may vanish mid-read
    // Xvfb resets when its last client leaves and refuses connections meanwhile: keep one
    // connection for the whole program, and retry while a reset may be under way.
    [[maybe_unused]] static Display* keepAlive = XOpenDisplay(nullptr);
    WaitUntil([&] { return (display_ = XOpenDisplay(nullptr)) != nullptr; });
    ASSERT_NE(display_, nullptr) << "no X display (run under xvfb-run)";
    std::string pattern = (std::filesystem::temp_directory_path() / "glintora-x11-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    config_ = pattern;
  }
  void TearDown() override {
    if (display_) XCloseDisplay(display_);  // and with it the test's windows
    std::error_code ec;
    std::filesystem::remove_all(config_, ec);
  }

  ChildProcess Run(const std::vector<std::string>& args, const std::string& daemonWindow = "") {
    return ChildProcess(args, config_.string(), daemonWindow);
  }
  std::filesystem::path SettingsFile() const { return config_ / "glintora" / "settings.ini"; }
  void WriteUserSettings(const std::string& text) {
    std::filesystem::create_directories(SettingsFile().parent_path());
    std::ofstream(SettingsFile()) << text;
  }

  // A mapped child of the root: the default visual, or the one given with a colormap of its own.
  Window MakeWindow(int x, int y, int w, int h, Visual* visual = nullptr, int depth = 0) {
    XSetWindowAttributes set{};
    if (visual) set.colormap = XCreateColormap(display_, DefaultRootWindow(display_), visual, AllocNone);
    const Window win = XCreateWindow(display_, DefaultRootWindow(display_), x, y, w, h, 0, depth, InputOutput,
                                     visual, CWBorderPixel | CWBackPixel | (visual ? CWColormap : 0), &set);
    XMapWindow(display_, win), XSync(display_, False);
    return win;
  }

  std::vector<Window> TopLevels() {
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    std::vector<Window> out;
    if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &n) && children)
      out.assign(children, children + n), XFree(children);
    return out;
  }

  // The viewable top-level window whose _NET_WM_PID is the child's; 0 when none appears in time.
  Window WindowOf(const ChildProcess& child) {
    const Atom pidAtom = XInternAtom(display_, "_NET_WM_PID", False);
    Window found = 0;
    WaitUntil([&] {
      for (Window w : TopLevels()) {
        Atom type;
        int format;
        unsigned long items = 0, after;
        unsigned char* data = nullptr;
        XWindowAttributes attrs{};
        XGetWindowProperty(display_, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after, &data);
        const bool ours = items == 1 && *reinterpret_cast<long*>(data) == child.pid;
        if (data) XFree(data);
        if (ours && XGetWindowAttributes(display_, w, &attrs) && attrs.map_state == IsViewable) found = w;
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
  // Waits until the window's picture has changed frames times: the show has run that many more
  // frames, so it has handled every event sent before this call (and two changes light a pixel:
  // only black is unlit). False if the window goes.
  bool WaitForNewFrames(Window win, int frames) {
    std::vector<unsigned long> last = Pixels(win);
    int seen = 0;
    WaitUntil([&] {
      std::vector<unsigned long> now = Pixels(win);
      if (now.empty()) return true;
      if (now != last) ++seen, last.swap(now);
      return seen >= frames;
    });
    return seen >= frames;
  }

  void SendKey(KeySym sym) {
    const KeyCode code = XKeysymToKeycode(display_, sym);
    XTestFakeKeyEvent(display_, code, True, CurrentTime), XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
  }

  Display* display_ = nullptr;
  std::filesystem::path config_;
};

}  // namespace glintora::testing
