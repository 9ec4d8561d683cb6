// The X11 window a show runs in: a window of its own, a full-screen saver window, the root window
// or a foreign window named by id. Implements the engine's FrameHost: the engine draws into the
// window's image itself, and once per frame the tiles it changed go out as a few rectangles
// (one wait for the server per frame); waits for events with poll() on
// the connection, and turns input into the run state's flags (Esc or close for a window; key,
// button or a burst of moves full screen; the foreign window's destruction).
//
// Sections: opening the target; events; FrameHost; surface and overlays.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/frame_host.h"
#include "engine/framebuffer.h"
#include "platform/x11/x11_image.h"
#include "startup/run_state.h"
#include "display/dirty_tiles.h"
#include "display/frame_stats.h"
#include "display/saver_input.h"
#include "display/show_options.h"

namespace glintora::x11 {

class X11Host : public FrameHost {
 public:
  X11Host(Display* display, RunState& run);
  ~X11Host() override;
  X11Host(const X11Host&) = delete;
  X11Host& operator=(const X11Host&) = delete;

  // Opens or adopts the target window and sizes the surface to it; false with a message when the
  // foreign window does not exist or its visual cannot be drawn.
  bool Open(const ShowOptions& options, bool ignoreMouseMoves, std::string& error);

  Framebuffer& Surface() { return surface_; }
  Window Target() const { return window_; }
  bool UsesShm() const { return image_ && image_->UsesShm(); }
  // The engine's pixels are the image's (no copy per frame).
  bool DrawsIntoImage() const { return direct_; }

  // True once after the window changed size; the surface then has the new size (black).
  bool TakeResize();

  // Ends the show from outside the event loop (a signal).
  void RequestStop() { run_.StopRequested = true; }

  // FrameHost
  std::uint32_t TickCount() override;
  void ProcessPendingEvents() override;
  void WaitForEvent(std::uint32_t timeoutMs) override;
  bool PreviewHostIsWindow() override { return !gone_; }
  void Present(const Framebuffer& surface) override;
  bool SurfaceIsWindow() override { return target_ != ShowTarget::ForeignWindow; }
  void ShowMessage(const MessageStyle& message) override;

  void SetShowFps(bool on) { showFps_ = on; }

 private:
  bool CreateOwnWindow(bool fullScreen);
  void GrabInput();
  void HandleEvent(XEvent& event);
  void CheckTargetErrors();
  void ResizeSurface(int width, int height);
  void DrawOverlays();
  void PutBand(int y, int height);

  Display* display_;
  RunState& run_;
  ShowTarget target_ = ShowTarget::OwnWindow;
  Window window_ = 0;
  bool ownsWindow_ = false;
  GC gc_ = nullptr;
  GC frameGc_ = nullptr;  // clipped to each frame's tiles
  Visual* visual_ = nullptr;
  int depth_ = 0;
  Atom wmDelete_ = 0;
  Cursor blankCursor_ = 0;

  std::unique_ptr<SaverInput> saverInput_;  // full screen only
  bool gone_ = false;
  bool resizePending_ = false;
  int pendingWidth_ = 0;
  int pendingHeight_ = 0;
  bool exposed_ = false;
  unsigned long errorsSeen_ = 0;

  std::unique_ptr<X11Image> image_;
  // The engine's pixels: the image's own memory, or (an unusual pixel layout) a separate buffer
  // converted into the image as it changes.
  std::vector<std::uint32_t> pixels_;
  bool direct_ = false;
  Framebuffer surface_;
  DirtyTiles dirtyTiles_;
  std::vector<XRectangle> clip_;

  MessageStyle message_;
  XFontStruct* messageFont_ = nullptr;
  XFontStruct* fixedFont_ = nullptr;
  bool showFps_ = false;
  FrameStats stats_;
};

}  // namespace glintora::x11
