#include "scr_process.h"

#include <cstdlib>
#include <vector>

namespace glintora::test {

std::string ScrPath() {
  const char* value = std::getenv("GLINTORA_SCR");
  if (!value || !*value) return {};
  std::string path = value;
  if (path[0] == '/') {
    path = "Z:" + path;
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
  }
  return path;
}

ScrProcess::~ScrProcess() {
  if (!info_.hProcess) return;
  if (Running()) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool ScrProcess::Start(const std::string& program, const std::string& arguments) {
  std::string line = "\"" + program + "\"";
  if (!arguments.empty()) line += " " + arguments;
  std::vector<char> buffer(line.begin(), line.end());
  buffer.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  return CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info_) != 0;
}

bool ScrProcess::Running() {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD ScrProcess::ExitCode() {
  DWORD code = STILL_ACTIVE;
  if (info_.hProcess) GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

bool ScrProcess::WaitForExit(DWORD ms) {
  return info_.hProcess && PumpUntil(ms, [this] { return !Running(); });
}

HWND ScrProcess::WaitForWindow(DWORD ms) { return FindWindowOfProcess(nullptr, ms); }

HWND ScrProcess::WaitForWindow(const std::string& caption, DWORD ms) {
  return FindWindowOfProcess(&caption, ms);
}

HWND ScrProcess::FindWindowOfProcess(const std::string* caption, DWORD ms) {
  struct Search {
    DWORD pid;
    const std::string* caption;
    HWND found;
  } search{info_.dwProcessId, caption, nullptr};
  PumpUntil(ms, [&] {
    EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
          auto* s = reinterpret_cast<Search*>(lParam);
          DWORD pid = 0;
          GetWindowThreadProcessId(window, &pid);
          if (pid != s->pid || !IsWindowVisible(window)) return TRUE;
          if (s->caption && WindowCaption(window) != *s->caption) return TRUE;
          s->found = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr || !Running();
  });
  return search.found;
}

CaptionedWindow::CaptionedWindow(const char* caption, DWORD style) {
  static const char kClass[] = "GlintoraTestWindow";
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClass;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RegisterClassA(&wc);  // fails harmlessly when already registered
  window_ = CreateWindowExA(0, kClass, caption, style, 50, 50, 200, 150, nullptr, nullptr,
                            wc.hInstance, nullptr);
  if (window_) ShowWindow(window_, SW_SHOWNOACTIVATE);
}

CaptionedWindow::~CaptionedWindow() { Destroy(); }

void CaptionedWindow::Destroy() {
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
}

std::string WindowCaption(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

TempFolder::TempFolder(const std::string& name) {
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  path_ = std::string(base) + "glintora-" + name + "-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((path_ + "\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      DeleteFileA((path_ + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
  RemoveDirectoryA(path_.c_str());
}

}  // namespace glintora::test
