// Live sound: the show never waits on the audio thread (a full queue drops events instead), and
// silencing it leaves nothing queued or ringing.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "audio/live_sound.h"

namespace glintora {
namespace {

bool Heard(LiveSound& live, std::int32_t frames) {
  std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2);
  live.Pull(out.data(), frames);
  return std::any_of(out.begin(), out.end(), [](std::int16_t v) { return v != 0; });
}

TEST(LiveSound, FullQueueDropsSilenceEndsEverything) {
  LiveSound live(1, 40);
  ShowEvent e;
  e.Type = ShowEventType::Burst, e.Kind = 1, e.Size = 1200;
  e.Z = 0;  // no travel time: heard in the first block
  for (int k = 0; k < LiveSound::kQueue + 10; ++k) live.OnShowEvent(e);
  EXPECT_EQ(live.Dropped(), 10);
  EXPECT_TRUE(Heard(live, 4800));
  live.OnShowEvent(e);  // room again once the audio thread has taken the queue
  EXPECT_EQ(live.Dropped(), 10);
  live.Silence();
  EXPECT_FALSE(Heard(live, 4800));
  EXPECT_FALSE(Heard(live, 48000));  // the queued event was dropped with the rest
}

}  // namespace
}  // namespace glintora
