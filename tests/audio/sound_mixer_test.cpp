// The mixer: a seeded show sounds the same every run; nothing reaches full scale however many
// bursts go off at once; a sound starts at its frame's time plus the travel time of sound
// (250 m per unit of depth at 343 m/s, at most a second; within a millisecond, as a far sound
// rises from below the quietest step); loudness follows the spark count and
// falls with distance, and far bursts are duller; pan follows the screen's x.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "../engine/show_rig.h"
#include "audio/sound_mixer.h"

namespace glintora {
namespace {

using Samples = std::vector<std::int16_t>;

ShowEvent Burst(std::int16_t kind, float z, std::int32_t sparks, std::uint32_t frame = 0, float pan = 0) {
  ShowEvent e;
  e.Type = ShowEventType::Burst;
  e.Kind = kind;
  e.Z = z;
  e.Size = sparks;
  e.Frame = frame;
  e.Pan = pan;
  e.Frames = 60;
  return e;
}

// The output from clock sample 0 on (the look-ahead's first outputs dropped).
Samples Play(SoundMixer& m, std::int32_t frames) {
  Samples out(static_cast<std::size_t>(frames + SoundMixer::kLatency) * 2);
  m.Render(out.data(), frames + SoundMixer::kLatency);
  out.erase(out.begin(), out.begin() + 2 * SoundMixer::kLatency);
  return out;
}

Samples PlayEvents(const std::vector<ShowEvent>& events, std::int32_t frames, std::uint64_t seed = 1) {
  SoundMixer m(seed);
  m.UseFrameClock(40);
  for (const ShowEvent& e : events) m.OnShowEvent(e);
  return Play(m, frames);
}

// The first sample of either channel that is not silent.
std::int64_t Onset(const Samples& s) {
  for (std::size_t k = 0; k < s.size(); ++k)
    if (s[k] != 0) return static_cast<std::int64_t>(k / 2);
  return -1;
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

// A whole mixed show, its events from the engine, on the frame clock.
Samples ShowTrack(std::uint64_t seed, std::int32_t frames) {
  ShowRig rig(320, 200, seed);
  MixKinds(rig.settings, 40, 12);
  SoundMixer mixer(seed);
  mixer.UseFrameClock(rig.settings.Adv_TimeDelay);
  rig.engine.Events = &mixer;
  auto show = rig.Begin();
  Samples track;
  Samples block(static_cast<std::size_t>(SoundMixer::kRate / 1000 * rig.settings.Adv_TimeDelay) * 2);
  for (std::int32_t f = 0; f < frames; ++f) {
    show->DrawFrame();
    mixer.Render(block.data(), static_cast<std::int32_t>(block.size() / 2));
    track.insert(track.end(), block.begin(), block.end());
  }
  return track;
}

TEST(Mixer, SeededShowSoundsTheSameEveryRun) {
  const Samples first = ShowTrack(7, 200);
  EXPECT_GT(Energy(first), 0);
  EXPECT_EQ(first, ShowTrack(7, 200));
  EXPECT_NE(first, ShowTrack(8, 200));
  const std::vector<ShowEvent> same = {Burst(2, 1, 1200), Burst(5, 1, 1200)};
  EXPECT_NE(PlayEvents(same, 96000, 1), PlayEvents(same, 96000, 2)) << "the seed drives the noise";
}

struct Crowd {
  const char* name;
  std::vector<ShowEvent> events;
};

std::vector<ShowEvent> Many(int n, std::int16_t kind, float z, std::int32_t sparks, ShowEventType type = ShowEventType::Burst) {
  std::vector<ShowEvent> out;
  for (int k = 0; k < n; ++k) {
    ShowEvent e = Burst(kind, z, sparks, 0, (k % 3) - 1.0f);
    e.Type = type;
    out.push_back(e);
  }
  return out;
}

TEST(Mixer, CrowdsNeverReachFullScale) {
  std::vector<ShowEvent> everything;
  for (std::int16_t kind : {1, 2, 3, 4, 5, 6, 7, 8})
    for (const ShowEvent& e : Many(99, kind, 0.01f, 9999)) everything.push_back(e);
  const Crowd crowds[] = {
      {"99 near standard bursts of 9999 sparks", Many(99, 1, 0.3f, 9999)},
      {"99 of 303 sparks at the focal distance", Many(99, 1, 1.0f, 303)},
      {"99 splits into 99", Many(99, 1, 0.3f, 99, ShowEventType::Split)},
      {"99 twinkles", Many(99, 999, 0.3f, 9999, ShowEventType::Twinkle)},
      {"every kind 99 times, more than the voices", everything},
  };
  for (const Crowd& c : crowds) {
    const Samples s = PlayEvents(c.events, SoundMixer::kRate * 2);
    std::int32_t peak = 0, flat = 0, longestFlat = 0;
    for (std::size_t k = 0; k < s.size(); ++k) {
      const std::int32_t v = s[k];
      peak = std::max(peak, std::abs(v));
      // A clipper's mark: a loud sample held flat.
      flat = k >= 2 && std::abs(v) > 24000 && v == s[k - 2] ? flat + 1 : 0;
      longestFlat = std::max(longestFlat, flat);
    }
    EXPECT_LT(peak, 32767) << c.name;
    EXPECT_GT(peak, 16000) << c.name << ": the limiter keeps them loud";
    EXPECT_LE(longestFlat, 2) << c.name;
  }
}

struct OnsetCase {
  std::uint32_t frame;
  float z;
  std::int64_t sample;  // frame * 40 ms + the travel time of sound
};

TEST(Mixer, SoundStartsAtItsFrameDelayedByDistance) {
  const OnsetCase cases[] = {
      {0, 0.0f, 0},
      {0, 1.0f, 34985},            // 250 m: 0.7289 s
      {25, 1.0f, 48000 + 34985},
      {10, 1.2f, 19200 + 41982},   // 300 m: 0.8746 s
      {3, 3.0f, 5760 + 48000},     // 750 m, capped at a second
  };
  for (const OnsetCase& c : cases) {
    const Samples s = PlayEvents({Burst(1, c.z, 1200, c.frame)}, 120000);
    EXPECT_NEAR(static_cast<double>(Onset(s)), static_cast<double>(c.sample), 48) << c.frame << " " << c.z;
  }
}

TEST(Mixer, LouderWithMoreSparksAndNearerDullerFarther) {
  const auto one = [](float z, std::int32_t sparks) {
    Samples s = PlayEvents({Burst(1, z, sparks)}, SoundMixer::kRate * 3);
    s.erase(s.begin(), s.begin() + 2 * SoundMixer::DistanceDelay(z));
    return s;
  };
  const Samples base = one(1.0f, 1200);
  EXPECT_GT(Energy(one(1.0f, 4800)), 2 * Energy(base));
  EXPECT_LT(Energy(one(1.0f, 300)), 0.5 * Energy(base));
  // Depth 1.2 against 1: the loudness of 1/1.44 (energy about a half), the high sounds fewer.
  const Samples far = one(1.2f, 1200), near = one(0.9f, 1200);
  EXPECT_LT(Energy(far), 0.55 * Energy(base));
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
    const Samples s = PlayEvents({Burst(1, 0.5f, 1200, 0, c.pan)}, SoundMixer::kRate);
    EXPECT_NEAR(Energy(s, 0) / Energy(s), c.leftShare, 0.01) << c.pan;
  }
}

TEST(Mixer, StopSilencesAtOnce) {
  SoundMixer m(3);
  m.UseLiveClock(40);
  for (const ShowEvent& e : Many(10, 5, 0.0f, 1200)) m.OnShowEvent(e);
  EXPECT_GT(Energy(Play(m, 4800)), 0);
  m.StopAll();
  EXPECT_EQ(Energy(Play(m, 4800)), 0);
  EXPECT_EQ(m.ActiveVoices(), 0);
}

}  // namespace
}  // namespace glintora
