// What a surface's buffers lack and what its commits damage: a buffer that missed frames gets
// exactly their tiles; the damage covers every written pixel with a few disjoint rectangles.
#include "display/buffer_damage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace glintora {
namespace {

using Rects = std::vector<std::array<int, 4>>;  // {left, top, right, bottom}, half-open
const Rects kWhole = {{0, 0, 1000, 600}};

// A surface, 1000x600 unless told; set 0 is the commit's damage, sets 1 and 2 two buffers.
struct Surface {
  explicit Surface(int width = 1000, int height = 600) : pixels(static_cast<std::size_t>(width) * height) {
    frame.Attach(pixels.data(), width, height, width), damage.Reset(width, height, 3);
  }
  std::vector<std::uint32_t> pixels;
  Framebuffer frame;
  BufferDamage damage;
  void Draw(const Rects& writes) {
    for (const auto& w : writes)
      for (int y = w[1]; y < w[3]; ++y)
        for (int x = w[0]; x < w[2]; ++x) frame.Set(x, y, 1);
    damage.AddFrame(frame);
    frame.ResetTouched();
  }
};

Rects Of(const std::vector<TileRun>& runs) {
  Rects out;
  for (const TileRun& r : runs) out.push_back({r.Left, r.Top, r.Right, r.Bottom});
  std::sort(out.begin(), out.end());
  return out;
}

TEST(BufferDamage, ABufferLacksExactlyTheTilesOfTheFramesItMissed) {
  Surface s;
  EXPECT_EQ(Of(s.damage.Take(1)), kWhole);  // a new buffer holds nothing
  s.Draw({{5, 5, 6, 6}});
  EXPECT_EQ(Of(s.damage.Take(1)), (Rects{{0, 0, 8, 8}}));
  s.Draw({{170, 70, 171, 71}}), s.Draw({{999, 599, 1000, 600}});
  EXPECT_EQ(Of(s.damage.Take(1)), (Rects{{168, 64, 176, 72}, {992, 592, 1000, 600}}));
  EXPECT_EQ(Of(s.damage.Take(1)), Rects{});
  EXPECT_EQ(Of(s.damage.Take(2)), kWhole);  // never brought up to date
  s.frame.Fill(0), s.damage.AddFrame(s.frame);  // a clear
  EXPECT_EQ(Of(s.damage.Take(1)), kWhole);
}

// One frame's damage, checked for what every frame's holds: each written pixel covered, at most
// `most` rectangles, in bands: two either share their rows or share none, with tops on the
// 64-pixel row grid and sides on the 8-pixel tile grid, so a y-banded region of them is the same
// rectangles.
Rects Damage(const Rects& writes, int most = DamageRects::kMaxRects, int width = 1000, int height = 600) {
  Surface s(width, height);
  s.damage.TakeDamage(0, most), s.Draw(writes);  // after the first commit's
  const Rects out = Of(s.damage.TakeDamage(0, most));
  EXPECT_LE(out.size(), static_cast<std::size_t>(most));
  for (std::size_t i = 0; i < out.size(); ++i) {
    EXPECT_EQ(out[i][1] % 64, 0);
    EXPECT_TRUE(out[i][0] % 8 == 0 && (out[i][2] % 8 == 0 || out[i][2] == width));
    for (std::size_t j = i + 1; j < out.size(); ++j) {
      const bool sameRows = out[i][1] == out[j][1] && out[i][3] == out[j][3];
      EXPECT_TRUE(sameRows ? out[i][2] <= out[j][0] || out[j][2] <= out[i][0]
                           : out[i][3] <= out[j][1] || out[j][3] <= out[i][1]);
    }
  }
  for (const auto& w : writes)
    for (int y = std::max(w[1], 0); y < std::min(w[3], height); ++y)
      for (int x = std::max(w[0], 0); x < std::min(w[2], width); ++x)
        EXPECT_TRUE(std::any_of(out.begin(), out.end(), [x, y](const auto& r) {
          return r[0] <= x && x < r[2] && r[1] <= y && y < r[3];
        })) << x << "," << y;
  return out;
}

// The cover of least area counted in 64x64 cells, a rectangle costing two cells more (kBoxArea);
// each rectangle then narrows to the written tiles.
TEST(BufferDamage, TheDamageIsTheCheapestFewBandedRectanglesOverTheWrittenTiles) {
  static_assert(DamageRects::kBoxArea == 2 * 64 * 64);
  // The tile, in the last row band (cut short by the surface).
  EXPECT_EQ(Damage({{999, 599, 1000, 600}}), (Rects{{992, 576, 1000, 600}}));
  EXPECT_EQ(Damage({}), Rects{});
  // Far apart in one band: two rectangles (2 + 2 x 2 cells) rather than one 15 cells wide.
  EXPECT_EQ(Damage({{5, 5, 6, 6}, {900, 10, 901, 11}}), (Rects{{0, 0, 8, 64}, {896, 0, 904, 64}}));
  // Two rows apart: one rectangle three cells tall (3 + 2) beats two (2 + 4) ...
  EXPECT_EQ(Damage({{100, 10, 101, 11}, {100, 150, 101, 151}}), (Rects{{96, 0, 104, 192}}));
  // ... but not for two lines seven cells wide and three rows apart (28 + 2 against 14 + 4).
  EXPECT_EQ(Damage({{0, 10, 400, 11}, {0, 200, 400, 201}}),
            (Rects{{0, 0, 400, 64}, {0, 192, 400, 256}}));
  // Apart both ways: a band each (2 + 4 cells), not one band of three rows (6 + 4).
  EXPECT_EQ(Damage({{5, 10, 6, 11}, {900, 150, 901, 151}}),
            (Rects{{0, 0, 8, 64}, {896, 128, 904, 192}}));
  // Two rectangles for three tiles leave out the wider gap.
  EXPECT_EQ(Damage({{5, 5, 6, 6}, {300, 5, 301, 6}, {900, 5, 901, 6}}, 2),
            (Rects{{0, 0, 304, 64}, {896, 0, 904, 64}}));
  // Sparks all over: never more than asked for.
  Rects sparks;
  for (int y = 0; y < 600; y += 37)
    for (int x = y % 91; x < 1000; x += 83) sparks.push_back({x, y, x + 1, y + 1});
  for (int most : {1, 3, 10}) EXPECT_FALSE(Damage(sparks, most).empty());
  // A surface wider than 64 cells keeps each cell and each row apart.
  EXPECT_EQ(Damage({{10, 10, 11, 11}, {4100, 70, 4101, 71}, {7600, 10, 7601, 11}}, 10, 7680, 128),
            (Rects{{8, 0, 16, 64}, {4096, 64, 4104, 128}, {7600, 0, 7608, 64}}));
  // Most tiles written: the whole surface.
  EXPECT_EQ(Damage({{0, 0, 1000, 400}}), kWhole);
}

}  // namespace
}  // namespace glintora
