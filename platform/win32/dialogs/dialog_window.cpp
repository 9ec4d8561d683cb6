// Sections: geometry | message pump | creation | procedure | modal run
#include "platform/win32/dialogs/dialog_window.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/win32/files/wide_text.h"
#include "settings/text_encoding.h"

namespace glintora {

// --- geometry ---

int TwipsToPixels(int twips, int twipsPerPixel) {
  if (twipsPerPixel <= 0) twipsPerPixel = 15;
  return static_cast<int>(std::nearbyint(static_cast<double>(twips) / twipsPerPixel));
}

RECT PixelRect(const TwipsRect& r, int twipsPerPixelX, int twipsPerPixelY) {
  RECT out;
  out.left = TwipsToPixels(r.Left, twipsPerPixelX);
  out.top = TwipsToPixels(r.Top, twipsPerPixelY);
  out.right = TwipsToPixels(r.Left + r.Width, twipsPerPixelX);
  out.bottom = TwipsToPixels(r.Top + r.Height, twipsPerPixelY);
  return out;
}

// --- message pump ---

namespace {

bool IsDialogClass(HWND window) {
  wchar_t name[16] = {};
  return GetClassNameW(window, name, 16) > 0 && std::wcscmp(name, L"#32770") == 0;
}

void DispatchOne(MSG& message) {
  HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (root && IsDialogClass(root)) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_F1) {
      SendMessageW(root, kHelpKeyMessage, 0, reinterpret_cast<LPARAM>(message.hwnd));
      return;
    }
    if (IsDialogMessageW(root, &message)) return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

std::string WindowText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  const int got = GetWindowTextW(control, buffer.data(), length + 1);
  const std::size_t n = got > 0 ? static_cast<std::size_t>(got) : 0;
  // The edit box's limit counts UTF-16 units: a paste past it may end in half a pair.
  return Narrow(std::wstring_view(buffer.data(), WholeUtf16Units(std::u16string(buffer.data(), buffer.data() + n))));
}

bool PumpPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    DispatchOne(message);
  }
  return true;
}

void WaitForMessage(DWORD timeoutMs) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs, QS_ALLINPUT);
}

// --- creation ---

DialogWindow::~DialogWindow() {
  if (IsOpen()) {
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    if (modalOwner_) EnableWindow(modalOwner_, TRUE);
    DestroyWindow(hwnd_);
  }
}

namespace {

// What WM_INITDIALOG needs beyond `this`.
struct CreateContext {
  DialogWindow* self;
  HMENU menu;
  int clientWidth, clientHeight;  // pixels
};

}  // namespace

bool DialogWindow::OpenDialogFrame(HINSTANCE instance, HWND owner, const std::string& caption,
                                   int clientWidthTwips, int clientHeightTwips, HMENU menu,
                                   int twipsX, int twipsY) {
  if (!instance) instance = GetModuleHandleA(nullptr);
  if (!CreateDialogFrame(instance, owner, caption, clientWidthTwips, clientHeightTwips, menu,
                         twipsX, twipsY))
    return false;
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
  return true;
}

bool DialogWindow::CreateDialogFrame(HINSTANCE instance, HWND owner, const std::string& caption,
                                     int clientWidthTwips, int clientHeightTwips, HMENU menu,
                                     int twipsX, int twipsY) {
  instance_ = instance;
  twipsX_ = twipsX > 0 ? twipsX : 15;
  twipsY_ = twipsY > 0 ? twipsY : 15;

  // The dialogs' classic face at 8 points: the captions were measured for its width.
  LOGFONTA face{};
  face.lfHeight = -MulDiv(8, 1440 / twipsY_, 72);
  face.lfWeight = FW_NORMAL;
  face.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(face.lfFaceName, "MS Shell Dlg");
  font_.Reset(CreateFontIndirectA(&face));

  // An empty template: the frame only; the controls are created in pixels afterwards.
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  const DWORD exStyle = owner ? 0 : WS_EX_APPWINDOW;
  std::vector<WORD> buffer(sizeof(DLGTEMPLATE) / sizeof(WORD) + 8, 0);
  auto* dlg = reinterpret_cast<DLGTEMPLATE*>(buffer.data());
  dlg->style = style;
  dlg->dwExtendedStyle = exStyle;
  dlg->cdit = 0;
  // Menu, class and title words stay 0: no menu, the dialog class, an empty title.

  CreateContext context{this, menu, TwipsToPixels(clientWidthTwips, twipsX_),
                        TwipsToPixels(clientHeightTwips, twipsY_)};
  // A Unicode dialog: its controls keep any text the user types.
  HWND window = CreateDialogIndirectParamW(instance, dlg, owner, &DialogWindow::Procedure,
                                           reinterpret_cast<LPARAM>(&context));
  if (!window) {
    if (menu) DestroyMenu(menu);
    return false;
  }
  SetWindowTextW(window, Widen(caption).c_str());
  return true;
}

HWND DialogWindow::AddControl(const char* className, const char* text, DWORD style,
                              const TwipsRect& r, int id, int help, DWORD exStyle) {
  const RECT px = PixelRect(r, twipsX_, twipsY_);
  HWND control = CreateWindowExW(exStyle, Widen(className).c_str(), Widen(text).c_str(),
                                 WS_CHILD | WS_VISIBLE | style,
                                 px.left, px.top, px.right - px.left, px.bottom - px.top, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_,
                                 nullptr);
  if (control && font_) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), 0);
  if (control && help) helpTopics_[control] = help;
  return control;
}

int DialogWindow::HelpTopicOf(HWND control) const {
  for (HWND w = control; w && w != hwnd_; w = GetParent(w)) {
    auto it = helpTopics_.find(w);
    if (it != helpTopics_.end()) return it->second;
  }
  return 0;
}

// --- procedure ---

INT_PTR CALLBACK DialogWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* context = reinterpret_cast<CreateContext*>(lParam);
    DialogWindow* self = context->self;
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = window;
    if (context->menu) SetMenu(window, context->menu);
    RECT rect{0, 0, context->clientWidth, context->clientHeight};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                       context->menu != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    // Centred over the owner (or the work area) until a stored placement says otherwise.
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    RECT around{};
    HWND owner = GetWindow(window, GW_OWNER);
    if (!owner || !GetWindowRect(owner, &around)) {
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &around, 0);
    }
    SetWindowPos(window, nullptr, around.left + (around.right - around.left - width) / 2,
                 around.top + (around.bottom - around.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    self->OnCreate();
    return TRUE;
  }
  auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!self) return FALSE;
  return self->Dispatch(message, wParam, lParam);
}

INT_PTR DialogWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_CLOSE:
      OnClose();
      return TRUE;
    case kHelpKeyMessage: {
      HWND control = reinterpret_cast<HWND>(lParam);
      OnHelpKey(control, HelpTopicOf(control));
      return TRUE;
    }
    case WM_HELP: {
      const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
      if (info && info->iContextType == HELPINFO_MENUITEM) {
        const auto it = menuTopics_.find(info->iCtrlId);
        OnHelpKey(nullptr, it == menuTopics_.end() ? 0 : it->second);
        return TRUE;
      }
      HWND control = info && info->iContextType == HELPINFO_WINDOW
                         ? static_cast<HWND>(info->hItemHandle)
                         : nullptr;
      OnHelpKey(control, HelpTopicOf(control));
      return TRUE;
    }
    case WM_ERASEBKGND: {
      // Frames are transparent: the face colour must reach under them too.
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
      SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 1);
      return TRUE;
    }
    case WM_DESTROY:
      OnDestroy();
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
      hwnd_ = nullptr;
      return FALSE;
    default: {
      bool handled = false;
      INT_PTR result = OnMessage(message, wParam, lParam, handled);
      return handled ? result : FALSE;
    }
  }
}

// --- modal run ---

void DialogWindow::Destroy() {
  if (!IsOpen()) return;
  if (modalOwner_) EnableWindow(modalOwner_, TRUE);
  DestroyWindow(hwnd_);
}

void DialogWindow::RunUntilClosed(HWND disabledOwner) {
  if (!IsOpen()) return;
  modalOwner_ = disabledOwner;
  if (disabledOwner) EnableWindow(disabledOwner, FALSE);
  MSG message;
  while (IsOpen()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got < 0) break;
    DispatchOne(message);
  }
  if (disabledOwner) {
    EnableWindow(disabledOwner, TRUE);
    SetActiveWindow(disabledOwner);
  }
  modalOwner_ = nullptr;
}

}  // namespace glintora
