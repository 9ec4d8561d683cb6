// Which parts of a frame a host sends to the screen: the framebuffer's marked tiles as few
// rectangles. Collect works in blocks of 1 << kBlockShift pixels (each holding any marked tile):
// marked blocks of a block row at most kJoinGap blocks apart join into a run; a run exactly below
// one of the row above extends it downwards. A frame that filled the surface, or marked most of its
// tiles, goes out whole; one scattered so widely that the rectangles would be too many goes out
// as one span per tile row (first to last marked tile), merged the same way.
//
// Bands serves a host that sends a frame as one transfer clipped to its damage: the marked tiles
// in Y-X banded order (each tile row one band of runs of adjacent tiles, left to right; a band
// whose runs equal those of the band just above extends it), so the receiver needs no sorting
// and no bytes outside the tiles are sent.
//
// The work follows the marked tiles (sorted), never the surface's size.
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
  static constexpr int kMaxRects = 1024;  // past this, fewer and larger transfers are cheaper
  // A transfer of its own costs about as much as a 32x32 block's pixels: Collect's runs are in
  // such blocks, and runs this many blocks apart join.
  static constexpr int kBlockShift = 5;
  static constexpr int kJoinGap = 1;

  // True when the frame should go out as the whole surface.
  static bool Whole(const Framebuffer& surface) {
    return surface.WholeMarked ||
           std::uint64_t{surface.MarkedCount} * 2 >
               std::uint64_t(surface.TileColumns) * std::uint64_t(surface.TileRows);
  }

  static constexpr int kMaxBands = 8192;  // past this, one span per tile row

  // The rectangles that cover every pixel the frame changed; empty when nothing changed.
  const std::vector<TileRun>& Collect(const Framebuffer& surface);
  // The same pixels as Y-X banded rectangles, exactly the marked tiles.
  const std::vector<TileRun>& Bands(const Framebuffer& surface);

 private:
  bool Sort(const Framebuffer& surface, int shift);
  void Runs(const Framebuffer& surface, bool spans);
  void BandRuns(const Framebuffer& surface, bool spans);
  void Add(const Framebuffer& surface, int row, int first, int last);

  std::vector<std::uint32_t> sorted_;
  std::uint32_t columns_ = 0;  // cells in a row of sorted_'s grid
  int unit_ = 0;               // a cell's side in pixels
  std::vector<TileRun> rects_;
  std::vector<std::size_t> open_;   // rects_ ending at the previous tile row, by left edge
  std::vector<std::size_t> next_;   // the same for the current row
  std::size_t scan_ = 0;            // next candidate in open_
};

}  // namespace glintora
