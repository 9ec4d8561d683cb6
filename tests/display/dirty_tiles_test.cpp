// What a frame sends: the tiles it wrote as few rectangles, the whole surface after a clear or
// when most tiles changed, and only the new frame's tiles after a reset.
#include <gtest/gtest.h>

#include <ostream>
#include <tuple>
#include <vector>

#include "display/dirty_tiles.h"

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
constexpr int b = 1 << DirtyTiles::kBlockShift;  // Collect's unit

// u: the unit of the case's points and rectangles. The surface has 7 such columns (the last a
// quarter wide) and 4 rows (the last an eighth high).
struct Case {
  const char* name;
  std::vector<Point> writes;
  std::vector<TileRun> want;
  bool fill = false;  // a clear before the writes
};

// The first n units in row order, one pixel each.
std::vector<Point> FirstUnits(int n, int u) {
  std::vector<Point> points;
  for (int i = 0; i < n; ++i) points.push_back({i % 7 * u, i / 7 * u});
  return points;
}

// Each case's frame follows an earlier frame elsewhere, which a reset must forget.
template <typename Method>
void Check(int u, const std::vector<Case>& cases, Method method) {
  const int width = 6 * u + u / 4, height = 3 * u + u / 8;
  std::vector<std::uint32_t> memory(static_cast<std::size_t>(width) * height);
  Framebuffer fb;
  fb.Attach(memory.data(), width, height, width);
  DirtyTiles tiles;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fb.Set(width - 1, 0, 1);
    fb.Set(3 * u, height - 1, 1);
    fb.ResetTouched();
    if (c.fill) fb.Fill(0);
    for (const Point& p : c.writes) fb.Set(p.x, p.y, 0x00FFFFFFu);
    EXPECT_EQ((tiles.*method)(fb), c.want);
    fb.ResetTouched();
  }
}

// Collect: whole blocks, few rectangles.
TEST(DirtyTiles, CoverTheWrittenBlocksInFewRectangles) {
  const int w = 6 * b + b / 4, h = 3 * b + b / 8;
  Check(b,
        {{"nothing", {}, {}},
         {"one pixel", {{5, 5}}, {{0, 0, b, b}}},
         {"clipped writes mark nothing", {{-1, 5}, {w, 5}, {5, h}}, {}},
         {"the partial corner block", {{w - 1, h - 1}}, {{6 * b, 3 * b, w, h}}},
         {"neighbours in a row join", {{b - 1, 0}, {b, b - 1}, {2 * b + 6, 3}}, {{0, 0, 3 * b, b}}},
         {"a one-block gap is cheaper sent than split", {{0, 0}, {2 * b, 0}}, {{0, 0, 3 * b, b}}},
         {"a two-block gap splits", {{0, 0}, {3 * b, 0}}, {{0, 0, b, b}, {3 * b, 0, 4 * b, b}}},
         {"the same run below extends downwards",
          {{b + 8, 10}, {2 * b + 6, 10}, {2 * b + 6, b + 8}, {b + 8, b + 8}, {3 * b - 1, 2 * b + 6}, {b + 1, 2 * b + 6}},
          {{b, 0, 3 * b, 3 * b}}},
         {"a different run below starts anew", {{0, 0}, {b + 8, 0}, {0, b + 8}}, {{0, 0, 2 * b, b}, {0, b, b, 2 * b}}},
         {"a row without writes ends a rectangle", {{0, 0}, {0, 2 * b + 6}}, {{0, 0, b, b}, {0, 2 * b, b, 3 * b}}},
         {"two columns side by side", {{0, 0}, {3 * b + 4, 0}, {0, b}, {3 * b + 4, b}},
          {{0, 0, b, 2 * b}, {3 * b, 0, 4 * b, 2 * b}}},
         {"a clear sends everything", {{5, 5}}, {{0, 0, w, h}}, true},
         {"half the blocks", FirstUnits(14, b), {{0, 0, w, 2 * b}}}},
        &DirtyTiles::Collect);
}

// Bands: exactly the written tiles, each tile row one band sorted left to right, a band that
// repeats the one just above merged into it.
TEST(DirtyTiles, BandsAreTheWrittenTilesInBandedOrder) {
  const int w = 6 * k + k / 4, h = 3 * k + k / 8;
  Check(k,
        {{"nothing", {}, {}},
         {"the partial corner tile", {{w - 1, h - 1}}, {{6 * k, 3 * k, w, h}}},
         {"neighbours join", {{k - 1, 0}, {k, k - 1}}, {{0, 0, 2 * k, k}}},
         {"a one-tile gap splits", {{2 * k, 0}, {0, 0}}, {{0, 0, k, k}, {2 * k, 0, 3 * k, k}}},
         {"the same runs below merge", {{2 * k, k}, {0, 0}, {2 * k, 0}, {0, k}, {0, 2 * k}, {2 * k, 2 * k}},
          {{0, 0, k, 3 * k}, {2 * k, 0, 3 * k, 3 * k}}},
         {"one run fewer below is a new band", {{0, 0}, {2 * k, 0}, {0, k}},
          {{0, 0, k, k}, {2 * k, 0, 3 * k, k}, {0, k, k, 2 * k}}},
         {"a longer run below is a new band", {{0, 0}, {0, k}, {k, k}}, {{0, 0, k, k}, {0, k, 2 * k, 2 * k}}},
         {"only the band just above merges", {{0, 0}, {k, k}, {0, 2 * k}, {0, 3 * k}},
          {{0, 0, k, k}, {k, k, 2 * k, 2 * k}, {0, 2 * k, k, h}}},
         {"a row without writes ends a band", {{0, 0}, {0, 2 * k}}, {{0, 0, k, k}, {0, 2 * k, k, 3 * k}}},
         {"a clear sends everything", {{5, 5}}, {{0, 0, w, h}}, true},
         {"half the tiles is not most", FirstUnits(14, k), {{0, 0, w, 2 * k}}},
         {"most of the tiles", FirstUnits(15, k), {{0, 0, w, h}}}},
        &DirtyTiles::Bands);
}

// Every third unit of every row, shifted by one each row: more rectangles than are worth
// sending, so each row goes out as one span from its first to its last written unit.
TEST(DirtyTiles, ScatteredFramesGoOutAsRowSpans) {
  const struct {
    int unit, rows, limit;
    const std::vector<TileRun>& (DirtyTiles::*method)(const Framebuffer&);
  } cases[] = {{b, 16, DirtyTiles::kMaxRects, &DirtyTiles::Collect},
               {k, DirtyTiles::kMaxBands / 85 + 2, DirtyTiles::kMaxBands, &DirtyTiles::Bands}};
  const int columns = 256;
  for (const auto& c : cases) {
    const int u = c.unit;
    std::vector<std::uint32_t> memory(static_cast<std::size_t>(columns) * u * c.rows * u);
    Framebuffer fb;
    fb.Attach(memory.data(), columns * u, c.rows * u, columns * u);
    int written = 0;
    for (int row = 0; row < c.rows; ++row)
      for (int column = row % 3; column < columns; column += 3, ++written)
        fb.Set(column * u + 3, row * u + 3, 7);
    ASSERT_GT(written, c.limit);
    DirtyTiles tiles;
    const std::vector<TileRun>& rects = (tiles.*c.method)(fb);
    ASSERT_EQ(rects.size(), static_cast<std::size_t>(c.rows));
    const int last[] = {255, 253, 254};  // the last column of each row's pattern
    for (int row = 0; row < c.rows; ++row)
      EXPECT_EQ(rects[row], (TileRun{row % 3 * u, row * u, (last[row % 3] + 1) * u, row * u + u}));
  }
}

}  // namespace
}  // namespace glintora
