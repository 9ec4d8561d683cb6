// What a frame sends: the tiles it wrote as few rectangles, the whole surface after a clear or
// when most tiles changed, and only the new frame's tiles after a reset.
#include <gtest/gtest.h>

#include <ostream>
#include <tuple>
#include <vector>

#include "windows/dirty_tiles.h"

namespace glintora {

bool operator==(const TileRun& a, const TileRun& b) {
  return std::tie(a.Left, a.Top, a.Right, a.Bottom) == std::tie(b.Left, b.Top, b.Right, b.Bottom);
}
std::ostream& operator<<(std::ostream& out, const TileRun& r) {
  return out << "[" << r.Left << "," << r.Top << " - " << r.Right << "," << r.Bottom << ")";
}

namespace {

struct Point { int x, y; };

constexpr int k = Framebuffer::kTile;
// 7 tile columns (the last a quarter tile wide) and 4 tile rows (the last an eighth high).
constexpr int kWidth = 6 * k + k / 4, kHeight = 3 * k + k / 8;

// The first n tiles in row order, one pixel each.
std::vector<Point> FirstTiles(int n) {
  std::vector<Point> points;
  for (int i = 0; i < n; ++i) points.push_back({i % 7 * k, i / 7 * k});
  return points;
}

struct Case {
  const char* name;
  std::vector<Point> writes;
  bool fill;
  std::vector<TileRun> want;
};

// Each case's frame follows an earlier frame elsewhere, which a reset must forget.
template <typename Method>
void Check(const std::vector<Case>& cases, Method method) {
  std::vector<std::uint32_t> memory(kWidth * kHeight);
  Framebuffer fb;
  fb.Attach(memory.data(), kWidth, kHeight, kWidth);
  DirtyTiles tiles;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fb.Set(kWidth - 1, 0, 1);
    fb.Set(3 * k, kHeight - 1, 1);
    fb.ResetTouched();
    if (c.fill) fb.Fill(0);
    for (const Point& p : c.writes) fb.Set(p.x, p.y, 0x00FFFFFFu);
    EXPECT_EQ((tiles.*method)(fb), c.want);
    fb.ResetTouched();
  }
}

TEST(DirtyTiles, CoverExactlyTheWrittenTiles) {
  Check({{"nothing", {}, false, {}},
         {"one pixel", {{5, 5}}, false, {{0, 0, k, k}}},
         {"clipped writes mark nothing", {{-1, 5}, {kWidth, 5}, {5, kHeight}}, false, {}},
         {"the partial corner tile", {{kWidth - 1, kHeight - 1}}, false, {{6 * k, 3 * k, kWidth, kHeight}}},
         {"neighbours in a row join", {{k - 1, 0}, {k, k - 1}, {2 * k + k / 2, 3}}, false, {{0, 0, 3 * k, k}}},
         {"a one-tile gap is cheaper sent than split", {{0, 0}, {2 * k, 0}}, false, {{0, 0, 3 * k, k}}},
         {"a two-tile gap splits", {{0, 0}, {3 * k, 0}}, false, {{0, 0, k, k}, {3 * k, 0, 4 * k, k}}},
         {"the same run below extends downwards",
          {{k + k / 2, 5}, {2 * k + k / 2, 5}, {2 * k + k / 2, k + k / 2}, {k + k / 2, k + k / 2}, {3 * k - 1, 2 * k + k / 2}, {k + 1, 2 * k + k / 2}},
          false, {{k, 0, 3 * k, 3 * k}}},
         {"a different run below starts anew", {{0, 0}, {k + k / 2, 0}, {0, k + k / 2}}, false,
          {{0, 0, 2 * k, k}, {0, k, k, 2 * k}}},
         {"a row without writes ends a rectangle", {{0, 0}, {0, 2 * k + k / 2}}, false, {{0, 0, k, k}, {0, 2 * k, k, 3 * k}}},
         {"two columns side by side", {{0, 0}, {3 * k + k / 2, 0}, {0, k}, {3 * k + k / 2, k}}, false,
          {{0, 0, k, 2 * k}, {3 * k, 0, 4 * k, 2 * k}}},
         {"a clear sends everything", {{5, 5}}, true, {{0, 0, kWidth, kHeight}}},
         {"half the tiles is not most", FirstTiles(14), false, {{0, 0, kWidth, 2 * k}}},
         {"most of the tiles", FirstTiles(15), false, {{0, 0, kWidth, kHeight}}}},
        &DirtyTiles::Collect);
}

// Bands: exactly the written tiles, each tile row one band sorted left to right, a band that
// repeats the one just above merged into it.
TEST(DirtyTiles, BandsAreTheWrittenTilesInBandedOrder) {
  Check({{"nothing", {}, false, {}},
         {"the partial corner tile", {{kWidth - 1, kHeight - 1}}, false, {{6 * k, 3 * k, kWidth, kHeight}}},
         {"neighbours join", {{k - 1, 0}, {k, k - 1}}, false, {{0, 0, 2 * k, k}}},
         {"a one-tile gap splits", {{2 * k, 0}, {0, 0}}, false, {{0, 0, k, k}, {2 * k, 0, 3 * k, k}}},
         {"the same runs below merge", {{2 * k, k}, {0, 0}, {2 * k, 0}, {0, k}, {0, 2 * k}, {2 * k, 2 * k}}, false,
          {{0, 0, k, 3 * k}, {2 * k, 0, 3 * k, 3 * k}}},
         {"one run fewer below is a new band", {{0, 0}, {2 * k, 0}, {0, k}}, false,
          {{0, 0, k, k}, {2 * k, 0, 3 * k, k}, {0, k, k, 2 * k}}},
         {"a longer run below is a new band", {{0, 0}, {0, k}, {k, k}}, false,
          {{0, 0, k, k}, {0, k, 2 * k, 2 * k}}},
         {"only the band just above merges", {{0, 0}, {k, k}, {0, 2 * k}, {0, 3 * k}}, false,
          {{0, 0, k, k}, {k, k, 2 * k, 2 * k}, {0, 2 * k, k, kHeight}}},
         {"a row without writes ends a band", {{0, 0}, {0, 2 * k}}, false, {{0, 0, k, k}, {0, 2 * k, k, 3 * k}}},
         {"a clear sends everything", {{5, 5}}, true, {{0, 0, kWidth, kHeight}}},
         {"half the tiles is not most", FirstTiles(14), false, {{0, 0, kWidth, 2 * k}}},
         {"most of the tiles", FirstTiles(15), false, {{0, 0, kWidth, kHeight}}}},
        &DirtyTiles::Bands);
}

// Every third tile of every row, shifted by one each row: more rectangles than are worth sending,
// so each tile row goes out as one span from its first to its last written tile.
TEST(DirtyTiles, ScatteredFramesGoOutAsRowSpans) {
  const int columns = 256, rows = DirtyTiles::kMaxBands / (columns / 3) + 2;
  std::vector<std::uint32_t> memory(static_cast<std::size_t>(columns) * k * rows * k);
  Framebuffer fb;
  fb.Attach(memory.data(), columns * k, rows * k, columns * k);
  for (int row = 0; row < rows; ++row)
    for (int column = row % 3; column < columns; column += 3) fb.Set(column * k + 3, row * k + 3, 7);
  ASSERT_GT(fb.MarkedCount, static_cast<std::uint32_t>(DirtyTiles::kMaxBands));
  DirtyTiles tiles;
  const int last[] = {255, 253, 254};  // the last column of each row's pattern
  for (auto method : {&DirtyTiles::Collect, &DirtyTiles::Bands}) {
    const std::vector<TileRun>& rects = (tiles.*method)(fb);
    ASSERT_EQ(rects.size(), static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row)
      EXPECT_EQ(rects[row], (TileRun{row % 3 * k, row * k, (last[row % 3] + 1) * k, row * k + k}));
  }
}

}  // namespace
}  // namespace glintora
