#include "platform/win32/standin_window.h"

#include <memory>

namespace glintora {

namespace {

constexpr char kClassName[] = "GlintoraStandIn";
constexpr UINT_PTR kHostTimer = 1;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* spec = reinterpret_cast<StandInSpec*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (spec && (spec->CloseOnAnyInput || wParam == VK_ESCAPE)) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (spec && spec->CloseOnAnyInput) PostMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_TIMER:
      if (wParam == kHostTimer && spec && !IsWindow(spec->WatchedHost)) DestroyWindow(window);
      return 0;
    case WM_NCDESTROY: {
      // The spec was allocated by CreateStandInWindow and lives exactly as long as the window.
      std::unique_ptr<StandInSpec> owned(spec);
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      if (owned && owned->OnClosed) owned->OnClosed();
      PostQuitMessage(0);
      break;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterStandInClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  if (GetClassInfoExA(instance, kClassName, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = StandInProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kClassName;
  return RegisterClassExA(&wc) != 0;
}

}  // namespace

HWND CreateStandInWindow(HINSTANCE instance, const StandInSpec& spec) {
  if (!RegisterStandInClass(instance)) return nullptr;
  auto owned = std::make_unique<StandInSpec>(spec);
  HWND window = CreateWindowExA(spec.ExStyle, kClassName, spec.Caption, spec.Style, spec.X,
                                spec.Y, spec.Width, spec.Height, spec.Parent, nullptr, instance,
                                owned.get());
  if (!window) return nullptr;
  owned.release();  // the window owns it now
  if (spec.WatchedHost) SetTimer(window, kHostTimer, 200, nullptr);
  ShowWindow(window, (spec.Style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOW);
  UpdateWindow(window);
  return window;
}

}  // namespace glintora
