#include "platform/win32/splash_window.h"
#include "platform/win32/window_class.h"

#include "resources/display_resources.h"

namespace glintora {

namespace {

constexpr char kSplashClass[] = "GlintoraSplash";
constexpr UINT_PTR kDelayTimer = 1;

struct SplashState {
  HBITMAP Picture = nullptr;
};

LRESULT CALLBACK SplashProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = WindowObject<SplashState>(window, message, lParam);
  switch (message) {
    case WM_TIMER:
      if (wParam == kDelayTimer) {
        KillTimer(window, kDelayTimer);
        DestroyWindow(window);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      if (state && state->Picture) {
        if (HDC source = CreateCompatibleDC(dc)) {
          HGDIOBJ old = SelectObject(source, state->Picture);
          BitBlt(dc, 0, 0, kSplashWidth, kSplashHeight, source, 0, 0, SRCCOPY);
          SelectObject(source, old);
          DeleteDC(source);
        }
      }
      EndPaint(window, &paint);
      return 0;
    }
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // the mouse is the saver's, over the picture too
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterSplash(HINSTANCE instance) {
  return RegisterWindowClass(instance, {kSplashClass, SplashProc});
}

}  // namespace

void ShowSplashModal(HINSTANCE instance, HWND parent, const bool* cancelled) {
  if (!RegisterSplash(instance)) return;
  SplashState state;
  state.Picture = static_cast<HBITMAP>(
      LoadImageA(instance, MAKEINTRESOURCEA(GLINTORA_IDB_SPLASH), IMAGE_BITMAP, 0, 0, 0));

  // The window's inside is exactly the picture; the window is centred on the primary screen,
  // whose origin is the screen origin, wherever the parent begins.
  const DWORD style = WS_CHILD | WS_BORDER | WS_CLIPSIBLINGS;
  RECT frame{0, 0, kSplashWidth, kSplashHeight};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  POINT centre{(GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
  ScreenToClient(parent, &centre);
  HWND splash = CreateWindowExA(0, kSplashClass, "", style, centre.x, centre.y, width, height,
                                parent, nullptr, instance, &state);
  if (!splash) {
    if (state.Picture) DeleteObject(state.Picture);
    return;
  }
  SetTimer(splash, kDelayTimer, kSplashMilliseconds, nullptr);
  ShowWindow(splash, SW_SHOWNA);
  UpdateWindow(splash);

  MSG message;
  while (IsWindow(splash) && !*cancelled) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));  // for the outer loop
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (IsWindow(splash)) DestroyWindow(splash);
  if (state.Picture) DeleteObject(state.Picture);
}

}  // namespace glintora
