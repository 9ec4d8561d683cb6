#include "display_support.h"

#include <vector>

#include "platform/win32/registry_store.h"
#include "settings/store_ops.h"

namespace glintora::test {

namespace {

void DeleteValue(HKEY root, const std::string& section, const std::string& key) {
  const std::string path = "SOFTWARE\\GlintoraFireworks\\" + section;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE, &opened) == ERROR_SUCCESS) {
    RegDeleteValueA(opened, key.c_str());
    RegCloseKey(opened);
  }
}

}  // namespace

void PutSetting(const std::string& section, const std::string& key, const std::string& value) {
  DeleteValue(HKEY_CURRENT_USER, section, key);
  RegistryStore store;
  RegWriteText(store, section, key, value);
}

void RemoveSetting(const std::string& section, const std::string& key) {
  DeleteValue(HKEY_CURRENT_USER, section, key);
  DeleteValue(HKEY_LOCAL_MACHINE, section, key);
}

long NonBlackPixels(const RECT& wanted) {
  // Only what lies on the screen can be read (a maximised window reaches past its edges).
  const RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                    GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                    GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  RECT rect{};
  if (!IntersectRect(&rect, &wanted, &screen)) return 0;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return 0;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screenDc = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screenDc);
  HBITMAP bitmap = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  long count = 0;
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screenDc, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (long i = 0; i < static_cast<long>(width) * height; ++i)
      if ((pixels[i] & 0x00FFFFFF) != 0) ++count;
    SelectObject(memory, old);
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screenDc);
  return count;
}

HWND FindProcessWindow(DWORD processId, const char* caption) {
  struct Search {
    DWORD pid;
    const char* caption;
    HWND found;
  } search{processId, caption, nullptr};
  EnumWindows(
      [](HWND window, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != s->pid || !IsWindowVisible(window) || WindowCaption(window) != s->caption)
          return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForCaption(ScrProcess& process, const char* caption, DWORD ms) {
  const DWORD start = GetTickCount();
  HWND any = process.WaitForWindow(ms);
  if (!any) return nullptr;
  DWORD pid = 0;
  GetWindowThreadProcessId(any, &pid);
  HWND found = nullptr;
  const DWORD spent = GetTickCount() - start;
  PumpUntil(spent < ms ? ms - spent : 0, [&] {
    found = FindProcessWindow(pid, caption);
    return found != nullptr || !process.Running();
  });
  return found;
}

}  // namespace glintora::test
