// Both writers must leave a framebuffer exactly as Framebuffer::Set would: pixels (in either
// memory order), touched rectangle, marked tiles, write count and log, including clipped and
// far-off writes, and pixels written again and again across many queue lengths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/surface_writer.h"

namespace glintora {
namespace {

// Two tile columns and two tile rows, the second ones partial; the stride is one wider.
constexpr int kW = Framebuffer::kTile + 6, kH = Framebuffer::kTile + 3, kStride = kW + 1;

struct Surface {
  std::vector<std::uint32_t> memory = std::vector<std::uint32_t>(kStride * kH, 0xABu);
  std::vector<PixelWrite> log;
  Framebuffer fb;
  explicit Surface(bool logged, bool rgb = false) {
    fb.Attach(memory.data(), kW, kH, kStride);  // column kW is never drawn
    fb.Rgb = rgb;
    if (logged) fb.Log = &log;
  }
};

struct PixelWrite64 {
  std::int64_t x, y;
  std::uint32_t colour;
};

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
const PixelWrite64 kWrites[] = {
    {3, 2, 1},   {0, 0, 2},     {kW - 1, 4, 3},   {kW, 1, 4},  {-1, 2, 5},   {2, kH, 6},
    {2, -1, 7},  {4, 1, 8},     {1, kH - 1, 9},   {5, 0, 10},  {3, 2, 0x00112233},
    {Framebuffer::kTile + 1, Framebuffer::kTile + 1, 12},
    {kMin, 2, 9}, {2, kMax, 9}, {1LL << 32, 2, 9}, {2, (1LL << 32) + 2, 9}};

// Enough writes to fill a queue several times over, every pixel (and some beyond the edges)
// revisited in a new colour, so that a store out of order or lost shows; then the listed ones.
std::vector<PixelWrite64> Writes() {
  std::vector<PixelWrite64> all;
  for (std::uint32_t k = 0; k < 3 * QueuedWriter::kQueued + 7; ++k)
    all.push_back({static_cast<std::int64_t>(k * 7 % 41) - 1, static_cast<std::int64_t>(k * 5 % 37) - 1, k});
  all.insert(all.end(), std::begin(kWrites), std::end(kWrites));
  return all;
}

// The marked tiles' list; entries past the count mean nothing.
std::vector<std::uint32_t> Marked(const Framebuffer& f) {
  return {f.MarkedTiles.begin(), f.MarkedTiles.begin() + f.MarkedCount};
}

// Everything a store leaves behind.
auto State(const Surface& s) {
  std::vector<std::tuple<std::int32_t, std::int32_t, std::uint32_t>> log;
  for (const auto& w : s.log) log.emplace_back(w.X, w.Y, w.Colour);
  const Framebuffer& f = s.fb;
  return std::make_tuple(s.memory, f.TouchedLeft, f.TouchedTop, f.TouchedRight, f.TouchedBottom, f.Writes,
                         f.TileMarks, Marked(f), log);
}

template <typename Writer>
class Writers : public testing::Test {};
using WriterKinds = testing::Types<SurfaceWriter, QueuedWriter>;
TYPED_TEST_SUITE(Writers, WriterKinds);

TYPED_TEST(Writers, MatchFramebufferSetWithAndWithoutLog) {
  const std::vector<PixelWrite64> writes = Writes();
  for (const auto& [logged, rgb] : {std::pair{false, false}, {true, false}, {false, true}}) {
    Surface direct(logged, rgb), written(logged, rgb);
    // Twice: after a reset the same stores mark the same tiles again.
    for (int start = 0; start < 2; ++start) {
      for (const auto& w : writes) direct.fb.Set(w.x, w.y, w.colour);
      {
        TypeParam writer(written.fb);
        for (const auto& w : writes) writer.Set(w.x, w.y, w.colour);
      }
      EXPECT_EQ(State(direct), State(written));
      // Every tile once (the order is Set's, compared above); the rectangle spans the surface.
      std::vector<std::uint32_t> tiles = Marked(written.fb);
      std::sort(tiles.begin(), tiles.end());
      EXPECT_EQ(tiles, (std::vector<std::uint32_t>{0, 1, 2, 3}));
      EXPECT_EQ(written.fb.TouchedRight, kW);
      EXPECT_EQ(written.fb.TouchedBottom, kH);
      direct.fb.ResetTouched();
      written.fb.ResetTouched();
    }
    EXPECT_FALSE(written.fb.AnyTouched());
    EXPECT_EQ(written.fb.TileMarks, std::vector<std::uint8_t>(4, 0));
    // Memory in the X server's usual order holds 0x00RRGGBB; the engine still reads 0x00BBGGRR.
    EXPECT_EQ(written.memory[2 * kStride + 3], rgb ? 0x00332211u : 0x00112233u);
    EXPECT_EQ(written.fb.At(3, 2), 0x00112233u);
    written.fb.Fill(0x00445566u);
    EXPECT_EQ(written.memory[(kH - 1) * kStride + kW - 1], rgb ? 0x00665544u : 0x00445566u);
    EXPECT_EQ(written.memory[(kH - 1) * kStride + kW], 0xABu);  // beyond the width
    EXPECT_EQ(written.fb.At(kW - 1, kH - 1), 0x00445566u);
  }
}

// Close hands the bookkeeping back once: later writes through the framebuffer survive the
// writer's destructor. A show without a surface draws on an empty one that clips everything.
TYPED_TEST(Writers, CloseHandsBackOnceAndAnEmptySurfaceClipsAll) {
  Surface s(false);
  Framebuffer none;
  {
    TypeParam writer(s.fb), nowhere(none);
    writer.Set(1, 1, 5);
    nowhere.Set(0, 0, 1);
    writer.Close();
    s.fb.Set(4, 3, 6);
  }
  EXPECT_EQ(s.memory[1 * kStride + 1], 5u);
  EXPECT_EQ(std::make_tuple(s.fb.TouchedLeft, s.fb.TouchedRight, s.fb.TouchedBottom, s.fb.Writes),
            std::make_tuple(1, 5, 4, 2u));  // both writes counted and spanned
  EXPECT_EQ(none.Writes, 1u);
  EXPECT_FALSE(none.AnyTouched());
}

}  // namespace
}  // namespace glintora
