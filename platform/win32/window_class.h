// Window classes of the display windows (black background, registered once per process) and the
// window-to-object link their procedures use.
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
inline bool RegisterWindowClass(HINSTANCE instance, const WindowClass& wanted) {
  WNDCLASSEXA wc{};
  if (GetClassInfoExA(instance, wanted.Name, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.style = wanted.Style;
  wc.lpfnWndProc = wanted.Procedure;
  wc.hInstance = instance;
  wc.hIcon = wanted.Icon;
  wc.hCursor = wanted.Cursor;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = wanted.Name;
  return RegisterClassExA(&wc) != 0;
}

// The object a window was created for (CreateWindowExA's last argument), kept in the window from
// WM_NCCREATE on so that its procedure only unpacks messages; null before that.
template <class Object>
Object* WindowObject(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* object =
        static_cast<Object*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    return object;
  }
  return reinterpret_cast<Object*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace glintora
