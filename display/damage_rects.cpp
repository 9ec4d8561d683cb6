#include "display/damage_rects.h"

#include <algorithm>
#include <functional>

namespace glintora {

namespace {

constexpr std::int64_t kNone = INT64_MAX / 2;

// The first bit at or after `at` that is `set`, or `end`.
int Next(const std::uint64_t* bits, int at, int end, bool set) {
  while (at < end) {
    std::uint64_t word = bits[at >> 6];
    if (!set) word = ~word;
    word &= ~std::uint64_t{0} << (at & 63);
    if (word != 0) return std::min(end, (at & ~63) + __builtin_ctzll(word));
    at = (at & ~63) + 64;
  }
  return end;
}

// Sets `into` to the union of `count` rows of `words` words from `rows`.
void Union(std::vector<std::uint64_t>& into, const std::vector<std::uint64_t>& rows, int first,
           int count, int words) {
  into.assign(static_cast<std::size_t>(words), 0);
  for (int r = first; r < first + count; ++r)
    for (int w = 0; w < words; ++w) into[static_cast<std::size_t>(w)] |= rows[static_cast<std::size_t>(r * words + w)];
}

}  // namespace

void DamageRects::Band(int most) {
  // k rectangles leave out the k - 1 widest gaps between the runs (the leftmost of equal ones),
  // kept in gaps_ widest first as they are found.
  gaps_.clear();
  const auto keep = static_cast<std::size_t>(most - 1);
  const std::uint64_t* bits = union_.data();
  const int first = Next(bits, 0, cells_, true);
  int end = first;
  for (std::uint32_t run = 0; end < cells_; ++run) {
    const int stop = Next(bits, end, cells_, false);
    end = Next(bits, stop, cells_, true);
    if (end >= cells_) {
      end = stop;
      break;
    }
    const std::int64_t gap = std::int64_t{end - stop} << 32 | (0xFFFFFFFFu - run);
    if (gaps_.size() == keep && (keep == 0 || gap <= gaps_.back())) continue;
    if (gaps_.size() == keep) gaps_.pop_back();
    gaps_.insert(std::upper_bound(gaps_.begin(), gaps_.end(), gap, std::greater<>()), gap);
  }
  width_.assign(1, end - first);
  for (const std::int64_t gap : gaps_) width_.push_back(width_.back() - (gap >> 32));
}

const std::vector<TileRun>& DamageRects::Shape(const Framebuffer& surface, int maxRects) {
  rects_.clear();
  if (surface.Width <= 0 || surface.Height <= 0) return rects_;
  if (DirtyTiles::Whole(surface)) {
    rects_.push_back({0, 0, surface.Width, surface.Height});
    return rects_;
  }
  if (surface.MarkedCount == 0) return rects_;
  const int most = std::clamp(maxRects, 1, 255);
  constexpr int kTile = Framebuffer::kTile;
  int rowShift = kRowShift - Framebuffer::kTileShift;  // in tiles
  while (((surface.TileRows - 1) >> rowShift) + 1 > kMaxRows) ++rowShift;
  int cellShift = kCellShift - Framebuffer::kTileShift;
  while (((surface.TileColumns - 1) >> cellShift) + 1 > kMaxCells) ++cellShift;
  const int rows = ((surface.TileRows - 1) >> rowShift) + 1, rowHeight = kTile << rowShift;
  const int columns = surface.TileColumns;
  cells_ = ((columns - 1) >> cellShift) + 1;
  const int cellWords = (cells_ + 63) / 64, tileWords = (columns + 63) / 64;
  cellRows_.assign(static_cast<std::size_t>(rows * cellWords), 0);
  tileRows_.assign(static_cast<std::size_t>(rows * tileWords), 0);
  marked_.assign(static_cast<std::size_t>(rows), false);
  for (std::uint32_t i = 0; i < surface.MarkedCount; ++i) {
    const std::uint32_t tile = surface.MarkedTiles[i];
    const int row = static_cast<int>(tile / static_cast<std::uint32_t>(columns)) >> rowShift;
    const int column = static_cast<int>(tile % static_cast<std::uint32_t>(columns));
    const int cell = column >> cellShift;
    cellRows_[static_cast<std::size_t>(row * cellWords + cell / 64)] |= std::uint64_t{1} << (cell % 64);
    tileRows_[static_cast<std::size_t>(row * tileWords + column / 64)] |= std::uint64_t{1} << (column % 64);
    marked_[static_cast<std::size_t>(row)] = true;
  }

  // cost_[r][b]: the least area covering rows 0..r - 1 in at most b rectangles; from_[r][b]: the
  // band ending at row r that does it, as its first row << 8 | its rectangles (0: row r - 1 is
  // unmarked and left out).
  const auto at = [most](int row, int count) { return static_cast<std::size_t>(row * (most + 1) + count); };
  cost_.assign(at(rows, most) + 1, kNone);
  from_.assign(cost_.size(), 0);
  std::fill(cost_.begin(), cost_.begin() + most + 1, 0);
  const auto relax = [&](int first, int last, int count, std::int64_t area) {
    for (int b = count; b <= most; ++b) {
      const std::int64_t c = cost_[at(first, b - count)] + area;
      if (c < cost_[at(last, b)]) cost_[at(last, b)] = c, from_[at(last, b)] = first << 8 | count;
    }
  };
  for (int i = 0; i < rows; ++i) {
    if (!marked_[static_cast<std::size_t>(i)]) {
      relax(i, i + 1, 0, 0);
      continue;
    }
    union_.assign(static_cast<std::size_t>(cellWords), 0);
    for (int j = i + 1; j <= rows; ++j) {
      for (int w = 0; w < cellWords; ++w)
        union_[static_cast<std::size_t>(w)] |= cellRows_[static_cast<std::size_t>((j - 1) * cellWords + w)];
      if (!marked_[static_cast<std::size_t>(j - 1)]) continue;  // a band ends on a marked row
      Band(most);
      const std::int64_t height = std::min(j * rowHeight, surface.Height) - i * rowHeight;
      for (std::size_t k = 0; k < width_.size(); ++k)
        relax(i, j, static_cast<int>(k) + 1, (width_[k] << cellShift) * kTile * height);
    }
  }
  int count = 0;
  for (int b = 1; b <= most; ++b)
    if (cost_[at(rows, b)] + b * kBoxArea < cost_[at(rows, count)] + count * kBoxArea) count = b;

  // Back up from the last row. A band's rectangles split its runs of cells at the chosen gaps;
  // each then narrows to the marked tiles inside it.
  for (int j = rows; j > 0;) {
    const int i = from_[at(j, count)] >> 8, k = from_[at(j, count)] & 0xFF;
    if (k > 0) {
      Union(union_, cellRows_, i, j - i, cellWords);
      Band(k);
      runs_.clear();
      for (int c = Next(union_.data(), 0, cells_, true); c < cells_;) {
        const int stop = Next(union_.data(), c, cells_, false);
        runs_.push_back({c, stop});
        c = Next(union_.data(), stop, cells_, true);
      }
      cut_.assign(runs_.size(), false);  // a rectangle ends after this run
      for (const std::int64_t gap : gaps_) cut_[0xFFFFFFFFu - static_cast<std::uint32_t>(gap)] = true;
      cut_[runs_.size() - 1] = true;
      Union(tiles_, tileRows_, i, j - i, tileWords);
      const std::size_t band = rects_.size();
      for (std::size_t r = 0, s = 0; r < runs_.size(); ++r) {
        if (!cut_[r]) continue;
        const int from = runs_[s].first << cellShift, to = std::min(runs_[r].second << cellShift, columns);
        int left = Next(tiles_.data(), from, to, true), right = left;
        for (int t = left; t < to;) {
          right = Next(tiles_.data(), t, to, false);
          t = Next(tiles_.data(), right, to, true);
        }
        rects_.push_back({left * kTile, i * rowHeight, std::min(right * kTile, surface.Width),
                          std::min(j * rowHeight, surface.Height)});
        s = r + 1;
      }
      std::reverse(rects_.begin() + static_cast<std::ptrdiff_t>(band), rects_.end());
    }
    count -= k;
    j = i;
  }
  std::reverse(rects_.begin(), rects_.end());
  return rects_;
}

}  // namespace glintora
