#include "platform/x11/x11_image.h"

#include <X11/Xutil.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/x11/x11_errors.h"

namespace glintora::x11 {

namespace {

void MaskToChannel(unsigned long mask, int& shift, int& bits) {
  shift = 0;
  bits = 0;
  if (mask == 0) return;
  while (!(mask & 1ul)) {
    mask >>= 1;
    ++shift;
  }
  while (mask & 1ul) {
    mask >>= 1;
    ++bits;
  }
}

// Clips x, y, w, h to a width x height area; false when nothing is left.
bool Clip(int& x, int& y, int& w, int& h, int width, int height) {
  if (x < 0) { w += x; x = 0; }
  if (y < 0) { h += y; y = 0; }
  w = std::min(w, width - x);
  h = std::min(h, height - y);
  return w > 0 && h > 0;
}

bool HostIsLittleEndian() {
  const std::uint32_t one = 1;
  unsigned char first;
  std::memcpy(&first, &one, 1);
  return first == 1;
}

}  // namespace

X11Image::X11Image(Display* display, Visual* visual, int depth, int width, int height,
                   bool allowShm)
    : display_(display), width_(std::max(width, 1)), height_(std::max(height, 1)) {
  MaskToChannel(visual->red_mask, red_.shift, red_.bits);
  MaskToChannel(visual->green_mask, green_.shift, green_.bits);
  MaskToChannel(visual->blue_mask, blue_.shift, blue_.bits);
  if (depth == 32) {
    // A compositor reads the bits outside the colour masks as alpha: make them opaque.
    alpha_ = 0xFFFFFFFFul & ~(visual->red_mask | visual->green_mask | visual->blue_mask);
  }

  if (allowShm && XShmQueryExtension(display)) {
    image_ = XShmCreateImage(display, visual, depth, ZPixmap, nullptr, &shmInfo_, width_, height_);
    if (image_) {
      shmInfo_.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(image_->bytes_per_line) * height_,
                              IPC_CREAT | 0600);
      void* addr = shmInfo_.shmid >= 0 ? shmat(shmInfo_.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
      if (addr != reinterpret_cast<void*>(-1)) {
        shmInfo_.shmaddr = image_->data = static_cast<char*>(addr);
        shmInfo_.readOnly = False;
        const unsigned long before = Errors().count;
        // A remote server accepts the request and then fails it: only a sync tells.
        shm_ = XShmAttach(display, &shmInfo_) && !ErrorSince(display, before);
      }
      if (shmInfo_.shmid >= 0) shmctl(shmInfo_.shmid, IPC_RMID, nullptr);
      if (!shm_) {
        if (shmInfo_.shmaddr) shmdt(shmInfo_.shmaddr);
        image_->data = nullptr;
        XDestroyImage(image_);
        image_ = nullptr;
        shmInfo_ = {};
      }
    }
  }
  if (!image_) {
    image_ = XCreateImage(display, visual, depth, ZPixmap, 0, nullptr, width_, height_, 32, 0);
    if (image_) {
      image_->data = static_cast<char*>(
          std::calloc(static_cast<std::size_t>(image_->bytes_per_line) * height_, 1));
      if (!image_->data) {
        XDestroyImage(image_);
        image_ = nullptr;
      }
    }
  }
  if (image_) {
    std::memset(image_->data, 0, static_cast<std::size_t>(image_->bytes_per_line) * height_);
    fastPath_ = image_->bits_per_pixel == 32 && red_.shift == 16 && red_.bits == 8 &&
                green_.shift == 8 && green_.bits == 8 && blue_.shift == 0 && blue_.bits == 8 &&
                image_->byte_order == (HostIsLittleEndian() ? LSBFirst : MSBFirst);
  }
}

X11Image::~X11Image() {
  if (!image_) return;
  if (shm_) {
    Finish();
    XShmDetach(display_, &shmInfo_);
    XSync(display_, False);
    shmdt(shmInfo_.shmaddr);
    image_->data = nullptr;
  }
  XDestroyImage(image_);  // frees the calloc'ed data of a plain image
}

unsigned long X11Image::Convert(std::uint32_t bgr) const {
  const unsigned long r = bgr & 0xffu, g = (bgr >> 8) & 0xffu, b = (bgr >> 16) & 0xffu;
  return alpha_ | ((r >> (8 - std::min(red_.bits, 8))) << red_.shift) |
         ((g >> (8 - std::min(green_.bits, 8))) << green_.shift) |
         ((b >> (8 - std::min(blue_.bits, 8))) << blue_.shift);
}

std::uint32_t* X11Image::Direct(bool& rgb, int& stride) const {
  if (!image_ || image_->bits_per_pixel != 32 || alpha_ != 0 || green_.shift != 8 ||
      green_.bits != 8 || red_.bits != 8 || blue_.bits != 8 ||
      image_->byte_order != (HostIsLittleEndian() ? LSBFirst : MSBFirst))
    return nullptr;
  if (red_.shift == 16 && blue_.shift == 0) {
    rgb = true;
  } else if (red_.shift == 0 && blue_.shift == 16) {
    rgb = false;
  } else {
    return nullptr;
  }
  stride = image_->bytes_per_line / 4;
  return reinterpret_cast<std::uint32_t*>(image_->data);
}

void X11Image::Store(const std::uint32_t* src, std::size_t stride, int x, int y, int w, int h) {
  if (!image_ || !Clip(x, y, w, h, width_, height_)) return;
  Finish();
  const auto alpha = static_cast<std::uint32_t>(alpha_);
  for (int row = y; row < y + h; ++row) {
    const std::uint32_t* in = src + static_cast<std::size_t>(row) * stride + x;
    if (fastPath_) {
      auto* out = reinterpret_cast<std::uint32_t*>(image_->data + row * image_->bytes_per_line) + x;
      for (int i = 0; i < w; ++i) {
        const std::uint32_t p = in[i];
        out[i] = alpha | ((p & 0xffu) << 16) | (p & 0xff00u) | ((p >> 16) & 0xffu);
      }
    } else {
      for (int i = 0; i < w; ++i) XPutPixel(image_, x + i, row, Convert(in[i]));
    }
  }
}

void X11Image::Put(Drawable drawable, GC gc, int x, int y, int w, int h) {
  if (!image_ || !Clip(x, y, w, h, width_, height_)) return;
  if (shm_) {
    XShmPutImage(display_, drawable, gc, image_, x, y, x, y, w, h, False);
    pending_ = true;
  } else {
    XPutImage(display_, drawable, gc, image_, x, y, x, y, w, h);
  }
}

void X11Image::PutRects(Drawable drawable, GC gc, XRectangle* rects, int count) {
  if (!image_ || count <= 0) return;
  XSetClipRectangles(display_, gc, 0, 0, rects, count, YXBanded);
  // Full rows from the first band's top to the last band's bottom: a server draws a transfer
  // as wide as the image straight from it, without a temporary copy of the request.
  const int top = rects[0].y, bottom = rects[count - 1].y + rects[count - 1].height;
  Put(drawable, gc, 0, top, width_, bottom - top);
}

void X11Image::Finish() {
  if (!pending_) return;
  XSync(display_, False);
  pending_ = false;
}

}  // namespace glintora::x11
