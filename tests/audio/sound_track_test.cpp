// The sound track file: a 48 kHz stereo 16-bit WAV whose frame n starts at n times the frame
// delay; silent, for the show's whole length, unless the stored flag reads exactly "1"; its first
// sound where the show's first burst is heard (its frame's time plus the travel of sound); the
// same for the same seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../engine/show_rig.h"
#include "audio/sound_track.h"

namespace glintora {
namespace {

// Hears the events on their way to the mixer.
struct Tee : ShowEventSink {
  ShowEventSink* next = nullptr;
  std::vector<ShowEvent> events;
  void OnShowEvent(const ShowEvent& e) override { events.push_back(e), next->OnShowEvent(e); }
};

struct Track {
  std::uint32_t rate = 0, channels = 0, bits = 0;
  std::vector<std::int16_t> samples;
  std::vector<ShowEvent> events;
};

std::uint32_t Le(const std::string& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int k = bytes - 1; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(b[at + k]);
  return v;
}

Track RenderTrack(const std::string& flag, std::int32_t frames, std::uint64_t seed = 4) {
  ShowRig rig(320, 200, seed);
  MixKinds(rig.settings, 50, 10);
  rig.settings.SoundFX_ON = flag;
  SoundTrack track(seed, rig.settings.Adv_TimeDelay, SoundEffectsOn(rig.settings));
  const std::string path = ::testing::TempDir() + "glintora_track.wav";
  std::string error;
  EXPECT_TRUE(track.Open(path, error)) << error;
  Tee tee;
  tee.next = track.Sink();
  if (tee.next) rig.engine.Events = &tee;
  auto show = rig.Begin();
  for (std::int32_t f = 0; f < frames; ++f) {
    show->DrawFrame();
    EXPECT_TRUE(track.EndFrame(error)) << error;
  }
  EXPECT_TRUE(track.Finish(error)) << error;
  std::ifstream in(path, std::ios::binary);
  const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::remove(path.c_str());
  Track t;
  t.events = tee.events;
  if (b.size() < 44 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 8, "WAVEfmt ") != 0 ||
      b.compare(36, 4, "data") != 0 || Le(b, 40, 4) != b.size() - 44 || Le(b, 4, 4) != b.size() - 8)
    return t;
  t.channels = Le(b, 22, 2), t.rate = Le(b, 24, 4), t.bits = Le(b, 34, 2);
  for (std::size_t at = 44; at + 1 < b.size(); at += 2) t.samples.push_back(static_cast<std::int16_t>(Le(b, at, 2)));
  return t;
}

bool Loud(std::int16_t v) { return v != 0; }

TEST(SoundTrack, SilentUnlessTheFlagIsExactlyOne) {
  const struct {
    const char* flag;
    bool heard;
  } cases[] = {{"1", true}, {"0", false}, {"", false}, {"-1", false}, {"true", false}, {" 1", false}, {"1 ", false}};
  for (const auto& c : cases) {
    const Track t = RenderTrack(c.flag, 100);
    SCOPED_TRACE(std::string("'") + c.flag + "'");
    EXPECT_EQ(t.rate, 48000u);
    EXPECT_EQ(t.channels, 2u);
    EXPECT_EQ(t.bits, 16u);
    EXPECT_EQ(std::any_of(t.samples.begin(), t.samples.end(), Loud), c.heard);
    if (c.heard)
      EXPECT_GT(t.samples.size(), 100u * 1920 * 2);  // the sounds ring on after the frames
    else
      EXPECT_EQ(t.samples.size(), 100u * 1920 * 2);  // 40 ms frames, 48 samples a millisecond
  }
}

TEST(SoundTrack, FirstSoundWhereTheFirstBurstIsHeardSameForTheSameSeed) {
  const Track t = RenderTrack("1", 150);
  ASSERT_FALSE(t.events.empty());
  std::int64_t arrival = INT64_MAX;
  for (const ShowEvent& e : t.events) {
    // 1920 samples a frame; depth 1 is 250 m away, and sound takes a second for 343 m.
    const double z = std::max(0.0f, e.Z);
    arrival = std::min(arrival, static_cast<std::int64_t>(e.Frame * 1920 + std::min(z * 250 / 343, 1.0) * 48000));
  }
  const auto first = std::find_if(t.samples.begin(), t.samples.end(), Loud);
  ASSERT_NE(first, t.samples.end());
  EXPECT_NEAR((first - t.samples.begin()) / 2, arrival, 48);
  EXPECT_EQ(t.samples, RenderTrack("1", 150).samples);
  EXPECT_NE(t.samples, RenderTrack("1", 150, 5).samples);
}

}  // namespace
}  // namespace glintora
