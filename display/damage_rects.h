// The damage a surface reports to a compositor: every changed pixel covered by a few disjoint
// rectangles with little area beyond the changed tiles. Compositors pay for each pixel they redraw
// or upload and a little for each rectangle; wlroots keeps damage as a pixman region, which cuts
// rectangles into y-x bands (a rectangle is split at the top and bottom edge of every other one
// beside it), and redraws the bounding box of the lot once the frames a buffer's age spans make
// more than 20 such boxes. So the rectangles come already banded: the surface's rows are cut into
// bands on a fixed grid of 64-pixel rows, each band holds rectangles spanning all its rows, and
// their sides follow the marked tiles. A region of them is the same boxes, and two frames' bands
// share the grid's lines, so their union stays few boxes. Of all such covers with at most
// maxRects rectangles Shape takes the one of least area in 64x64 cells, each rectangle counting
// kBoxArea pixels more (a dynamic programme over the bands: within a band, k rectangles leave out
// the k - 1 widest gaps between its marked cells), then narrows each to its marked tiles. The
// work follows the rows and cells, never the pixels. Portable.
#pragma once

#include <cstdint>
#include <vector>

#include "display/dirty_tiles.h"
#include "engine/framebuffer.h"

namespace glintora {

class DamageRects {
 public:
  static constexpr int kRowShift = 6;  // 64-pixel rows
  static constexpr int kMaxRows = 64;  // past this many, rows twice as tall: the work stays small
  // The bands' gaps are weighed in cells of this many pixels (at most kMaxCells to a row); the
  // rectangles' sides then narrow to the marked tiles.
  static constexpr int kCellShift = 6;
  static constexpr int kMaxCells = 128;
  // Two frames' ten, on one row grid, mostly stay within wlroots' 20; a renderer that uploads each
  // rectangle makes ten uploads at most.
  static constexpr int kMaxRects = 10;
  // What a rectangle of its own costs, in pixels redrawn: a clip, a blit or an upload call.
  static constexpr std::int64_t kBoxArea = 2 << (2 * kRowShift);

  // The rectangles, [Left, Right) x [Top, Bottom) inside the surface, top to bottom and left to
  // right; one for the whole surface when DirtyTiles would send it whole, none when nothing
  // changed. Valid until the next call.
  const std::vector<TileRun>& Shape(const Framebuffer& surface, int maxRects = kMaxRects);

 private:
  // For the marked cells in union_: the widest gaps between their runs into gaps_ (at most
  // most - 1), and the cells that k = 1.. rectangles cover into width_.
  void Band(int most);

  int cells_ = 0;                        // to a row
  std::vector<std::uint64_t> cellRows_;  // each row's marked cells, as bits
  std::vector<std::uint64_t> tileRows_;  // and its marked tile columns
  std::vector<bool> marked_;             // rows with any
  std::vector<std::uint64_t> union_, tiles_;  // a band's
  std::vector<std::pair<int, int>> runs_;     // a band's runs of cells, [first, stop)
  std::vector<bool> cut_;                     // a rectangle ends after this run
  std::vector<std::int64_t> gaps_;    // width << 32 | 0xFFFFFFFF - the run before it
  std::vector<std::int64_t> width_;
  std::vector<std::int64_t> cost_;    // (rows + 1) x (most + 1): least area of rows 0..r in b
  std::vector<std::int32_t> from_;    // and the band that ends there: first row << 8 | rectangles
  std::vector<TileRun> rects_;
};

}  // namespace glintora
