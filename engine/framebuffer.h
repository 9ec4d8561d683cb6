// The pixels a show draws into: owned by the host (a DIB section, an XImage, a vector), referenced
// by the engine, presented by the host once per frame. Pixels are 0x00BBGGRR, row-major; writes
// outside the bounds are dropped. The touched rectangle grows with every stored pixel so the host
// presents only what changed.
#pragma once

#include <cstdint>
#include <vector>

namespace glintora {

struct PixelWrite {
  std::int32_t X;
  std::int32_t Y;
  std::uint32_t Colour;
};

struct Framebuffer {
  std::uint32_t* Pixels = nullptr;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::int32_t Stride = 0;  // pixels from one row to the next

  // Touched this frame: [TouchedLeft, TouchedRight) x [TouchedTop, TouchedBottom); empty when
  // TouchedLeft >= TouchedRight.
  std::int32_t TouchedLeft = 0;
  std::int32_t TouchedTop = 0;
  std::int32_t TouchedRight = 0;
  std::int32_t TouchedBottom = 0;

  std::uint64_t Writes = 0;              // every Set, stored or clipped
  std::vector<PixelWrite>* Log = nullptr;  // when set, every Set is recorded (benchmarks, tests)

  void Attach(std::uint32_t* pixels, std::int32_t width, std::int32_t height, std::int32_t stride) {
    Pixels = pixels;
    Width = width < 0 ? 0 : width;
    Height = height < 0 ? 0 : height;
    Stride = stride;
    ResetTouched();
  }

  void Set(std::int64_t x, std::int64_t y, std::uint32_t colour) {
    ++Writes;
    if (Log) Log->push_back({static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), colour});
    if (static_cast<std::uint64_t>(x) >= static_cast<std::uint64_t>(Width) ||
        static_cast<std::uint64_t>(y) >= static_cast<std::uint64_t>(Height))
      return;
    const auto ix = static_cast<std::int32_t>(x);
    const auto iy = static_cast<std::int32_t>(y);
    Pixels[static_cast<std::size_t>(iy) * static_cast<std::size_t>(Stride) + ix] = colour;
    TouchedLeft = ix < TouchedLeft ? ix : TouchedLeft;
    TouchedRight = ix >= TouchedRight ? ix + 1 : TouchedRight;
    TouchedTop = iy < TouchedTop ? iy : TouchedTop;
    TouchedBottom = iy >= TouchedBottom ? iy + 1 : TouchedBottom;
  }

  std::uint32_t At(std::int32_t x, std::int32_t y) const {
    return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Stride) + x];
  }

  bool AnyTouched() const { return TouchedLeft < TouchedRight && TouchedTop < TouchedBottom; }

  // An empty rectangle that the first stored pixel turns into that pixel.
  void ResetTouched() {
    TouchedLeft = Width;
    TouchedTop = Height;
    TouchedRight = 0;
    TouchedBottom = 0;
  }

  // Every pixel to colour; the whole surface counts as touched.
  void Fill(std::uint32_t colour) {
    for (std::int32_t y = 0; y < Height; ++y) {
      std::uint32_t* row = Pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(Stride);
      for (std::int32_t x = 0; x < Width; ++x) row[x] = colour;
    }
    TouchedLeft = 0;
    TouchedTop = 0;
    TouchedRight = Width;
    TouchedBottom = Height;
  }
};

}  // namespace glintora
