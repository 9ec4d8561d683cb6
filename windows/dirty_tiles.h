// Which parts of a frame a host sends to the screen. A sparse frame (sparks scattered over the
// sky) touches a rectangle nearly as large as the screen while changing few pixels: then only the
// 32-pixel tiles its logged writes fell in go out, one rectangle per run of neighbouring tiles in
// a row. A dense frame, too many runs, or a touch the log does not explain (a clear) goes out as
// the one touched rectangle.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/framebuffer.h"

namespace glintora {

struct TileRun {
  int Left, Top, Right, Bottom;  // [Left, Right) x [Top, Bottom), inside the surface
};

class DirtyTiles {
 public:
  static constexpr int kTile = 32;
  static constexpr int kMaxRuns = 256;  // past this one large transfer is cheaper
  // A frame is sparse when its area holds this many pixels per write.
  static constexpr std::uint64_t kSparseFactor = 64;

  static bool Sparse(std::uint64_t writes, std::uint64_t area) {
    return writes * kSparseFactor <= area;
  }

  // Fills Runs() with surface's written tiles when writes (the frame's whole log) make the frame
  // sparse; false when it should go out as its touched rectangle.
  bool Collect(const Framebuffer& surface, const std::vector<PixelWrite>& writes);
  const std::vector<TileRun>& Runs() const { return runs_; }

 private:
  std::vector<std::uint8_t> tiles_;
  std::vector<TileRun> runs_;
};

}  // namespace glintora
