// The show's pixels in the server's format, sent through MIT-SHM when the server shares memory
// with us, else with XPutImage. With 32-bit pixels whose colours sit in the low three bytes (in
// either order) the engine draws straight into the image; any other layout keeps a separate
// framebuffer whose changed rectangles are converted into the image.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstddef>
#include <cstdint>

namespace glintora::x11 {

class X11Image {
 public:
  X11Image(Display* display, Visual* visual, int depth, int width, int height, bool allowShm);
  ~X11Image();
  X11Image(const X11Image&) = delete;
  X11Image& operator=(const X11Image&) = delete;

  bool Valid() const { return image_ != nullptr; }
  bool UsesShm() const { return shm_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // The image's memory when the engine can draw into it: rgb tells whether it holds 0x00RRGGBB
  // (else 0x00BBGGRR); stride is in pixels. Null for any other pixel layout.
  std::uint32_t* Direct(bool& rgb, int& stride) const;

  // Converts src's rectangle (0x00BBGGRR pixels, stride in pixels) into the image; clipped.
  void Store(const std::uint32_t* src, std::size_t stride, int x, int y, int w, int h);
  // Sends the image's rectangle to the drawable; clipped.
  void Put(Drawable drawable, GC gc, int x, int y, int w, int h);
  // Sends the image's pixels inside rects (Y-X banded, inside the image) to the drawable as one
  // transfer, gc's clip set to them: the server copies only those pixels.
  void PutRects(Drawable drawable, GC gc, XRectangle* rects, int count);
  // Waits until the server has read a shared image, so the next change cannot tear it.
  void Finish();

  // The server's pixel value for a 0x00BBGGRR colour.
  unsigned long PixelFor(std::uint32_t bgr) const { return Convert(bgr); }

 private:
  struct Channel {
    int shift = 0;
    int bits = 8;
  };
  unsigned long Convert(std::uint32_t bgr) const;

  Display* display_;
  XImage* image_ = nullptr;
  XShmSegmentInfo shmInfo_{};
  bool shm_ = false;
  bool pending_ = false;
  int width_;
  int height_;
  Channel red_, green_, blue_;
  unsigned long alpha_ = 0;  // opaque alpha bits of a 32-bit (ARGB) visual, else 0
  bool fastPath_ = false;  // 32-bit pixels with red in bits 16..23: the common TrueColor layout
};

}  // namespace glintora::x11
