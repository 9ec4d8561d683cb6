// One output as a saver or wallpaper covers it: it gets a surface once its description is
// complete, a new scale when its scale changes, and exactly one covered output's show plays the
// sound. Each output runs its own show at its own physical size, within bounds a hostile or
// mistaken compositor cannot push into an overflow or a buffer of gigabytes. Portable: the host
// keeps one entry in each output's record and feeds in the events.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace glintora {

// What the host must do for an output after its description completed.
enum class OutputChange { None, Make, Remake };

constexpr std::int32_t kMaxScale = 8;
// 8K UHD (7680x4320) fits; a larger buffer is drawn at a lower scale or size.
constexpr std::int64_t kMaxBufferPixels = std::int64_t{1} << 25;
constexpr std::int32_t kMaxSurfaceSide = 16384;

struct OutputEntry {
  std::string Name;           // "HEADLESS-1"; empty until announced
  std::int32_t Scale = 1;     // pending until Done
  std::int32_t MadeScale = 0; // the scale its surface was made at; 0 = no surface
  bool Described = false;     // one Done seen
  bool Sound = false;         // its show plays the sound

  void SetScale(std::int32_t scale);
  // The description is complete (wl_output.done). covering: surfaces are wanted now.
  OutputChange Done(bool covering);
  // A saver starting: true when this output gets its surface now (described, none yet).
  bool Make();
  // Its surface went (a saver ending).
  void Drop() { MadeScale = 0, Sound = false; }
  bool HasSurface() const { return MadeScale != 0; }
};

// Exactly one output with a surface plays the sound: the one that already does, else the first
// (as when the one playing it was unplugged). The entry newly given it, or null.
OutputEntry* HandOnSound(const std::vector<OutputEntry*>& entries);

// A buffer for a surface of logical size width x height on an output of scale scale120/120.
// viewport: a viewport shows the buffer at the logical size, so the scale may be fractional and
// Scale is 1; without one the scale is whole and both sides are multiples of it. At least 1x1.
struct PixelSize {
  std::int32_t Width;
  std::int32_t Height;
  std::int32_t Scale;  // the surface's buffer scale
};
PixelSize BufferSizeFor(std::int32_t width, std::int32_t height, std::int32_t scale120,
                        bool viewport);

}  // namespace glintora
