// The four pixel clouds: how many pixels each figure sets and where.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "engine/pixel_patterns.h"

namespace glintora {
namespace {

using Pixels = std::set<std::pair<int, int>>;

// A surface large enough that u = 10 keeps every ring of every figure inside it.
struct Canvas {
  std::vector<std::uint32_t> memory = std::vector<std::uint32_t>(800 * 800);
  std::vector<PixelWrite> log;
  Framebuffer fb;
  Canvas() {
    fb.Attach(memory.data(), 800, 800, 800);
    fb.Log = &log;
  }
  Pixels Distinct() const {
    Pixels p;
    for (const auto& w : log) p.insert({w.X - 400, w.Y - 400});
    return p;
  }
};

template <typename Plot>
Canvas Draw(Plot plot) {
  Canvas c;
  plot(c.fb);
  return c;
}

TEST(ScintillatorPattern, PixelsEqualTheStyleNumber) {
  for (int p = 5; p <= 37; p += 4) {
    const Canvas c = Draw([&](Framebuffer& fb) { PlotScintillatorPattern(fb, 400, 400, 1.0f, 10, p, 7); });
    EXPECT_EQ(c.Distinct().size(), static_cast<std::size_t>(p)) << p;
    EXPECT_EQ(c.log.size(), static_cast<std::size_t>(p)) << p;
  }
  for (int p : {0, 4, 6, 41}) {
    const Canvas c = Draw([&](Framebuffer& fb) { PlotScintillatorPattern(fb, 400, 400, 1.0f, 10, p, 7); });
    EXPECT_EQ(c.Distinct(), Pixels({{0, 0}})) << p;
  }
  const Canvas c = Draw([](Framebuffer& fb) { PlotScintillatorPattern(fb, 400, 400, 1.0f, 10, 13, 7); });
  EXPECT_EQ(c.Distinct(), Pixels({{0, 0}, {-10, 0}, {10, 0}, {0, -10}, {0, 10}, {-20, 0}, {20, 0},
                                  {0, -20}, {0, 20}, {-40, -40}, {40, -40}, {-40, 40}, {40, 40}}));
}

TEST(ShellPattern, CountPicksTheRow) {
  const std::vector<std::pair<int, int>> rows = {{33, 33}, {40, 33}, {25, 25}, {32, 25}, {21, 21},
                                                 {17, 17}, {13, 13}, {9, 9},   {5, 5},   {8, 5},
                                                 {1, 1},   {0, 1},   {-3, 1}};
  for (const auto& [n, pixels] : rows) {
    const Canvas c = Draw([&](Framebuffer& fb) { PlotShellPattern(fb, 400, 400, 1.0f, 10, n, 7); });
    EXPECT_EQ(c.Distinct().size(), static_cast<std::size_t>(pixels)) << n;
  }
  const Canvas two = Draw([](Framebuffer& fb) { PlotShellPattern(fb, 400, 400, 2.0f, 10, 2, 7); });
  EXPECT_EQ(two.Distinct(), Pixels({{0, 0}, {5, 0}}));
  const Canvas four = Draw([](Framebuffer& fb) { PlotShellPattern(fb, 400, 400, 2.0f, 10, 4, 7); });
  EXPECT_EQ(four.Distinct(), Pixels({{0, 0}, {5, 0}, {-5, 0}}));
  // A negative depth turns the one-sided figure round.
  const Canvas flipped = Draw([](Framebuffer& fb) { PlotShellPattern(fb, 400, 400, -2.0f, 10, 2, 7); });
  EXPECT_EQ(flipped.Distinct(), Pixels({{0, 0}, {-5, 0}}));
}

TEST(ShellPattern, SmallUnitCollapsesOnTheCentre) {
  // u = 0.1: A(2u), A(3u), A(4u) round to 0 and land on the centre; nothing reaches 2 pixels.
  const Canvas c = Draw([](Framebuffer& fb) { PlotShellPattern(fb, 400, 400, 10.0f, 1, 33, 7); });
  EXPECT_EQ(c.log.size(), 33u);
  for (const auto& [x, y] : c.Distinct()) {
    EXPECT_LE(std::abs(x), 1);
    EXPECT_LE(std::abs(y), 1);
  }
}

TEST(SparkleCluster, LevelPicksTheFigure) {
  const std::vector<std::pair<int, int>> totals = {
      {1, 1},   {2, 2},   {3, 3},   {4, 5},   {5, 5},   {0, 5},   {-7, 5},  {6, 7},
      {7, 7},   {8, 9},   {10, 9},  {11, 11}, {12, 11}, {13, 13}, {14, 13}, {15, 17},
      {18, 17}, {19, 21}, {22, 21}, {23, 25}, {26, 25}, {27, 29}, {30, 29}, {31, 1}};
  for (const auto& [level, pixels] : totals) {
    const Canvas c = Draw([&](Framebuffer& fb) { PlotSparkleCluster(fb, 400, 400, 1.0f, 10, level, 7); });
    EXPECT_EQ(c.Distinct().size(), static_cast<std::size_t>(pixels)) << level;
  }
  const Canvas three = Draw([](Framebuffer& fb) { PlotSparkleCluster(fb, 400, 400, 1.0f, 10, 3, 7); });
  EXPECT_EQ(three.Distinct(), Pixels({{0, 0}, {-10, 10}, {10, 10}}));
  const Canvas flipped = Draw([](Framebuffer& fb) { PlotSparkleCluster(fb, 400, 400, -1.0f, 10, 3, 7); });
  EXPECT_EQ(flipped.Distinct(), Pixels({{0, 0}, {10, -10}, {-10, -10}}));
}

TEST(DecayingStar, ReachShrinksWithSize) {
  // u = 10 / 1 * 0.03 * s * 0.1 = 0.03 s; with s = 10, u = 0.3 and R = round(9.6) = 10.
  const Canvas c = Draw([](Framebuffer& fb) { PlotDecayingStar(fb, 400, 400, 1.0f, 10, 0.03, 10, 7); });
  EXPECT_EQ(c.Distinct(), Pixels({{0, 0},  {-1, 0},  {1, 0},   {0, -1},  {0, 1},   {-2, -2}, {2, -2},
                                  {-2, 2}, {2, 2},   {-4, -4}, {4, -4},  {-4, 4},  {4, 4},   {-5, 0},
                                  {5, 0},  {0, -5},  {0, 5},   {-10, 0}, {10, 0},  {0, -10}, {0, 10}}));
  // A(1u)c rounds onto the centre: 25 writes, 21 distinct pixels.
  EXPECT_EQ(c.log.size(), 25u);
  const Canvas gone = Draw([](Framebuffer& fb) { PlotDecayingStar(fb, 400, 400, 1.0f, 10, 0.03, 0, 7); });
  EXPECT_EQ(gone.log.size(), 1u);
  const Canvas behind = Draw([](Framebuffer& fb) { PlotDecayingStar(fb, 400, 400, -1.0f, 10, 0.03, 10, 7); });
  EXPECT_EQ(behind.log.size(), 1u);
}

TEST(Patterns, UnitsThatCannotBeFormedDrawOnlyTheCentre) {
  const Canvas zero = Draw([](Framebuffer& fb) { PlotScintillatorPattern(fb, 400, 400, 0.0f, 10, 37, 7); });
  EXPECT_EQ(zero.log.size(), 1u);
  const Canvas tiny = Draw([](Framebuffer& fb) { PlotSparkleCluster(fb, 400, 400, 1e-30f, 10, 30, 7); });
  EXPECT_EQ(tiny.log.size(), 1u);
  // The reach fits but later rings are clipped by the surface, not wrapped into it.
  const Canvas huge = Draw([](Framebuffer& fb) { PlotDecayingStar(fb, 400, 400, 1e-4f, 10, 200, 999, 7); });
  EXPECT_EQ(huge.Distinct().size(), 1u);
}

}  // namespace
}  // namespace glintora

namespace glintora {
namespace {

TEST(Rounding, HalvesToEvenAndRefusesWhatDoesNotFit) {
  std::int32_t out = 0;
  const std::pair<double, int> cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},   {-0.5, 0}, {-1.5, -2},
                                          {2.4999, 2}, {-2.6, -3}, {9.6, 10}, {2147483647.4, 2147483647}};
  for (const auto& [v, want] : cases) {
    ASSERT_TRUE(RoundFits32(v, out)) << v;
    EXPECT_EQ(out, want) << v;
  }
  for (double v : {2147483647.5, -2147483648.6, 1e300, std::nan("")}) EXPECT_FALSE(RoundFits32(v, out)) << v;
}

}  // namespace
}  // namespace glintora
