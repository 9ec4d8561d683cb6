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
constexpr int b = 1 << DamageRects::kBlockShift;
const Rects kWhole = {{0, 0, 1000, 600}};

// A 1000x600 surface; set 0 is the commit's damage, sets 1 and 2 two buffers.
struct Surface {
  std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(1000 * 600);
  Framebuffer frame;
  BufferDamage damage;
  Surface() { frame.Attach(pixels.data(), 1000, 600, 1000), damage.Reset(1000, 600, 3); }
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
// `most` rectangles, none overlapping another.
Rects Damage(const Rects& writes, int most) {
  Surface s;
  s.damage.TakeDamage(0, most), s.Draw(writes);  // after the first commit's
  const Rects out = Of(s.damage.TakeDamage(0, most));
  EXPECT_LE(out.size(), static_cast<std::size_t>(most));
  for (std::size_t i = 0; i < out.size(); ++i)
    for (std::size_t j = i + 1; j < out.size(); ++j)
      EXPECT_FALSE(std::max(out[i][0], out[j][0]) < std::min(out[i][2], out[j][2]) &&
                   std::max(out[i][1], out[j][1]) < std::min(out[i][3], out[j][3]));
  for (const auto& w : writes)
    for (int y = std::max(w[1], 0); y < std::min(w[3], 600); ++y)
      for (int x = std::max(w[0], 0); x < std::min(w[2], 1000); ++x)
        EXPECT_TRUE(std::any_of(out.begin(), out.end(), [x, y](const auto& r) {
          return r[0] <= x && x < r[2] && r[1] <= y && y < r[3];
        })) << x << "," << y;
  return out;
}

TEST(BufferDamage, TheDamageIsAFewRectanglesOverTheWrittenBlocks) {
  EXPECT_EQ(Damage({{999, 599, 1000, 600}}, 4), (Rects{{15 * b, 9 * b, 1000, 600}}));
  // Diagonal neighbours: two blocks more cost less than a rectangle of its own.
  EXPECT_EQ(Damage({{0, 0, 1, 1}, {b, b, b + 1, b + 1}}, 4), (Rects{{0, 0, 2 * b, 2 * b}}));
  // Five clusters, four rectangles: the nearest two share one.
  const Rects five = {{0, 0, b, b}, {4 * b, 0, 5 * b, b}, {10 * b, 6 * b, 11 * b, 7 * b},
                      {14 * b, 0, 15 * b, 2 * b}, {5 * b, 7 * b, 6 * b, 9 * b}};
  EXPECT_EQ(Damage(five, 4), (Rects{{0, 0, 5 * b, b}, five[4], five[2], five[3]}));
  // Two blocks either side of a bar join across it, and so take the bar in too.
  const Rects bar = {{5 * b, 0, 5 * b + 1, 5 * b}, {3 * b, 2 * b, 3 * b + 1, 2 * b + 1},
                     {7 * b, 2 * b, 7 * b + 1, 2 * b + 1}};
  EXPECT_EQ(Damage(bar, 2), (Rects{{3 * b, 0, 8 * b, 5 * b}}));
  // Every other block of a triangle: too many runs to merge one by one, so larger blocks are.
  Rects checks;
  for (int y = 0; y < 600; y += b)
    for (int x = y / b % 2 * b; x < 3 * y; x += 2 * b)
      checks.push_back({x + 9, y + 9, x + 10, y + 10});
  for (int most : {2, 40}) EXPECT_FALSE(Damage(checks, most).empty());
}

}  // namespace
}  // namespace glintora
