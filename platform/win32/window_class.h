// Window classes of the display windows: black background, registered once per process.
#pragma once

#include <windows.h>

namespace glintora {

struct WindowClass {
  const char* Name;
  WNDPROC Procedure;
  HCURSOR Cursor = nullptr;  // none: the window sets its own, or inherits its parent's
  HICON Icon = nullptr;
  UINT Style = 0;
};

// True when the class exists already or was registered now.
inline bool RegisterWindowClass(HINSTANCE instance, const WindowClass& spec) {
  WNDCLASSEXA wc{};
  if (GetClassInfoExA(instance, spec.Name, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.style = spec.Style;
  wc.lpfnWndProc = spec.Procedure;
  wc.hInstance = instance;
  wc.hIcon = spec.Icon;
  wc.hCursor = spec.Cursor;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = spec.Name;
  return RegisterClassExA(&wc) != 0;
}

}  // namespace glintora
