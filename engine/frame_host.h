// What a running show needs from the window it runs in: the millisecond clock, the window's
// events, the preview host test, presenting the framebuffer and the one-line message label.
// Windows (Win32, X11), the dialog preview, the renderer and the tests implement it.
#pragma once

#include <cstdint>
#include <string>

#include "engine/framebuffer.h"

namespace glintora {

// The look of the on-screen message; the host places it across the top of its window.
struct MessageStyle {
  std::string FontName;
  std::int16_t FontSize = 0;
  std::uint32_t Colour = 0;  // 0x00BBGGRR
  std::string Text;
};

class FrameHost {
 public:
  virtual ~FrameHost() = default;

  // Milliseconds since some origin; wraps at 2^32 like GetTickCount.
  virtual std::uint32_t TickCount() = 0;

  // Handles every event already pending, then returns; never blocks. Handlers may raise
  // RunState::StopRequested or ShowInterrupted.
  virtual void ProcessPendingEvents() = 0;

  // Blocks until an event is pending or timeoutMs have passed, whichever is first; does not
  // handle the event (Win32: MsgWaitForMultipleObjects; X11: poll on the connection).
  virtual void WaitForEvent(std::uint32_t timeoutMs) = 0;

  // Preview mode only: whether RunState::PreviewHostWindow still names a window.
  virtual bool PreviewHostIsWindow() = 0;

  // Puts the framebuffer's touched rectangle on screen. Called once per frame and after a clear;
  // the engine resets the rectangle afterwards.
  virtual void Present(const Framebuffer& surface) = 0;

  // True when the surface is a top-level window that owns a message label (not a picture box).
  virtual bool SurfaceIsWindow() = 0;

  // Restyles the message label and sets its text; its width follows the window.
  virtual void ShowMessage(const MessageStyle& message) = 0;
};

}  // namespace glintora
