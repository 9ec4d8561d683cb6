// What every Windows test shares:
//   ScrProcess, PumpUntil, Eventually  the program under test as a child; waits that keep
//                                      messages flowing
//   ScrTest                            a fixture for tests that start GlintoraFireworks.scr
//   Placed, Setting                    a window's place, a setting as the program reads it
//   CaptionedWindow, TempFolder        windows and files of our own
//   ScratchKey, PutSetting             registry keys and settings for a test
//   DialogProgram, TypeInto..          a program record over a scratch key, the user's input
//   Pixels, LitPixels                  pixels read back from a window or the screen
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win32/program.h"

namespace glintora::test {

constexpr const char* kSaverCaption = "KRYX:Glintora Fireworks 1.0";
constexpr const char* kPropertiesCaption = "Glintora Fireworks";

// How long a test waits for what must happen. Only a failing test waits this long, so it is
// generous: a loaded machine may take many seconds to start a program under Wine.
constexpr DWORD kPatience = 30000;

// GLINTORA_SCR, a Unix path mapped to Wine's Z: drive; empty when unset.
std::string ScrPath();

// Handles this thread's messages until done() or ms have passed, so a child that sends to a
// window of ours never blocks.
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
template <typename Done>
bool Eventually(Done done) { return PumpUntil(kPatience, done); }

// What owns a window, a process, a folder or a key is not copied.
struct NoCopy {
  NoCopy() = default;
  NoCopy(const NoCopy&) = delete;
  NoCopy& operator=(const NoCopy&) = delete;
};

// A child process, killed if still running when the object goes.
class ScrProcess : NoCopy {
 public:
  ~ScrProcess();

  bool Start(const std::string& program, const std::string& arguments);
  bool Running() { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  bool WaitForExit(DWORD ms = kPatience) { return info_.hProcess && PumpUntil(ms, [this] { return !Running(); }); }
  DWORD ExitCode() {  // STILL_ACTIVE while running
    DWORD code = STILL_ACTIVE;
    return info_.hProcess && GetExitCodeProcess(info_.hProcess, &code) ? code : STILL_ACTIVE;
  }
  // A visible top-level window of the process with exactly this caption; nullptr after ms.
  HWND WaitForWindow(const std::string& caption, DWORD ms = kPatience);

 private:
  PROCESS_INFORMATION info_{};
};

// For the tests that start the built program.
class ScrTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scr_ = ScrPath();
    ASSERT_FALSE(scr_.empty()) << "set GLINTORA_SCR to the path of GlintoraFireworks.scr";
  }
  std::string scr_;
};

std::string TextOf(HWND window);
inline RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}
// left, top, width, height of the window on screen
inline std::vector<LONG> Placed(HWND window) {
  const RECT r = ScreenRect(window);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// A window of our own, shown without taking the focus; proc, if given, handles its messages.
class CaptionedWindow : NoCopy {
 public:
  explicit CaptionedWindow(const char* caption, DWORD style = WS_OVERLAPPEDWINDOW,
                           WNDPROC proc = nullptr);
  ~CaptionedWindow() { Destroy(); }
  HWND Get() const { return window_; }
  void Destroy() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
  }

 private:
  HWND window_ = nullptr;
};

// A fresh folder under the temporary folder, removed with its files at the end. Paths are UTF-8.
class TempFolder : NoCopy {
 public:
  explicit TempFolder(const std::string& name);
  ~TempFolder();
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }
  long Count() const;  // the entries in it

 private:
  std::string path_;
};

// A file's bytes written or read whole; the path is UTF-8.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

// HKEY_CURRENT_USER\Software\GlintoraTests\<name>, empty at the start and deleted at the end.
class ScratchKey : NoCopy {
 public:
  explicit ScratchKey(const std::string& name) : path_("Software\\GlintoraTests\\" + name) {
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
  }
  ~ScratchKey() {
    if (key_) RegCloseKey(key_);
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  }
  HKEY Root() const { return key_; }

 private:
  std::string path_;
  HKEY key_ = nullptr;
};

// A setting where the program under test reads it (machine key, per-user copy removed);
// RemoveSetting deletes both; Setting reads it as the program does, "?" when absent.
void PutSetting(const std::string& section, const std::string& key, const std::string& value);
void RemoveSetting(const std::string& section, const std::string& key);
std::string Setting(const std::string& section, const std::string& key);

// A program record whose store is a scratch key.
class DialogProgram {
 public:
  explicit DialogProgram(const std::string& name);
  Program& Get() { return *program_; }
  Store& StoreOf() { return program_->Store; }
  std::string Stored(const std::string& section, const std::string& key);  // "<absent>"

 private:
  ScratchKey key_;
  std::unique_ptr<Program> program_;
};

// Focuses the field (selecting its text) and types the characters (UTF-8), one UTF-16 unit each.
void TypeInto(HWND edit, const std::string& chars);
inline void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }
// Picks an entry of a pick list or list box and tells its dialog, as a user's choice does.
void ChooseEntry(HWND list, int index);
// Posts a key to the window with the focus and handles what is pending.
void PressKey(WPARAM key);

// The pixels (0x00RRGGBB) of rect read through source's device context (client coordinates)
// or, for nullptr, from the screen, row by row; rect is cut to what exists there.
std::vector<DWORD> Pixels(HWND source, RECT& rect);
// Of those, the ones that are not black.
long LitPixels(HWND source, RECT rect);

}  // namespace glintora::test
