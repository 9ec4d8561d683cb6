// Starting GlintoraFireworks.scr (or a copy of it) as a child process and watching it from the
// outside: its windows, its end. Every wait is bounded and handles this thread's messages, so a
// child that sends to a window of ours (a preview host) never blocks; a child still running when
// the object goes away is killed.
#pragma once

#include <windows.h>

#include <string>

namespace glintora::test {

// The program under test, from GLINTORA_SCR (a Unix path is mapped to Wine's Z: drive); empty
// when the variable is not set.
std::string ScrPath();

// Handles this thread's pending messages until done() or ms milliseconds have passed.
template <typename Done>
bool PumpUntil(DWORD ms, Done done) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (done()) return true;
    if (GetTickCount() - start >= ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

class ScrProcess {
 public:
  ScrProcess() = default;
  ~ScrProcess();
  ScrProcess(const ScrProcess&) = delete;
  ScrProcess& operator=(const ScrProcess&) = delete;

  // Runs "<program>" <arguments>; false when the process could not be created.
  bool Start(const std::string& program, const std::string& arguments);
  // True when the process ended within ms.
  bool WaitForExit(DWORD ms);
  bool Running();
  // The exit code once ended (STILL_ACTIVE while running).
  DWORD ExitCode();
  // The first visible top-level window of the process with this caption, waiting up to ms;
  // nullptr when none appeared.
  HWND WaitForWindow(const std::string& caption, DWORD ms);
  // The same for any caption.
  HWND WaitForWindow(DWORD ms);

 private:
  HWND FindWindowOfProcess(const std::string* caption, DWORD ms);
  PROCESS_INFORMATION info_{};
};

// A top-level window of this process with the given caption, for the child to find.
class CaptionedWindow {
 public:
  explicit CaptionedWindow(const char* caption, DWORD style = WS_OVERLAPPEDWINDOW);
  ~CaptionedWindow();
  CaptionedWindow(const CaptionedWindow&) = delete;
  CaptionedWindow& operator=(const CaptionedWindow&) = delete;
  HWND Get() const { return window_; }
  void Destroy();

 private:
  HWND window_ = nullptr;
};

std::string WindowCaption(HWND window);

// A fresh folder under the temporary folder, removed with its files at the end.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

}  // namespace glintora::test
