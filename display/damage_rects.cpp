#include "display/damage_rects.h"

#include <algorithm>

namespace glintora {

namespace {

std::int64_t Area(const TileRun& r) { return std::int64_t{r.Right - r.Left} * (r.Bottom - r.Top); }

TileRun Join(const TileRun& a, const TileRun& b) {
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
}

// Two that overlap always merge: the rectangles stay disjoint, no pixel is sent twice.
std::int64_t Added(const TileRun& a, const TileRun& b) {
  if (a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom) return -1;
  return Area(Join(a, b)) - Area(a) - Area(b);
}

}  // namespace

void DamageRects::Nearest(std::size_t i) {
  added_[i] = INT64_MAX;
  for (std::size_t j = 0; j < rects_.size(); ++j) {
    if (j == i || !live_[j]) continue;
    const std::int64_t added = Added(rects_[i], rects_[j]);
    if (added < added_[i]) added_[i] = added, partner_[i] = j;
  }
}

// The sorted marked blocks' runs of neighbours in each block row, blocks being 1 << shift pixels
// square, columns to a row.
void DamageRects::Runs(const Framebuffer& surface, int shift, std::uint32_t columns) {
  rects_.clear();
  for (std::size_t i = 0; i < cells_.size();) {
    const std::uint32_t row = cells_[i] / columns, first = cells_[i] % columns;
    std::uint32_t last = first;
    for (++i; i < cells_.size() && last + 1 < columns && cells_[i] == row * columns + last + 1; ++i)
      ++last;
    rects_.push_back({static_cast<std::int32_t>(first << shift),
                      static_cast<std::int32_t>(row << shift),
                      std::min(static_cast<std::int32_t>((last + 1) << shift), surface.Width),
                      std::min(static_cast<std::int32_t>((row + 1) << shift), surface.Height)});
  }
}

const std::vector<TileRun>& DamageRects::Shape(const Framebuffer& surface, int maxRects) {
  rects_.clear();
  if (surface.Width <= 0 || surface.Height <= 0) return rects_;
  if (DirtyTiles::Whole(surface)) {
    rects_.push_back({0, 0, surface.Width, surface.Height});
    return rects_;
  }
  int shift = kBlockShift - Framebuffer::kTileShift;
  const auto tileColumns = static_cast<std::uint32_t>(surface.TileColumns);
  std::uint32_t columns = (tileColumns + (1u << shift) - 1) >> shift;
  cells_.resize(surface.MarkedCount);
  for (std::uint32_t i = 0; i < surface.MarkedCount; ++i) {
    const std::uint32_t tile = surface.MarkedTiles[i];
    cells_[i] = (tile / tileColumns >> shift) * columns + (tile % tileColumns >> shift);
  }
  for (;;) {
    std::sort(cells_.begin(), cells_.end());
    cells_.erase(std::unique(cells_.begin(), cells_.end()), cells_.end());
    Runs(surface, shift + Framebuffer::kTileShift, columns);
    if (rects_.size() <= kMaxRuns ||
        (1 << (shift + Framebuffer::kTileShift)) >= std::max(surface.Width, surface.Height))
      break;
    const std::uint32_t coarser = (columns + 1) / 2;
    for (std::uint32_t& cell : cells_) cell = (cell / columns / 2) * coarser + cell % columns / 2;
    columns = coarser;
    ++shift;
  }
  std::size_t count = rects_.size();
  if (count <= 1) return rects_;
  partner_.assign(count, 0);
  added_.assign(count, 0);
  live_.assign(count, true);
  for (std::size_t i = 0; i < count; ++i) Nearest(i);
  const auto most = static_cast<std::size_t>(std::max(maxRects, 1));
  for (;;) {
    std::size_t i = 0;
    for (std::size_t k = 1; k < rects_.size(); ++k)
      if (live_[k] && (!live_[i] || added_[k] < added_[i])) i = k;
    if (count <= most && added_[i] > kFreeArea) break;
    const std::size_t j = partner_[i];
    rects_[i] = Join(rects_[i], rects_[j]);
    live_[j] = false;
    if (--count == 1) break;
    // Only pairs with i or j changed: whoever chose either looks again, the rest compare with i.
    Nearest(i);
    for (std::size_t k = 0; k < rects_.size(); ++k) {
      if (!live_[k] || k == i) continue;
      if (partner_[k] == i || partner_[k] == j) {
        Nearest(k);
      } else {
        const std::int64_t added = Added(rects_[k], rects_[i]);
        if (added < added_[k]) added_[k] = added, partner_[k] = i;
      }
    }
  }
  std::size_t kept = 0;
  for (std::size_t k = 0; k < rects_.size(); ++k)
    if (live_[k]) rects_[kept++] = rects_[k];
  rects_.resize(kept);
  return rects_;
}

}  // namespace glintora
