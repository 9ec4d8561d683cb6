#include "platform/x11/x11_host.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>

#include "platform/posix/clocks.h"
#include "platform/x11/x11_errors.h"

namespace glintora::x11 {

namespace {

constexpr int kOwnWidth = 960;
constexpr int kOwnHeight = 600;
constexpr const char* kTitle = "Glintora Fireworks";

}  // namespace

X11Host::X11Host(Display* display, RunState& run) : display_(display), run_(run) {
  InstallErrorHandlers();
  errorsSeen_ = Errors().count;
}

X11Host::~X11Host() {
  image_.reset();
  if (messageFont_) XFreeFont(display_, messageFont_);
  if (fixedFont_) XFreeFont(display_, fixedFont_);
  if (gc_) XFreeGC(display_, gc_);
  if (frameGc_) XFreeGC(display_, frameGc_);
  if (ownsWindow_ && window_) {
    XUngrabPointer(display_, CurrentTime);
    XUngrabKeyboard(display_, CurrentTime);
    XDestroyWindow(display_, window_);
  }
  if (blankCursor_) XFreeCursor(display_, blankCursor_);
  XSync(display_, False);
}

// ---- opening the target -------------------------------------------------------------------

bool X11Host::Open(const ShowOptions& options, bool ignoreMouseMoves, std::string& error) {
  target_ = options.target;
  int width = 0, height = 0;
  switch (target_) {
    case ShowTarget::OwnWindow:
    case ShowTarget::FullScreen:
      if (!CreateOwnWindow(target_ == ShowTarget::FullScreen)) {
        error = "cannot create a window";
        return false;
      }
      if (target_ == ShowTarget::FullScreen) saverInput_ = std::make_unique<SaverInput>(ignoreMouseMoves);
      break;
    case ShowTarget::Root:
      window_ = DefaultRootWindow(display_);
      break;
    case ShowTarget::ForeignWindow:
      window_ = static_cast<Window>(options.windowId);
      break;
    default:
      error = "this target needs Wayland";
      return false;
  }

  XWindowAttributes attrs{};
  const unsigned long before = Errors().count;
  const Status ok = XGetWindowAttributes(display_, window_, &attrs);
  if (!ok || ErrorSince(display_, before)) {
    char text[96];
    std::snprintf(text, sizeof text, "window 0x%lx does not exist", static_cast<unsigned long>(window_));
    error = text;
    window_ = 0;
    return false;
  }
  errorsSeen_ = Errors().count;
  visual_ = attrs.visual;
  depth_ = attrs.depth;
  width = attrs.width;
  height = attrs.height;
  if (visual_->c_class != TrueColor && visual_->c_class != DirectColor) {
    error = "the window's visual is not TrueColor";
    return false;
  }
  if (!ownsWindow_) {
    // Only structure and exposure: the window's owner keeps its input.
    XSelectInput(display_, window_, StructureNotifyMask | ExposureMask);
  }
  gc_ = XCreateGC(display_, window_, 0, nullptr);
  frameGc_ = XCreateGC(display_, window_, 0, nullptr);
  fixedFont_ = XLoadQueryFont(display_, "fixed");
  ResizeSurface(width, height);
  if (target_ == ShowTarget::FullScreen) GrabInput();
  XSync(display_, False);
  if (target_ == ShowTarget::ForeignWindow && Errors().count != errorsSeen_) CheckTargetErrors();
  return true;
}

bool X11Host::CreateOwnWindow(bool fullScreen) {
  const int screen = DefaultScreen(display_);
  const int sw = DisplayWidth(display_, screen), sh = DisplayHeight(display_, screen);
  const int w = fullScreen ? sw : std::min(kOwnWidth, sw);
  const int h = fullScreen ? sh : std::min(kOwnHeight, sh);

  XSetWindowAttributes set{};
  set.background_pixel = BlackPixel(display_, screen);
  set.event_mask = KeyPressMask | StructureNotifyMask | ExposureMask;
  if (fullScreen) set.event_mask |= ButtonPressMask | PointerMotionMask;
  window_ = XCreateWindow(display_, RootWindow(display_, screen), 0, 0, w, h, 0, CopyFromParent,
                          InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &set);
  if (!window_) return false;
  ownsWindow_ = true;

  XStoreName(display_, window_, kTitle);
  XClassHint cls{const_cast<char*>("glintora"), const_cast<char*>("Glintora")};
  XSetClassHint(display_, window_, &cls);
  wmDelete_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display_, window_, &wmDelete_, 1);
  const long pid = getpid();
  XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_PID", False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);

  if (fullScreen) {
    Atom state = XInternAtom(display_, "_NET_WM_STATE_FULLSCREEN", False);
    XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_STATE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&state), 1);
    // A blank cursor: a 1x1 pixmap with an empty mask.
    static char empty[1] = {0};
    Pixmap blank = XCreateBitmapFromData(display_, window_, empty, 1, 1);
    XColor black{};
    blankCursor_ = XCreatePixmapCursor(display_, blank, blank, &black, &black, 0, 0);
    XFreePixmap(display_, blank);
    XDefineCursor(display_, window_, blankCursor_);
  }
  XMapRaised(display_, window_);
  return true;
}

void X11Host::GrabInput() {
  // A full-screen saver must see every key and move; another client's grab may still be ending.
  for (int attempt = 0; attempt < 50; ++attempt) {
    const int k = XGrabKeyboard(display_, window_, True, GrabModeAsync, GrabModeAsync, CurrentTime);
    const int p = XGrabPointer(display_, window_, True,
                               ButtonPressMask | PointerMotionMask, GrabModeAsync, GrabModeAsync,
                               None, blankCursor_, CurrentTime);
    if (k == GrabSuccess && p == GrabSuccess) return;
    usleep(10000);
  }
}

// ---- events ---------------------------------------------------------------------------------

void X11Host::HandleEvent(XEvent& event) {
  switch (event.type) {
    case KeyPress:
      if (target_ == ShowTarget::FullScreen) {
        if (saverInput_->OnKey()) run_.StopRequested = true;
      } else if (target_ == ShowTarget::OwnWindow &&
                 XLookupKeysym(&event.xkey, 0) == XK_Escape) {
        run_.StopRequested = true;
      }
      break;
    case ButtonPress:
      if (saverInput_ && saverInput_->OnButton()) run_.StopRequested = true;
      break;
    case MotionNotify:
      if (saverInput_ && saverInput_->OnMouseMove(posix::SecondsOfDay())) run_.StopRequested = true;
      break;
    case ClientMessage:
      if (ownsWindow_ && static_cast<Atom>(event.xclient.data.l[0]) == wmDelete_)
        run_.StopRequested = true;
      break;
    case DestroyNotify:
      if (event.xdestroywindow.window == window_) {
        gone_ = true;
        run_.StopRequested = true;
      }
      break;
    case ConfigureNotify:
      if (event.xconfigure.window == window_ &&
          (event.xconfigure.width != surface_.Width || event.xconfigure.height != surface_.Height)) {
        resizePending_ = true;
        pendingWidth_ = event.xconfigure.width;
        pendingHeight_ = event.xconfigure.height;
        run_.ShowInterrupted = true;  // the show restarts at the new size
      }
      break;
    case Expose:
      if (event.xexpose.window == window_) exposed_ = true;
      break;
    default:
      break;
  }
}

void X11Host::CheckTargetErrors() {
  const XErrorRecord& e = Errors();
  if (e.count == errorsSeen_) return;
  errorsSeen_ = e.count;
  // A foreign window can vanish between two requests; its errors mean it is gone.
  if (target_ == ShowTarget::ForeignWindow && e.lastResource == window_ &&
      (e.lastCode == BadWindow || e.lastCode == BadDrawable)) {
    gone_ = true;
    run_.StopRequested = true;
  }
}

bool X11Host::TakeResize() {
  if (!resizePending_) return false;
  resizePending_ = false;
  ResizeSurface(pendingWidth_, pendingHeight_);
  return true;
}

// ---- FrameHost ------------------------------------------------------------------------------

std::uint32_t X11Host::TickCount() {
  return static_cast<std::uint32_t>(posix::MonotonicMicros() / 1000u);
}

void X11Host::ProcessPendingEvents() {
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    HandleEvent(event);
  }
  CheckTargetErrors();
}

void X11Host::WaitForEvent(std::uint32_t timeoutMs) {
  XFlush(display_);
  if (XEventsQueued(display_, QueuedAlready) > 0) return;
  pollfd fd{ConnectionNumber(display_), POLLIN, 0};
  const std::uint64_t start = posix::MonotonicMicros();
  const int timeout = static_cast<int>(std::min<std::uint32_t>(timeoutMs, 1u << 30));
  // EINTR (a signal) simply returns: the caller looks at its flags and waits again.
  poll(&fd, 1, timeout);
  stats_.AddIdle(posix::MonotonicMicros() - start);
}

void X11Host::Present(const Framebuffer& surface) {
  if (image_ && !gone_ && &surface == &surface_) {
    // A shared image goes out in one request clipped to the tiles; through the socket each
    // rectangle's own bytes are cheaper than a bounding area's.
    const bool clipped = image_->UsesShm();
    const std::vector<TileRun>& rects =
        clipped ? dirtyTiles_.Bands(surface) : dirtyTiles_.Collect(surface);
    if (!direct_) {
      const auto stride = static_cast<std::size_t>(surface.Stride);
      for (const TileRun& t : rects)
        image_->Store(surface.Pixels, stride, t.Left, t.Top, t.Right - t.Left, t.Bottom - t.Top);
    }
    if (!exposed_ && clipped) {
      clip_.clear();
      for (const TileRun& t : rects)
        clip_.push_back({static_cast<short>(t.Left), static_cast<short>(t.Top),
                         static_cast<unsigned short>(t.Right - t.Left),
                         static_cast<unsigned short>(t.Bottom - t.Top)});
      image_->PutRects(window_, frameGc_, clip_.data(), static_cast<int>(clip_.size()));
    } else if (!exposed_) {
      for (const TileRun& t : rects)
        image_->Put(window_, gc_, t.Left, t.Top, t.Right - t.Left, t.Bottom - t.Top);
    }
  }
  if (!image_ || gone_) return;
  if (exposed_) {
    exposed_ = false;
    image_->Put(window_, gc_, 0, 0, image_->Width(), image_->Height());
  }
  stats_.OnFrame(posix::MonotonicMicros());
  DrawOverlays();
  // The engine writes into a shared image next: the server must have read it first.
  if (direct_) image_->Finish();
  XFlush(display_);
}

void X11Host::ShowMessage(const MessageStyle& message) {
  const bool restyled = message.FontName != message_.FontName ||
                        message.FontSize != message_.FontSize || !messageFont_;
  if (messageFont_ && restyled) {
    // The old text's band is repainted from the image before the new style draws.
    PutBand(0, messageFont_->ascent + messageFont_->descent + 8);
    XFreeFont(display_, messageFont_);
    messageFont_ = nullptr;
  }
  message_ = message;
  if (!messageFont_) {
    // Core fonts: the named family at the size in pixels, else a common sans, else "fixed".
    const int px = std::max(8, message.FontSize * 4 / 3);
    std::string family;
    for (char c : message.FontName) family += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string candidates[] = {
        "-*-" + family + "-medium-r-normal--" + std::to_string(px) + "-*-*-*-*-*-iso8859-1",
        "-*-helvetica-medium-r-normal--" + std::to_string(px) + "-*-*-*-*-*-iso8859-1",
        "fixed"};
    for (const std::string& name : candidates) {
      messageFont_ = XLoadQueryFont(display_, name.c_str());
      if (messageFont_) break;
    }
  }
  DrawOverlays();
}

// ---- surface and overlays -------------------------------------------------------------------

void X11Host::ResizeSurface(int width, int height) {
  width = std::clamp(width, 1, 32767);
  height = std::clamp(height, 1, 32767);
  image_.reset();
  surface_.Attach(nullptr, 0, 0, 0);
  pixels_.clear();
  pixels_.shrink_to_fit();
  image_ = std::make_unique<X11Image>(display_, visual_, depth_, width, height, true);
  bool rgb = false;
  int stride = 0;
  std::uint32_t* direct = image_->Direct(rgb, stride);
  direct_ = direct != nullptr;
  if (direct_) {
    surface_.Attach(direct, width, height, stride);
    surface_.Rgb = rgb;
  } else {
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
    surface_.Attach(pixels_.data(), width, height, width);
  }
  exposed_ = true;
}

void X11Host::PutBand(int y, int height) {
  if (image_) image_->Put(window_, gc_, 0, y, image_->Width(), height);
}

void X11Host::DrawOverlays() {
  if (!image_ || !gc_) return;
  if (messageFont_ && !message_.Text.empty() && SurfaceIsWindow()) {
    const int len = static_cast<int>(message_.Text.size());
    const int tw = XTextWidth(messageFont_, message_.Text.c_str(), len);
    XSetFont(display_, gc_, messageFont_->fid);
    XSetForeground(display_, gc_, image_->PixelFor(message_.Colour));
    XDrawString(display_, window_, gc_, (surface_.Width - tw) / 2, messageFont_->ascent + 4,
                message_.Text.c_str(), len);
  }
  if (showFps_ && fixedFont_) {
    const std::string text = stats_.Text();
    const int band = fixedFont_->ascent + fixedFont_->descent + 4;
    PutBand(surface_.Height - band, band);
    XSetFont(display_, gc_, fixedFont_->fid);
    XSetForeground(display_, gc_, image_->PixelFor(0x00FFFFFFu));
    XDrawString(display_, window_, gc_, 4, surface_.Height - fixedFont_->descent - 2,
                text.c_str(), static_cast<int>(text.size()));
  }
}

}  // namespace glintora::x11
