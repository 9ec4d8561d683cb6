// The four pixel clouds: how many pixels each figure sets and where; the rounding they place by.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/pixel_patterns.h"

namespace glintora {
namespace {

using Pixels = std::set<std::pair<int, int>>;

// A surface large enough that u = 10 keeps every ring of every figure inside it, the figure
// drawn at its centre.
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

using Figure = void (*)(Framebuffer&, std::int32_t, std::int32_t, float, double, std::int32_t,
                        std::uint32_t);
constexpr Figure kScint = &PlotScintillatorPattern<Framebuffer>;
constexpr Figure kShell = &PlotShellPattern<Framebuffer>;
constexpr Figure kCluster = &PlotSparkleCluster<Framebuffer>;

Canvas Draw(Figure figure, std::int32_t n, float z = 1.0f, double focal = 10) {
  Canvas c;
  figure(c.fb, 400, 400, z, focal, n, 7);
  return c;
}

Canvas Star(float z, double scale, std::int32_t size) {
  Canvas c;
  PlotDecayingStar(c.fb, 400, 400, z, 10, scale, size, 7);
  return c;
}

// The number (style, shell count, level) picks the figure; out of range, the nearest one.
TEST(Patterns, NumberPicksTheFigure) {
  std::vector<std::tuple<Figure, int, int>> cases;  // figure, number, distinct pixels
  for (int p = 5; p <= 37; p += 4) cases.emplace_back(kScint, p, p);
  for (int p : {0, 4, 6, 41}) cases.emplace_back(kScint, p, 1);
  for (const auto& [n, pixels] : std::vector<std::pair<int, int>>{
           {33, 33}, {40, 33}, {25, 25}, {32, 25}, {24, 21}, {21, 21}, {17, 17}, {13, 13},
           {9, 9},   {5, 5},   {8, 5},   {1, 1},   {0, 1},   {-3, 1}})
    cases.emplace_back(kShell, n, pixels);
  for (const auto& [level, pixels] : std::vector<std::pair<int, int>>{
           {1, 1},   {2, 2},   {3, 3},   {4, 5},   {5, 5},   {0, 5},   {-7, 5},  {6, 7},
           {7, 7},   {8, 9},   {10, 9},  {11, 11}, {12, 11}, {13, 13}, {14, 13}, {15, 17},
           {18, 17}, {19, 21}, {22, 21}, {23, 25}, {26, 25}, {27, 29}, {30, 29}, {31, 1}})
    cases.emplace_back(kCluster, level, pixels);
  for (const auto& [figure, n, pixels] : cases) {
    const Canvas c = Draw(figure, n);
    const char* name = figure == kScint ? "scintillator " : figure == kShell ? "shell " : "cluster ";
    EXPECT_EQ(c.Distinct().size(), static_cast<std::size_t>(pixels)) << name << n;
    if (figure == kScint) {
      EXPECT_EQ(c.log.size(), static_cast<std::size_t>(pixels)) << n;
    }
  }
}

// Units too small, too large or not formable leave the centre alone (or near it); later rings
// of a huge figure are clipped by the surface, not wrapped into it. (Where the pixels of formable
// figures land, the engine's pictures pin.)
TEST(Patterns, DegenerateUnits) {
  // u = 0.1: A(2u), A(3u), A(4u) round to 0 and land on the centre; nothing reaches 2 pixels.
  const Canvas small = Draw(kShell, 33, 10.0f, 1);
  EXPECT_EQ(small.log.size(), 33u);
  for (const auto& [x, y] : small.Distinct()) {
    EXPECT_LE(std::abs(x), 1);
    EXPECT_LE(std::abs(y), 1);
  }
  EXPECT_EQ(Draw(kScint, 37, 0.0f).log.size(), 1u);
  EXPECT_EQ(Draw(kCluster, 30, 1e-30f).log.size(), 1u);
  EXPECT_EQ(Star(1.0f, 0.03, 0).log.size(), 1u);   // no size left
  EXPECT_EQ(Star(-1.0f, 0.03, 10).log.size(), 1u);  // behind the viewer
  EXPECT_EQ(Star(1e-4f, 200, 999).Distinct().size(), 1u);
}

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
