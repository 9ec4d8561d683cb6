#include "display/frame_stats.h"

#include <gtest/gtest.h>

namespace glintora {
namespace {

TEST(FrameStats, RateAndBusyShareOverEachSecond) {
  FrameStats stats;
  std::uint64_t now = 5'000'000;
  stats.OnFrame(now);  // opens the first period
  // 25 frames of 40 ms, each waiting 30 ms: 25 fps, a quarter of the time working.
  for (int i = 0; i < 25; ++i) {
    stats.AddIdle(30'000);
    stats.OnFrame(now += 40'000);
  }
  EXPECT_NEAR(stats.BusyPercent(), 25.0, 1e-9);
  EXPECT_EQ(stats.Text(), "25.0 fps  25% busy");
  // Nothing is shown before a period ends, and idle time never exceeds the time.
  stats = FrameStats();
  stats.OnFrame(0);
  stats.AddIdle(400'000);
  stats.OnFrame(500'000);
  EXPECT_EQ(stats.FramesPerSecond(), 0.0);
  stats.AddIdle(5'000'000);  // a clock step must not give a negative share
  stats.OnFrame(1'000'000);
  EXPECT_NEAR(stats.FramesPerSecond(), 2.0, 1e-9);
  EXPECT_EQ(stats.BusyPercent(), 0.0);
}

}  // namespace
}  // namespace glintora
