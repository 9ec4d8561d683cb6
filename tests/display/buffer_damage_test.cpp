// What each buffer of a surface lacks: a buffer the compositor held while frames went by gets
// every tile those frames changed; the commit damage holds only what changed since the last one.
#include "display/buffer_damage.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace glintora {
namespace {

using Rects = std::vector<std::array<int, 4>>;

Rects Of(const std::vector<TileRun>& runs) {
  Rects out;
  for (const TileRun& r : runs) out.push_back({r.Left, r.Top, r.Right, r.Bottom});
  return out;
}

// 200x100: 7 tile columns, 4 rows. Set 0 is the commit's damage, sets 1 and 2 two buffers.
TEST(BufferDamage, EachSetGathersTheFramesItMissed) {
  std::vector<std::uint32_t> pixels(200 * 100);
  Framebuffer frame;
  frame.Attach(pixels.data(), 200, 100, 200);
  BufferDamage damage;
  damage.Reset(200, 100, 3);
  // New buffers hold nothing: all of them lack the whole surface.
  EXPECT_EQ(Of(damage.Take(1)), (Rects{{0, 0, 200, 100}}));

  frame.Set(5, 5, 1);  // tile (0,0)
  damage.AddFrame(frame);
  frame.ResetTouched();
  EXPECT_EQ(Of(damage.Take(0)), (Rects{{0, 0, 200, 100}}));  // the first commit: everything
  EXPECT_EQ(Of(damage.Take(1)), (Rects{{0, 0, 32, 32}}));

  frame.Set(170, 70, 1);  // tile (5,2), at the narrow last column
  damage.AddFrame(frame);
  frame.ResetTouched();
  EXPECT_EQ(Of(damage.Take(0)), (Rects{{160, 64, 192, 96}}));
  EXPECT_EQ(Of(damage.Take(1)), (Rects{{160, 64, 192, 96}}));
  // Buffer 2 was never brought up to date: still the whole surface.
  EXPECT_EQ(Of(damage.Take(2)), (Rects{{0, 0, 200, 100}}));

  frame.Set(40, 5, 1);  // tile (1,0)
  damage.AddFrame(frame);
  frame.ResetTouched();
  frame.Set(199, 99, 1);  // tile (6,3)
  damage.AddFrame(frame);
  frame.ResetTouched();
  EXPECT_EQ(Of(damage.Take(2)), (Rects{{32, 0, 64, 32}, {192, 96, 200, 100}}));
  EXPECT_EQ(Of(damage.Take(2)), Rects{});
  // A clear reaches every set whole.
  frame.Fill(0);
  damage.AddFrame(frame);
  EXPECT_EQ(Of(damage.Take(1)), (Rects{{0, 0, 200, 100}}));
}

}  // namespace
}  // namespace glintora
