// Sections: the empty dialog template; layout; the dialog procedure; the entry.
#include "platform/win32/welcome_window.h"

#include "platform/win32/web_page.h"
#include "resources/display_resources.h"

namespace glintora {

namespace {

constexpr int kLogoWidth = 342;
constexpr int kLogoHeight = 230;
constexpr int kButtonWidthTwips = 1215;
constexpr int kButtonHeightTwips = 375;
constexpr int kWebId = 1001;
constexpr int kLogoId = 1002;
constexpr wchar_t kCaption[] = L"Glintora Fireworks v1.0";

struct WelcomeState {
  Program* Owner = nullptr;
  bool LaidOut = false;
  HBITMAP Logo = nullptr;
  HFONT Font = nullptr;
};

// --- The empty dialog template: the controls are made in code so their sizes follow pixels.

struct alignas(4) EmptyTemplate {
  DLGTEMPLATE Header;
  WORD Menu;
  WORD WindowClass;
  wchar_t Title[sizeof kCaption / sizeof(wchar_t)];
};

EmptyTemplate MakeTemplate() {
  EmptyTemplate t{};
  t.Header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.Header.cdit = 0;
  for (std::size_t i = 0; i < sizeof kCaption / sizeof(wchar_t); ++i) t.Title[i] = kCaption[i];
  return t;
}

// --- Layout: the logo at the left, the buttons in a column 10 pixels right of it with a
// 10-pixel margin to the right edge; the window exactly as high as the logo.

int Pixels(int twips, std::int16_t twipsPerPixel) {
  return MulDiv(twips, 1, twipsPerPixel > 0 ? twipsPerPixel : 15);
}

void LayOut(HWND dialog, const RunState& run, HFONT font) {
  const int px = run.TwipsPerPixelX > 0 ? run.TwipsPerPixelX : 15;
  const int buttonWidth = Pixels(kButtonWidthTwips, static_cast<std::int16_t>(px));
  const int buttonHeight = Pixels(kButtonHeightTwips, run.TwipsPerPixelY);
  const int column = kLogoWidth + 10;  // 10 px: (10 * px) twips at px twips per pixel

  RECT frame{0, 0, kLogoWidth + buttonWidth + 20, kLogoHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);

  HWND ok = GetDlgItem(dialog, IDOK);
  HWND web = GetDlgItem(dialog, kWebId);
  SetWindowPos(ok, nullptr, column, 10, buttonWidth, buttonHeight, SWP_NOZORDER);
  SetWindowPos(web, nullptr, column, 10 + buttonHeight + 8, buttonWidth, buttonHeight,
               SWP_NOZORDER);
  if (font) {
    SendMessageA(ok, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(web, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

HFONT MessageFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    return CreateFontIndirectA(&metrics.lfMessageFont);
  return nullptr;
}

// --- The dialog procedure.

INT_PTR CALLBACK WelcomeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<WelcomeState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<WelcomeState*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      HINSTANCE instance = state->Owner->Instance;
      if (HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(1))) {
        SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
      }
      HWND logo = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, 0, 0,
                                  kLogoWidth, kLogoHeight, dialog,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLogoId)),
                                  instance, nullptr);
      state->Logo = static_cast<HBITMAP>(
          LoadImageA(instance, MAKEINTRESOURCEA(GLINTORA_IDB_LOGO), IMAGE_BITMAP, 0, 0, 0));
      if (logo && state->Logo)
        SendMessageA(logo, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(state->Logo));
      CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                      0, 0, 0, 0, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)),
                      instance, nullptr);
      CreateWindowExA(0, "BUTTON", "&Web...", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                      0, 0, 0, 0, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kWebId)),
                      instance, nullptr);
      state->Font = MessageFont();
      // The window is not on screen before this returns, so its first activation finds it laid
      // out already.
      state->LaidOut = true;
      state->Owner->Run.StopRequested = false;
      LayOut(dialog, state->Owner->Run, state->Font);
      SetFocus(GetDlgItem(dialog, IDOK));
      return FALSE;  // focus set here
    }
    case WM_COMMAND:
      if (!state) break;
      switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:  // Esc presses "OK", the cancel button
          state->Owner->Run.StopRequested = true;
          EndDialog(dialog, IDOK);
          return TRUE;
        case kWebId:
          OpenMakerWebPage(dialog);
          return TRUE;
        default:
          break;
      }
      break;
    case WM_CLOSE:  // the close box ends the dialog without pressing "OK"
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

// --- The entry.

void ShowWelcomeModal(Program& program, HWND owner) {
  WelcomeState state;
  state.Owner = &program;
  const EmptyTemplate dialogTemplate = MakeTemplate();
  DialogBoxIndirectParamA(program.Instance, &dialogTemplate.Header, owner, WelcomeProc,
                          reinterpret_cast<LPARAM>(&state));
  if (state.Logo) DeleteObject(state.Logo);
  if (state.Font) DeleteObject(state.Font);
}

}  // namespace glintora
