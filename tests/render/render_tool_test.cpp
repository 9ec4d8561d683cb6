// The renderer's own logic: the progress line and the video options.
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

TEST(RenderOptions, VideoLengthAndRate) {
  struct Row {
    std::vector<std::string> args;
    bool ok;
    double seconds;
    std::int32_t fps;
  } rows[] = {
      {{"--video", "a.webm", "--seconds", "1.5", "--fps", "30"}, true, 1.5, 30},
      {{"--seconds", "2", "--frames", "50"}, false, 0, 0},  // one length, not two
      {{"--seconds", "0"}, false, 0, 0},
      {{"--seconds", "2s"}, false, 0, 0},
      {{"--fps", "0"}, false, 0, 0},
      {{"--fps", "241"}, false, 0, 0},
  };
  for (const Row& r : rows) {
    RenderOptions o;
    std::string error;
    EXPECT_EQ(r.ok, ParseRenderOptions(r.args, o, error)) << r.args[0] << " " << r.args[1];
    if (!r.ok) continue;
    EXPECT_EQ("a.webm", o.videoPath);
    EXPECT_EQ(r.seconds, o.seconds);
    EXPECT_EQ(r.fps, o.fps);
  }
}

}  // namespace
}  // namespace glintora
