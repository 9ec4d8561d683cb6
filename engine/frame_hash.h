// A 64-bit FNV-1a hash of a framebuffer's visible pixels (row by row, each pixel's four bytes from
// the lowest), so two builds of the engine can show that they drew the same frame.
#pragma once

#include <cstdint>

#include "engine/framebuffer.h"

namespace glintora {

inline std::uint64_t FrameHash(const Framebuffer& frame) {
  std::uint64_t h = 0xcbf29ce484222325ULL;
  for (std::int32_t y = 0; y < frame.Height; ++y) {
    for (std::int32_t x = 0; x < frame.Width; ++x) {
      std::uint32_t p = frame.At(x, y);
      for (int b = 0; b < 4; ++b, p >>= 8) {
        h ^= p & 0xFFu;
        h *= 0x100000001b3ULL;
      }
    }
  }
  return h;
}

}  // namespace glintora
