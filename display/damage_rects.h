// The damage a surface reports to a compositor: every changed pixel covered by a few disjoint
// rectangles with little area beyond the changed blocks. Compositors pay for each rectangle (a
// clip and a blit, or a texture upload of its own) and for each pixel in it, and several redraw
// the bounding box of the lot once there are more than a handful (wlroots past 20 over the frames
// a buffer's age spans, KWin from 3): on a wide screen, with sparks spread over a burst or two,
// that box is most of the screen. So the runs of the frame's marked blocks are merged, the pair
// whose bounding box adds the least area first, until at most maxRects are left and no merge adds
// less than a rectangle costs. The blocks are coarse, and coarser still while the runs are many
// (a few rectangles cannot follow fine detail anyway), so the merging, which grows with the cube
// of the runs, stays cheap. Portable.
#pragma once

#include <cstdint>
#include <vector>

#include "display/dirty_tiles.h"
#include "engine/framebuffer.h"

namespace glintora {

class DamageRects {
 public:
  static constexpr int kBlockShift = 6;  // 64x64-pixel blocks at first
  static constexpr int kMaxRuns = 48;    // past this, blocks twice as large
  // Two frames' six, banded, mostly stay under wlroots' 20; a renderer that uploads each
  // rectangle makes six uploads at most.
  static constexpr int kMaxRects = 6;
  // A merge that adds no more than this many pixels is cheaper than a rectangle of its own.
  static constexpr std::int64_t kFreeArea = 2 << (2 * kBlockShift);  // two first blocks

  // The rectangles, [Left, Right) x [Top, Bottom) inside the surface; one for the whole surface
  // when DirtyTiles would send it whole, none when nothing changed. Valid until the next call.
  const std::vector<TileRun>& Shape(const Framebuffer& surface, int maxRects = kMaxRects);

 private:
  void Runs(const Framebuffer& surface, int shift, std::uint32_t columns);
  void Nearest(std::size_t i);

  std::vector<std::uint32_t> cells_;
  std::vector<TileRun> rects_;
  std::vector<std::size_t> partner_;  // the live rectangle whose merge with i adds least
  std::vector<std::int64_t> added_;   // that merge's added area
  std::vector<bool> live_;
};

}  // namespace glintora
