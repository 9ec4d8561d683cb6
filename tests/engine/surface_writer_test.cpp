// The writer must leave a framebuffer exactly as Framebuffer::Set would: pixels, touched
// rectangle, write count and log, including clipped and far-off writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/surface_writer.h"

namespace glintora {
namespace {

struct Surface {
  std::vector<std::uint32_t> memory = std::vector<std::uint32_t>(7 * 5, 0xABu);
  std::vector<PixelWrite> log;
  Framebuffer fb;
  explicit Surface(bool logged) {
    fb.Attach(memory.data(), 6, 5, 7);  // stride wider than the width: column 6 is never drawn
    if (logged) fb.Log = &log;
  }
};

const std::vector<PixelWrite> kWrites = {
    {3, 2, 1},  {0, 0, 2},  {5, 4, 3},  {6, 1, 4},  {-1, 2, 5}, {2, 5, 6},
    {2, -1, 7}, {4, 1, 8},  {1, 3, 9},  {5, 0, 10}, {3, 2, 11},
};

void ExpectSame(const Surface& a, const Surface& b) {
  EXPECT_EQ(a.memory, b.memory);
  EXPECT_EQ(a.fb.TouchedLeft, b.fb.TouchedLeft);
  EXPECT_EQ(a.fb.TouchedTop, b.fb.TouchedTop);
  EXPECT_EQ(a.fb.TouchedRight, b.fb.TouchedRight);
  EXPECT_EQ(a.fb.TouchedBottom, b.fb.TouchedBottom);
  EXPECT_EQ(a.fb.Writes, b.fb.Writes);
  EXPECT_TRUE(std::equal(a.log.begin(), a.log.end(), b.log.begin(), b.log.end(),
                         [](const PixelWrite& x, const PixelWrite& y) {
                           return x.X == y.X && x.Y == y.Y && x.Colour == y.Colour;
                         }));
}

TEST(SurfaceWriter, MatchesFramebufferSetWithAndWithoutLog) {
  for (bool logged : {false, true}) {
    Surface direct(logged), written(logged);
    // Start from a rectangle left by earlier writes, and from the empty one.
    for (int start = 0; start < 2; ++start) {
      for (const PixelWrite& w : kWrites) direct.fb.Set(w.X, w.Y, w.Colour);
      {
        SurfaceWriter writer(written.fb);
        for (const PixelWrite& w : kWrites) writer.Set(w.X, w.Y, w.Colour);
      }
      ExpectSame(direct, written);
      direct.fb.ResetTouched();
      written.fb.ResetTouched();
    }
  }
}

TEST(SurfaceWriter, FarOffWritesAreClippedNotWrapped) {
  Surface direct(true), written(true);
  const std::int64_t far[] = {std::numeric_limits<std::int64_t>::min(), -7, 1LL << 32,
                              (1LL << 32) + 2, std::numeric_limits<std::int64_t>::max()};
  SurfaceWriter writer(written.fb);
  for (std::int64_t x : far) {
    direct.fb.Set(x, 2, 9);
    writer.Set(x, 2, 9);
    direct.fb.Set(2, x, 9);
    writer.Set(2, x, 9);
  }
  writer.Close();
  ExpectSame(direct, written);
  EXPECT_FALSE(written.fb.AnyTouched());
}

TEST(SurfaceWriter, CloseHandsBackOnce) {
  Surface s(false);
  SurfaceWriter writer(s.fb);
  writer.Set(1, 1, 5);
  writer.Close();
  EXPECT_EQ(s.memory[1 * 7 + 1], 5u);
  EXPECT_EQ(s.fb.Writes, 1u);
  // Later writes through the framebuffer survive the writer's destructor.
  s.fb.Set(4, 3, 6);
  EXPECT_EQ(s.fb.TouchedLeft, 1);
  EXPECT_EQ(s.fb.TouchedRight, 5);
  EXPECT_EQ(s.fb.TouchedBottom, 4);
  EXPECT_EQ(s.fb.Writes, 2u);
}

TEST(SurfaceWriter, EmptySurfaceClipsEverything) {
  Framebuffer none;  // what a show without a surface draws on
  SurfaceWriter writer(none);
  writer.Set(0, 0, 1);
  writer.Close();
  EXPECT_EQ(none.Writes, 1u);
  EXPECT_FALSE(none.AnyTouched());
}

}  // namespace
}  // namespace glintora
