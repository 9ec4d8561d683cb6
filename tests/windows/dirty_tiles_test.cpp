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

// The first n tiles in row order, one pixel each.
std::vector<Point> FirstTiles(int n) {
  std::vector<Point> points;
  for (int i = 0; i < n; ++i) points.push_back({i % 7 * 32, i / 7 * 32});
  return points;
}

// 200x100: 7 tile columns (the last 8 pixels wide), 4 tile rows (the last 4 high).
TEST(DirtyTiles, CoverExactlyTheWrittenTiles) {
  const struct {
    const char* name;
    std::vector<Point> writes;
    bool fill;
    std::vector<TileRun> want;
  } cases[] = {
      {"nothing", {}, false, {}},
      {"one pixel", {{5, 5}}, false, {{0, 0, 32, 32}}},
      {"clipped writes mark nothing", {{-1, 5}, {200, 5}, {5, 100}}, false, {}},
      {"the partial corner tile", {{199, 99}}, false, {{192, 96, 200, 100}}},
      {"neighbours in a row join", {{31, 0}, {32, 31}, {70, 3}}, false, {{0, 0, 96, 32}}},
      {"a one-tile gap is cheaper sent than split", {{0, 0}, {64, 0}}, false, {{0, 0, 96, 32}}},
      {"a two-tile gap splits", {{0, 0}, {96, 0}}, false, {{0, 0, 32, 32}, {96, 0, 128, 32}}},
      {"the same run below extends downwards", {{40, 10}, {70, 10}, {70, 40}, {40, 40}, {95, 70}, {33, 70}},
       false, {{32, 0, 96, 96}}},
      {"a different run below starts anew", {{0, 0}, {40, 0}, {0, 40}}, false,
       {{0, 0, 64, 32}, {0, 32, 32, 64}}},
      {"a row without writes ends a rectangle", {{0, 0}, {0, 70}}, false, {{0, 0, 32, 32}, {0, 64, 32, 96}}},
      {"two columns side by side", {{0, 0}, {100, 0}, {0, 32}, {100, 32}}, false,
       {{0, 0, 32, 64}, {96, 0, 128, 64}}},
      {"a clear sends everything", {{5, 5}}, true, {{0, 0, 200, 100}}},
      {"half the tiles is not most", FirstTiles(14), false, {{0, 0, 200, 64}}},
      {"most of the tiles", FirstTiles(15), false, {{0, 0, 200, 100}}},
  };
  std::vector<std::uint32_t> memory(200 * 100);
  Framebuffer fb;
  fb.Attach(memory.data(), 200, 100, 200);
  DirtyTiles tiles;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // An earlier frame everywhere else: a reset must forget it.
    fb.Set(199, 0, 1);
    fb.Set(100, 99, 1);
    fb.ResetTouched();
    if (c.fill) fb.Fill(0);
    for (const Point& p : c.writes) fb.Set(p.x, p.y, 0x00FFFFFFu);
    EXPECT_EQ(tiles.Collect(fb), c.want);
    fb.ResetTouched();
  }
}

// Every third tile of every row, shifted by one each row: more rectangles than are worth sending,
// so each tile row goes out as one span from its first to its last written tile.
TEST(DirtyTiles, ScatteredFramesGoOutAsRowSpans) {
  const int columns = 256, rows = 16, k = Framebuffer::kTile;
  std::vector<std::uint32_t> memory(static_cast<std::size_t>(columns) * k * rows * k);
  Framebuffer fb;
  fb.Attach(memory.data(), columns * k, rows * k, columns * k);
  int written = 0;
  for (int row = 0; row < rows; ++row)
    for (int column = row % 3; column < columns; column += 3, ++written)
      fb.Set(column * k + 3, row * k + 3, 7);
  ASSERT_GT(written, DirtyTiles::kMaxRects);
  DirtyTiles tiles;
  const std::vector<TileRun>& rects = tiles.Collect(fb);
  ASSERT_EQ(rects.size(), static_cast<std::size_t>(rows));
  const int last[] = {255, 253, 254};  // the last column of each row's pattern
  for (int row = 0; row < rows; ++row)
    EXPECT_EQ(rects[row], (TileRun{row % 3 * k, row * k, (last[row % 3] + 1) * k, row * k + k}));
}

}  // namespace
}  // namespace glintora
