#include "display/dirty_tiles.h"

#include <algorithm>

namespace glintora {

// Clears rects_; false when the frame is empty or went out whole, else the marked cells in
// sorted_ in row order, a cell being 1 << shift tiles square (columns_ to a row, unit_ pixels).
bool DirtyTiles::Sort(const Framebuffer& surface, int shift) {
  rects_.clear();
  if (surface.Width <= 0 || surface.Height <= 0) return false;
  if (Whole(surface)) {
    rects_.push_back({0, 0, surface.Width, surface.Height});
    return false;
  }
  if (surface.MarkedCount == 0) return false;
  const auto tileColumns = static_cast<std::uint32_t>(surface.TileColumns);
  columns_ = (tileColumns + (1u << shift) - 1) >> shift;
  unit_ = Framebuffer::kTile << shift;
  sorted_.resize(surface.MarkedCount);
  if (shift == 0) std::copy_n(surface.MarkedTiles.begin(), surface.MarkedCount, sorted_.begin());
  for (std::uint32_t i = 0; shift > 0 && i < surface.MarkedCount; ++i) {
    const std::uint32_t tile = surface.MarkedTiles[i];
    sorted_[i] = (tile / tileColumns >> shift) * columns_ + (tile % tileColumns >> shift);
  }
  std::sort(sorted_.begin(), sorted_.end());
  if (shift > 0) sorted_.erase(std::unique(sorted_.begin(), sorted_.end()), sorted_.end());
  return true;
}

const std::vector<TileRun>& DirtyTiles::Collect(const Framebuffer& surface) {
  constexpr int shift = kBlockShift > Framebuffer::kTileShift ? kBlockShift - Framebuffer::kTileShift : 0;
  if (!Sort(surface, shift)) return rects_;
  Runs(surface, false);
  if (rects_.size() > kMaxRects) {
    rects_.clear();
    Runs(surface, true);
  }
  return rects_;
}

const std::vector<TileRun>& DirtyTiles::Bands(const Framebuffer& surface) {
  if (!Sort(surface, 0)) return rects_;
  BandRuns(surface, false);
  if (rects_.size() > kMaxBands) {
    rects_.clear();
    BandRuns(surface, true);
  }
  return rects_;
}

// Each tile row's runs of adjacent tiles (spans: one from its first to its last tile); a row
// whose runs repeat those of the row just above joins that band.
void DirtyTiles::BandRuns(const Framebuffer& surface, bool spans) {
  const std::uint32_t columns = columns_;
  const int k = unit_;
  std::size_t band = 0, previous = 0;  // where the current and the band above start in rects_
  for (std::size_t i = 0; i < sorted_.size();) {
    const std::uint32_t row = sorted_[i] / columns;
    const int top = static_cast<int>(row) * k;
    const int bottom = std::min(top + k, static_cast<int>(surface.Height));
    band = rects_.size();
    while (i < sorted_.size() && sorted_[i] / columns == row) {
      const std::uint32_t first = sorted_[i] % columns;
      std::uint32_t last = first;
      for (++i; i < sorted_.size() && sorted_[i] / columns == row &&
                (spans || sorted_[i] % columns == last + 1);
           ++i)
        last = sorted_[i] % columns;
      rects_.push_back({static_cast<int>(first) * k, top,
                        std::min(static_cast<int>(last + 1) * k, static_cast<int>(surface.Width)),
                        bottom});
    }
    const std::size_t count = rects_.size() - band;
    bool same = band > previous && band - previous == count && rects_[previous].Bottom == top;
    for (std::size_t j = 0; same && j < count; ++j)
      same = rects_[previous + j].Left == rects_[band + j].Left &&
             rects_[previous + j].Right == rects_[band + j].Right;
    if (same) {
      for (std::size_t j = 0; j < count; ++j) rects_[previous + j].Bottom = bottom;
      rects_.resize(band);
    } else {
      previous = band;
    }
  }
}

// One pass over the sorted tiles, row by row. spans: a row's tiles form one run from its first
// to its last; else runs join across gaps of up to kJoinGap unmarked tiles.
void DirtyTiles::Runs(const Framebuffer& surface, bool spans) {
  const std::uint32_t columns = columns_;
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
  const int left = first * unit_;
  const int right = std::min((last + 1) * unit_, static_cast<int>(surface.Width));
  const int top = row * unit_;
  const int bottom = std::min(top + unit_, static_cast<int>(surface.Height));
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
