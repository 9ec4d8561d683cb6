#include "harness.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "engine/trig_tables.h"
#include "platform/win32/dialogs/dialog_window.h"
#include "platform/win32/files/wide_text.h"
#include "settings/store_ops.h"

namespace glintora::test {

std::string ScrPath() {
  const char* value = std::getenv("GLINTORA_SCR");
  std::string path = value ? value : "";
  if (!path.empty() && path[0] == '/') {
    path = "Z:" + path;
    for (char& c : path) c = c == '/' ? '\\' : c;
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
  std::wstring line = Widen("\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  // Under load Wine's CreateProcessW now and then fails for a program that starts on the next try;
  // one that truly cannot start fails every try until the deadline.
  return Eventually([&] {
    return CreateProcessW(Widen(program).c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info_) != 0;
  });
}

HWND ScrProcess::WaitForWindow(const std::string& caption, DWORD ms) {
  HWND found = nullptr;
  PumpUntil(ms, [&] {
    for (HWND w = nullptr; !found && (w = FindWindowExA(nullptr, w, nullptr, nullptr));) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == info_.dwProcessId && IsWindowVisible(w) && TextOf(w) == caption) found = w;
    }
    return found != nullptr || !Running();
  });
  return found;
}

std::string TextOf(HWND window) { return WindowText(window); }


CaptionedWindow::CaptionedWindow(const char* caption, DWORD style, WNDPROC proc) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "GlintoraTestWindow";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RegisterClassA(&wc);  // fails harmlessly when already registered
  window_ = CreateWindowExA(0, wc.lpszClassName, caption, style, 50, 50, 200, 150, nullptr,
                            nullptr, wc.hInstance, nullptr);
  if (window_ && proc) SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  if (window_) ShowWindow(window_, SW_SHOWNOACTIVATE);
}

TempFolder::TempFolder(const std::string& name) {
  const std::string leaf = "glintora-" + name + "-" + std::to_string(GetCurrentProcessId());
  const auto folder = std::filesystem::temp_directory_path() / Widen(leaf);
  path_ = Narrow(folder.wstring());
  std::filesystem::create_directories(folder);
}

long TempFolder::Count() const {
  return static_cast<long>(std::distance(std::filesystem::directory_iterator(Widen(path_)), {}));
}

// A folder and all in it removed through the \\?\ form: a test may make paths beyond the plain
// form's 260 characters, which the standard library's removal cannot reach.
static void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
    const std::wstring name = found.cFileName, full = path + L"\\" + name;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
    else DeleteFileW(full.c_str());
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  RemoveDirectoryW(path.c_str());
}

TempFolder::~TempFolder() { RemoveTree(L"\\\\?\\" + Widen(path_)); }

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(Widen(path)), std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(std::filesystem::path(Widen(path)), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void PutSetting(const std::string& section, const std::string& key, const std::string& value) {
  RemoveSetting(section, key);
  RegistryStore store;
  RegWriteText(store, section, key, value);
}

void RemoveSetting(const std::string& section, const std::string& key) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    RegDeleteKeyValueA(root, ("SOFTWARE\\GlintoraFireworks\\" + section).c_str(), key.c_str());
}

std::string Setting(const std::string& section, const std::string& key) {
  RegistryStore store;
  return RegReadText(store, section, key, "?");
}

DialogProgram::DialogProgram(const std::string& name)
    : key_(name), program_(std::make_unique<Program>()) {
  program_->Instance = GetModuleHandleA(nullptr);
  program_->Store = RegistryStore(RegistryLocation{key_.Root(), nullptr, "Store"});
  BuildTrigTables(program_->Engine.Trig);
}

std::string DialogProgram::Stored(const std::string& section, const std::string& key) {
  return RegReadText(program_->Store, section, key, "<absent>");
}

void TypeInto(HWND edit, const std::string& chars) {
  SetFocus(edit);
  for (wchar_t ch : Widen(chars)) SendMessageW(edit, WM_CHAR, ch, 1);
}


void ChooseEntry(HWND list, int index) {
  char kind[16] = "";
  GetClassNameA(list, kind, sizeof kind);
  const bool pick = lstrcmpiA(kind, "ComboBox") == 0;
  SendMessageW(list, pick ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(GetParent(list), WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(list), pick ? CBN_SELCHANGE : LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
}

void PressKey(WPARAM key) {
  PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
  PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
  PumpPendingMessages();
}

std::vector<DWORD> Pixels(HWND source, RECT& rect) {
  RECT area{};
  if (source) {
    GetClientRect(source, &area);
  } else {  // a maximised window reaches past the screen's edges
    area.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    area.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    area.right = area.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    area.bottom = area.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  }
  if (!IntersectRect(&rect, &rect, &area)) return {};
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  std::vector<DWORD> pixels;
  HDC dc = GetDC(source);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, dc, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    pixels.assign(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
    for (DWORD& pixel : pixels) pixel &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(source, dc);
  return pixels;
}

long LitPixels(HWND source, RECT rect) {
  const std::vector<DWORD> pixels = Pixels(source, rect);
  return static_cast<long>(pixels.size() - std::count(pixels.begin(), pixels.end(), 0u));
}

}  // namespace glintora::test
