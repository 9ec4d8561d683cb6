#include "windows/dirty_tiles.h"

#include <algorithm>

namespace glintora {

const std::vector<TileRun>& DirtyTiles::Collect(const Framebuffer& surface) {
  rects_.clear();
  if (surface.Width <= 0 || surface.Height <= 0) return rects_;
  if (Whole(surface)) {
    rects_.push_back({0, 0, surface.Width, surface.Height});
    return rects_;
  }
  if (surface.MarkedCount == 0) return rects_;
  sorted_.assign(surface.MarkedTiles.begin(), surface.MarkedTiles.begin() + surface.MarkedCount);
  std::sort(sorted_.begin(), sorted_.end());
  Runs(surface, false);
  if (rects_.size() > kMaxRects) {
    rects_.clear();
    Runs(surface, true);
  }
  return rects_;
}

// One pass over the sorted tiles, row by row. spans: a row's tiles form one run from its first
// to its last; else runs join across gaps of up to kJoinGap unmarked tiles.
void DirtyTiles::Runs(const Framebuffer& surface, bool spans) {
  const auto columns = static_cast<std::uint32_t>(surface.TileColumns);
  open_.clear();
  int previousRow = -2;
  for (std::size_t i = 0; i < sorted_.size();) {
    const int row = static_cast<int>(sorted_[i] / columns);
    if (row != previousRow + 1) open_.clear();  // a gap of rows closes every rectangle
    previousRow = row;
    next_.clear();
    scan_ = 0;
    while (i < sorted_.size() && static_cast<int>(sorted_[i] / columns) == row) {
      const int first = static_cast<int>(sorted_[i] % columns);
      int last = first;
      ++i;
      while (i < sorted_.size() && static_cast<int>(sorted_[i] / columns) == row &&
             (spans || static_cast<int>(sorted_[i] % columns) <= last + 1 + kJoinGap)) {
        last = static_cast<int>(sorted_[i] % columns);
        ++i;
      }
      Add(surface, row, first, last);
    }
    open_.swap(next_);
  }
}

// The run of tiles first..last in row: extends the rectangle above with the same columns, else
// starts one.
void DirtyTiles::Add(const Framebuffer& surface, int row, int first, int last) {
  const int left = first * Framebuffer::kTile;
  const int right = std::min((last + 1) * Framebuffer::kTile, static_cast<int>(surface.Width));
  const int top = row * Framebuffer::kTile;
  const int bottom = std::min(top + Framebuffer::kTile, static_cast<int>(surface.Height));
  while (scan_ < open_.size() && rects_[open_[scan_]].Left < left) ++scan_;
  if (scan_ < open_.size()) {
    TileRun& above = rects_[open_[scan_]];
    if (above.Left == left && above.Right == right && above.Bottom == top) {
      above.Bottom = bottom;
      next_.push_back(open_[scan_++]);
      return;
    }
  }
  rects_.push_back({left, top, right, bottom});
  next_.push_back(rects_.size() - 1);
}

}  // namespace glintora
