// The mixer: however many bursts go off at once, a limiter holds the peak at 0.9 of full scale
// without clipping; a sound starts at its frame's time plus the travel of sound (250 m per unit of
// depth at 343 m/s, at most a second); loudness follows the spark count and falls as 1/Z², far
// bursts are duller; pan follows the screen's x, and the seed drives the noise. Live, the show never
// waits on the audio thread (a full queue drops events), and silence leaves nothing ringing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/live_sound.h"
#include "audio/sound_mixer.h"

namespace glintora {
namespace {

using Samples = std::vector<std::int16_t>;

ShowEvent Burst(std::int16_t kind, float z, std::int32_t sparks, std::uint32_t frame = 0,
                float pan = 0, ShowEventType type = ShowEventType::Burst) {
  ShowEvent e;
  e.Type = type, e.Kind = kind, e.Z = z, e.Size = sparks, e.Frame = frame, e.Pan = pan;
  e.Frames = 60;
  return e;
}

// The output from clock sample 0 on (the limiter's look-ahead taken out), on the 40 ms frame clock.
Samples Play(const std::vector<ShowEvent>& events, std::int32_t frames, std::uint64_t seed = 1) {
  SoundMixer m(seed);
  m.UseFrameClock(40);
  for (const ShowEvent& e : events) m.OnShowEvent(e);
  Samples out(static_cast<std::size_t>(frames + SoundMixer::kLatency) * 2);
  m.Render(out.data(), frames + SoundMixer::kLatency);
  out.erase(out.begin(), out.begin() + 2 * SoundMixer::kLatency);
  return out;
}

double Energy(const Samples& s, int channel = -1) {
  double e = 0;
  for (std::size_t k = 0; k < s.size(); ++k)
    if (channel < 0 || static_cast<int>(k % 2) == channel) e += static_cast<double>(s[k]) * s[k];
  return e;
}

// The share of the energy in sample-to-sample change: high for bright sounds, low for dull ones.
double Brightness(const Samples& s) {
  double d = 0;
  for (std::size_t k = 2; k < s.size(); k += 2) d += std::pow(static_cast<double>(s[k]) - s[k - 2], 2);
  return d / Energy(s, 0);
}

// The energy below about 100 Hz (a one-pole low-pass), which a far burst's dulling leaves alone.
double LowEnergy(const Samples& s) {
  double y = 0, e = 0;
  for (std::size_t k = 0; k < s.size(); k += 2) y += 0.013 * (s[k] - y), e += y * y;
  return e;
}

TEST(Mixer, CrowdsPeakAtTheCeilingWithoutClipping) {
  // n events of one kind, spread left, centre and right.
  auto many = [](int n, std::int16_t kind, float z, std::int32_t size, ShowEventType type = ShowEventType::Burst) {
    std::vector<ShowEvent> out;
    for (int k = 0; k < n; ++k) out.push_back(Burst(kind, z, size, 0, (k % 3) - 1.0f, type));
    return out;
  };
  std::vector<ShowEvent> everything;  // more than the voices
  for (std::int16_t kind = 1; kind <= 8; ++kind)
    for (const ShowEvent& e : many(99, kind, 0.01f, 9999)) everything.push_back(e);
  const std::pair<const char*, std::vector<ShowEvent>> crowds[] = {
      {"99 near standard bursts of 9999 sparks", many(99, 1, 0.3f, 9999)},
      {"99 of 303 sparks at the focal distance", many(99, 1, 1.0f, 303)},
      {"99 splits into 99", many(99, 1, 0.3f, 99, ShowEventType::Split)},
      {"99 twinkles", many(99, 999, 0.3f, 9999, ShowEventType::Twinkle)},
      {"every kind 99 times", everything},
  };
  for (const auto& [name, events] : crowds) {
    const Samples s = Play(events, SoundMixer::kRate * 2);
    std::int32_t peak = 0, flat = 0, longestFlat = 0;
    for (std::size_t k = 0; k < s.size(); ++k) {
      const std::int32_t v = s[k];
      peak = std::max(peak, std::abs(v));
      // A clipper's mark: a loud sample held flat.
      flat = k >= 2 && std::abs(v) > 24000 && v == s[k - 2] ? flat + 1 : 0;
      longestFlat = std::max(longestFlat, flat);
    }
    EXPECT_NEAR(peak, 0.9 * 32767, 0.02 * 32767) << name;
    EXPECT_LE(longestFlat, 2) << name;
  }
}

TEST(Mixer, SoundStartsAtItsFrameDelayedByDistance) {
  const struct {
    std::uint32_t frame;
    float z;
    std::int64_t sample;  // frame * 40 ms + the travel time of sound
  } cases[] = {
      {0, 0.0f, 0},
      {0, 1.0f, 34985},            // 250 m: 0.7289 s
      {25, 1.0f, 48000 + 34985},
      {10, 1.2f, 19200 + 41982},   // 300 m: 0.8746 s
      {3, 3.0f, 5760 + 48000},     // 750 m, capped at a second
  };
  for (const auto& c : cases) {
    const Samples s = Play({Burst(1, c.z, 1200, c.frame)}, 120000);
    const auto first = std::find_if(s.begin(), s.end(), [](std::int16_t v) { return v != 0; });
    // Within a millisecond: a far sound rises from below the quietest step.
    EXPECT_NEAR((first - s.begin()) / 2, c.sample, 48) << c.frame << " " << c.z;
  }
}

TEST(Mixer, LouderWithMoreSparksAndNearerDullerFarther) {
  const auto one = [](float z, std::int32_t sparks) {
    Samples s = Play({Burst(1, z, sparks)}, SoundMixer::kRate * 3);
    s.erase(s.begin(), s.begin() + 2 * SoundMixer::DistanceDelay(z));
    return s;
  };
  const Samples base = one(1.0f, 1200);
  EXPECT_GT(Energy(one(1.0f, 4800)), 2 * Energy(base));
  EXPECT_LT(Energy(one(1.0f, 300)), 0.5 * Energy(base));
  // Depth 1.2 against 1: the loudness of 1/1.2² (energy 1/1.2⁴), the high sounds fewer.
  const Samples far = one(1.2f, 1200), near = one(0.9f, 1200);
  EXPECT_NEAR(LowEnergy(far) / LowEnergy(base), 0.482, 0.04);
  EXPECT_GT(Energy(near), 1.4 * Energy(base));
  EXPECT_LT(Brightness(far), 0.8 * Brightness(base));
  EXPECT_GT(Brightness(near), 1.2 * Brightness(base));
}

TEST(Mixer, PanFollowsTheScreensX) {
  const struct {
    float pan;
    double leftShare;  // left energy over both
  } cases[] = {{-1, 1}, {0, 0.5}, {1, 0}, {0.5f, 0.1464}};
  for (const auto& c : cases) {
    const Samples s = Play({Burst(1, 0.5f, 1200, 0, c.pan)}, SoundMixer::kRate);
    EXPECT_NEAR(Energy(s, 0) / Energy(s), c.leftShare, 0.01) << c.pan;
    EXPECT_NE(s, Play({Burst(1, 0.5f, 1200, 0, c.pan)}, SoundMixer::kRate, 2)) << "the seed must drive the noise";
  }
}

TEST(LiveSound, FullQueueDropsSilenceEndsEverything) {
  LiveSound live(1, 40);
  auto heard = [&](std::int32_t frames) {
    Samples out(static_cast<std::size_t>(frames) * 2);
    live.Pull(out.data(), frames);
    return Energy(out) > 0;
  };
  const ShowEvent e = Burst(1, 0, 1200);  // no travel time: heard in the first block
  for (int k = 0; k < LiveSound::kQueue + 10; ++k) live.OnShowEvent(e);
  EXPECT_EQ(live.Dropped(), 10);
  EXPECT_TRUE(heard(4800));
  live.OnShowEvent(e);  // room again once the audio thread has taken the queue
  EXPECT_EQ(live.Dropped(), 10);
  live.Silence();
  EXPECT_FALSE(heard(4800));
  EXPECT_FALSE(heard(48000));  // the queued event was dropped with the rest
}

}  // namespace
}  // namespace glintora
