// Sections: the DIB section; attaching; events; presenting; the message label; picture boxes.
#include "platform/win32/win32_host.h"
#include "platform/win32/window_class.h"
#include "platform/win32/files/wide_text.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace glintora {

namespace {

constexpr char kHostProperty[] = "GlintoraHost";
constexpr char kPictureBoxClass[] = "GlintoraPictureBox";

RECT ClientRect(HWND window) {
  RECT rect{};
  if (window) GetClientRect(window, &rect);
  return rect;
}

// A modeless dialog needs its keyboard navigation even while a show handles its events.
bool HandledByDialog(MSG& message) {
  if (!message.hwnd) return false;
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (!root) return false;
  char className[8] = {};
  GetClassNameA(root, className, sizeof className);
  return std::strcmp(className, "#32770") == 0 && IsDialogMessageW(root, &message);
}

}  // namespace

Win32Host::Win32Host(RunState& run) : run_(run) {}

Win32Host::~Win32Host() {
  Detach();
  Release();
  if (font_) DeleteObject(font_);
}

// --- The DIB section ---

// The DIB holds 0x00RRGGBB, the layout of a 32-bit screen (and of Wine's window surface under
// X): the engine stores pixels that way, and a blit to the window copies them unconverted.
bool Win32Host::Allocate(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = std::max(width, 1);
  info.bmiHeader.biHeight = -std::max(height, 1);  // top-down rows, like the framebuffer
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;

  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return false;
  }
  HDC dc = memoryDc_ ? memoryDc_ : CreateCompatibleDC(nullptr);
  if (!dc) {
    DeleteObject(bitmap);
    return false;
  }
  HGDIOBJ previous = SelectObject(dc, bitmap);
  if (bitmap_) {
    DeleteObject(bitmap_);
  } else {
    oldBitmap_ = previous;
  }
  memoryDc_ = dc;
  bitmap_ = bitmap;
  surface_.Attach(static_cast<std::uint32_t*>(bits), width, height, std::max(width, 1));
  surface_.Rgb = true;
  surface_.Log = keepWrites_ ? &writes_ : nullptr;
  return true;
}

void Win32Host::Release() {
  if (memoryDc_) {
    if (oldBitmap_) SelectObject(memoryDc_, oldBitmap_);
    DeleteDC(memoryDc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
  memoryDc_ = nullptr;
  bitmap_ = nullptr;
  oldBitmap_ = nullptr;
  surface_.Attach(nullptr, 0, 0, 0);
}

// --- Attaching ---

bool Win32Host::Attach(HWND window, bool isWindow) {
  Detach();
  const RECT client = ClientRect(window);
  if (!Allocate(client.right - client.left, client.bottom - client.top)) return false;
  surface_.Fill(0);
  surface_.ResetTouched();
  window_ = window;
  isWindow_ = isWindow;
  SetPropA(window_, kHostProperty, reinterpret_cast<HANDLE>(this));
  InvalidateRect(window_, nullptr, FALSE);
  return true;
}

void Win32Host::Detach() {
  if (window_ && IsWindow(window_) && GetPropA(window_, kHostProperty) == this)
    RemovePropA(window_, kHostProperty);
  window_ = nullptr;
}

bool Win32Host::FollowClientSize() {
  if (!window_) return false;
  const RECT client = ClientRect(window_);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width == surface_.Width && height == surface_.Height) return false;

  const std::int32_t oldWidth = surface_.Width;
  const std::int32_t oldHeight = surface_.Height;
  std::vector<std::uint32_t> old(static_cast<std::size_t>(oldWidth) * oldHeight);
  for (std::int32_t y = 0; y < oldHeight; ++y)
    std::memcpy(old.data() + static_cast<std::size_t>(y) * oldWidth,
                surface_.Pixels + static_cast<std::size_t>(y) * surface_.Stride,
                sizeof(std::uint32_t) * oldWidth);
  if (!Allocate(width, height)) return false;
  surface_.Fill(0);
  const std::int32_t keepWidth = std::min(oldWidth, surface_.Width);
  const std::int32_t keepHeight = std::min(oldHeight, surface_.Height);
  for (std::int32_t y = 0; y < keepHeight; ++y)
    std::memcpy(surface_.Pixels + static_cast<std::size_t>(y) * surface_.Stride,
                old.data() + static_cast<std::size_t>(y) * oldWidth,
                sizeof(std::uint32_t) * keepWidth);
  surface_.ResetTouched();
  InvalidateRect(window_, nullptr, FALSE);
  return true;
}

// --- Events ---

std::uint32_t Win32Host::TickCount() { return GetTickCount(); }

void Win32Host::ProcessPendingEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The quit belongs to the outermost loop: end the show and leave it in the queue again.
      quitSeen_ = true;
      quitCode_ = static_cast<int>(message.wParam);
      run_.StopRequested = true;
      PostQuitMessage(quitCode_);
      return;
    }
    if (HandledByDialog(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32Host::WaitForEvent(std::uint32_t timeoutMs) {
  MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

bool Win32Host::PreviewHostIsWindow() {
  return IsWindow(reinterpret_cast<HWND>(static_cast<INT_PTR>(run_.PreviewHostWindow))) != FALSE;
}

// --- Presenting ---

void Win32Host::BlitRect(int left, int top, int right, int bottom) {
  if (!window_ || !memoryDc_) return;
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, static_cast<int>(surface_.Width));
  bottom = std::min(bottom, static_cast<int>(surface_.Height));
  if (left >= right || top >= bottom) return;
  if (HDC dc = GetDC(window_)) {
    BitBlt(dc, left, top, right - left, bottom - top, memoryDc_, left, top, SRCCOPY);
    ReleaseDC(window_, dc);
  }
}

void Win32Host::Present(const Framebuffer& surface) {
  if (&surface != &surface_) return;
  writes_.clear();
  if (!surface.AnyTouched() || !window_ || !memoryDc_) return;
  if (!tiled_) {
    BlitRect(surface.TouchedLeft, surface.TouchedTop, surface.TouchedRight, surface.TouchedBottom);
    return;
  }
  const std::vector<TileRun>& rects = dirtyTiles_.Collect(surface);
  if (rects.empty()) return;
  HDC dc = GetDC(window_);
  if (!dc) return;
  for (const TileRun& t : rects)
    BitBlt(dc, t.Left, t.Top, t.Right - t.Left, t.Bottom - t.Top, memoryDc_, t.Left, t.Top, SRCCOPY);
  ReleaseDC(window_, dc);
}

void Win32Host::Paint(HDC dc, const RECT& area) {
  const int width = surface_.Width;
  const int height = surface_.Height;
  if (memoryDc_) {
    const int left = std::max(0, static_cast<int>(area.left));
    const int top = std::max(0, static_cast<int>(area.top));
    const int right = std::min(width, static_cast<int>(area.right));
    const int bottom = std::min(height, static_cast<int>(area.bottom));
    if (left < right && top < bottom)
      BitBlt(dc, left, top, right - left, bottom - top, memoryDc_, left, top, SRCCOPY);
  }
  // Whatever lies beyond the surface (a window grown since the last show) is black.
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  if (area.right > width) {
    RECT beyond{std::max(static_cast<LONG>(width), area.left), area.top, area.right, area.bottom};
    FillRect(dc, &beyond, black);
  }
  if (area.bottom > height) {
    RECT below{area.left, std::max(static_cast<LONG>(height), area.top), area.right, area.bottom};
    FillRect(dc, &below, black);
  }
}

// --- The message label ---

// The label spans the window's width near its top edge, its text centred; setting it repaints
// its strip black first, as a label repaints over the window's background.
void Win32Host::DrawMessage() {
  if (!memoryDc_ || !window_) return;
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  if (messageRect_.right > messageRect_.left) FillRect(memoryDc_, &messageRect_, black);
  const RECT erased = messageRect_;
  messageRect_ = RECT{};

  if (hasMessage_ && !message_.Text.empty()) {
    int dpiY = 96;
    if (HDC screen = GetDC(window_)) {
      dpiY = GetDeviceCaps(screen, LOGPIXELSY);
      ReleaseDC(window_, screen);
    }
    if (font_) DeleteObject(font_);
    const int points = std::max<int>(message_.FontSize, 1);
    font_ = CreateFontW(-MulDiv(points, dpiY, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                        Widen(message_.FontName).c_str());
    HGDIOBJ oldFont = SelectObject(memoryDc_, font_ ? static_cast<HGDIOBJ>(font_)
                                                    : GetStockObject(DEFAULT_GUI_FONT));
    const std::wstring line = Widen(message_.Text);
    RECT measure{0, 0, surface_.Width, 0};
    DrawTextW(memoryDc_, line.c_str(), static_cast<int>(line.size()), &measure,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const int textHeight = measure.bottom - measure.top;
    const int top = std::max(2, textHeight / 3);
    messageRect_ = RECT{0, top, surface_.Width, top + textHeight};
    SetBkMode(memoryDc_, TRANSPARENT);
    SetTextColor(memoryDc_, static_cast<COLORREF>(message_.Colour & 0x00FFFFFF));
    RECT text = messageRect_;
    DrawTextW(memoryDc_, line.c_str(), static_cast<int>(line.size()), &text,
              DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(memoryDc_, oldFont);
  }
  GdiFlush();  // the engine writes the same pixels next
  BlitRect(erased.left, erased.top, erased.right, erased.bottom);
  BlitRect(messageRect_.left, messageRect_.top, messageRect_.right, messageRect_.bottom);
}

void Win32Host::ShowMessage(const MessageStyle& message) {
  if (!SurfaceIsWindow()) return;
  message_ = message;
  hasMessage_ = true;
  DrawMessage();
}

void Win32Host::ClearMessage() {
  hasMessage_ = false;
  message_.Text.clear();
  DrawMessage();
}

// --- Picture boxes ---

bool PaintFromHost(HWND window) {
  auto* host = static_cast<Win32Host*>(GetPropA(window, kHostProperty));
  if (!host) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (dc) host->Paint(dc, paint.rcPaint);
  EndPaint(window, &paint);
  return true;
}

void PaintFromHostOrBlack(HWND window) {
  if (PaintFromHost(window)) return;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (dc) FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EndPaint(window, &paint);
}

namespace {

LRESULT CALLBACK PictureBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      if (GetPropA(window, kHostProperty)) return 1;  // the paint covers every pixel
      break;
    case WM_PAINT:
      if (PaintFromHost(window)) return 0;
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterPictureBox(HINSTANCE instance) {
  return RegisterWindowClass(instance, {kPictureBoxClass, PictureBoxProc, LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW))});
}

}  // namespace

HWND CreatePictureBox(HINSTANCE instance, HWND parent, int x, int y, int width, int height,
                      int id) {
  if (!RegisterPictureBox(instance)) return nullptr;
  return CreateWindowExA(0, kPictureBoxClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y,
                         width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace glintora
