// Frames out: one PNG per frame (libpng) and an animated, looping GIF (giflib, each frame
// quantised to its own 256-colour palette).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/framebuffer.h"

struct GifFileType;

namespace glintora {

bool WritePng(const std::string& path, const Framebuffer& frame, std::string& error);

class GifWriter {
 public:
  ~GifWriter();
  bool Open(const std::string& path, std::int32_t width, std::int32_t height, std::string& error);
  // delayMs is rounded to the GIF's hundredths of a second: at least 2, which browsers honour, and
  // at most the field's 65535.
  bool Add(const Framebuffer& frame, std::int32_t delayMs, std::string& error);
  bool Close(std::string& error);

 private:
  GifFileType* gif_ = nullptr;
  std::int32_t width_ = 0, height_ = 0;
  std::vector<std::uint8_t> r_, g_, b_, index_;
};

}  // namespace glintora
