// The show's host over a Win32 window: a top-level window (saver, application) or a child
// picture box (preview, the dialogs' live preview). The pixels live in a DIB section the size of
// the client area, in the screen's 0x00RRGGBB; each frame goes out as one BitBlt per rectangle of
// changed tiles (or of the touched rectangle). Events are handled
// with PeekMessage and waited for with MsgWaitForMultipleObjectsEx, never by spinning.
//
// A window attached to a host repaints itself from the DIB: its WM_PAINT calls PaintFromHost
// (picture boxes made by CreatePictureBox do that on their own).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/frame_host.h"
#include "engine/framebuffer.h"
#include "startup/run_state.h"
#include "display/dirty_tiles.h"

namespace glintora {

class Win32Host : public FrameHost {
 public:
  explicit Win32Host(RunState& run);
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  // Draws on window from now on; the surface takes the client area's size and turns black.
  // isWindow: the surface is a top-level window that shows the message label (not a box).
  bool Attach(HWND window, bool isWindow);
  // Stops drawing (the window is closing or gone); the surface keeps its pixels.
  void Detach();
  HWND Window() const { return window_; }

  // Gives the surface the client area's current size when it changed; the pixels that still fit
  // are kept. True when the size changed.
  bool FollowClientSize();

  Framebuffer& Surface() { return surface_; }

  // Repaints the given region of the window from the surface (WM_PAINT).
  void Paint(HDC dc, const RECT& area);

  // The message label's text is removed (the window's label caption cleared).
  void ClearMessage();

  // FrameHost
  std::uint32_t TickCount() override;
  void ProcessPendingEvents() override;
  void WaitForEvent(std::uint32_t timeoutMs) override;
  bool PreviewHostIsWindow() override;
  void Present(const Framebuffer& surface) override;
  bool SurfaceIsWindow() override { return isWindow_ && window_ != nullptr; }
  void ShowMessage(const MessageStyle& message) override;

  // The pixel writes since the last Present, kept only on request (the benchmark replays them
  // with SetPixelV).
  const std::vector<PixelWrite>& FrameWrites() const { return writes_; }
  void DiscardFrameWrites() { writes_.clear(); }
  void KeepFrameWrites(bool keep) {
    keepWrites_ = keep;
    surface_.Log = keep ? &writes_ : nullptr;
  }
  // Frames go out tile by tile (the default), or as the one touched rectangle.
  void SetTiledPresent(bool tiled) { tiled_ = tiled; }

  // WM_QUIT seen while a show handled events; the quit is posted again for the outer loop.
  bool QuitSeen() const { return quitSeen_; }

 private:
  bool Allocate(int width, int height);
  void Release();
  void BlitRect(int left, int top, int right, int bottom);
  void DrawMessage();

  RunState& run_;
  HWND window_ = nullptr;
  bool isWindow_ = false;
  HDC memoryDc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  Framebuffer surface_;
  std::vector<PixelWrite> writes_;  // only while KeepFrameWrites
  DirtyTiles dirtyTiles_;
  bool tiled_ = true;
  bool keepWrites_ = false;

  MessageStyle message_;
  bool hasMessage_ = false;
  HFONT font_ = nullptr;
  RECT messageRect_{};

  bool quitSeen_ = false;
  int quitCode_ = 0;
};

// WM_PAINT of a window attached to a host: paints it from the host's pixels. False when the
// window has no host (paint it some other way).
bool PaintFromHost(HWND window);

// WM_PAINT of a display window: from its host's pixels, or black before a host is attached.
void PaintFromHostOrBlack(HWND window);

// A black child window that repaints from the host attached to it: the picture box a preview
// draws in. id is the control id; the box is visible.
HWND CreatePictureBox(HINSTANCE instance, HWND parent, int x, int y, int width, int height,
                      int id);

}  // namespace glintora
