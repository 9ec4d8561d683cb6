// The renderer's own logic: the progress line and what the options ask it to make.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/render/progress.h"
#include "tools/render/render_options.h"

namespace glintora {
namespace {

TEST(RenderProgress, FramesPercentageAndTimeLeftAtThePaceSoFar) {
  struct Row {
    std::int64_t done, total;
    double elapsed;
    const char* text;
  } rows[] = {
      {0, 750, 0.0, "frame 0 of 750 (0%), ? left"},
      {120, 750, 8.0, "frame 120 of 750 (16%), 0:42 left"},  // 8 s for 120: 630 more take 42 s
      {3, 4, 1.0, "frame 3 of 4 (75%), 0:01 left"},          // a third of a second shows as 1
      {1, 1001, 4.0, "frame 1 of 1001 (0%), 1:06:40 left"},  // 4000 s
      {50, 50, 9.0, "frame 50 of 50 (100%), 0:00 left"},
  };
  for (const Row& r : rows) EXPECT_EQ(r.text, ProgressText(r.done, r.total, r.elapsed)) << r.text;
}

// The frames a run makes, or -1 when refused before anything is written. At 40 ms a frame (25 a
// second); a WAV holds (2^32 - 1 - 36) / 4 sample frames, and after the last frame the sounds ring
// on for up to 10 s (and 48 samples of look-ahead): 22359 s at 48000 samples a second, not 22360.
TEST(RenderOptions, LengthRateAndWhatARunMayWrite) {
  const struct {
    std::vector<std::string> args;
    std::int32_t delayMs, frames;
  } rows[] = {
      {{"--video", "a.webm", "--seconds", "1.5", "--fps", "30"}, 40, 45},
      {{"--seconds", "2"}, 40, 50},
      {{"--seconds", "2"}, 0, -1},  // no rate
      {{"--seconds", "2", "--frames", "50"}, 40, -1},
      {{"--seconds", "0"}, 40, -1},
      {{"--seconds", "2s"}, 40, -1},
      {{"--fps", "241"}, 40, -1},
      {{"--fps", "240", "--seconds", "4166.666"}, 40, 1000000},
      {{"--fps", "240", "--seconds", "36000"}, 40, -1},  // 8640000 frames
      {{"--fps", "1", "--seconds", "22359", "--wav", "a.wav"}, 40, 22359},
      {{"--fps", "1", "--seconds", "22360", "--wav", "a.wav"}, 40, -1},
      {{"--width", "16", "--fps", "1", "--seconds", "23000", "--wav", "a.wav"}, 40, -1},
      {{"--width", "8193", "--frames", "2"}, 40, -1}, {{"--height", "0", "--frames", "2"}, 40, -1},
      {{"--seed", "0", "--frames", "2"}, 40, 2}, {{"--frames", "2", "--width"}, 40, -1},
      {{"--frames", "558991", "--wav", "a.wav"}, 40, -1},  // 1920 samples a frame
      {{"--frames", "558990", "--wav", "a.wav"}, 40, 558990},
      {{"--frames", "2", "--gif", "a.gif", "--wav", "./a.gif"}, 40, -1},
      {{"--frames", "2", "--png-dir", "out/", "--video", "out"}, 40, -1},
  };
  for (const auto& r : rows) {
    RenderOptions o;
    RenderPlan plan;
    std::string error;
    const bool ok = ParseRenderOptions(r.args, o, error) && PlanRender(o, r.delayMs, plan, error);
    EXPECT_EQ(r.frames, ok ? plan.frames : -1) << r.args[1] << " " << r.args.back() << ": " << error;
    EXPECT_EQ(ok, error.empty()) << error;
  }
}

}  // namespace
}  // namespace glintora
