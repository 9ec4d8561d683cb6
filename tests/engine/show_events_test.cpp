// The events a show reports match what its slots did: every new phase a slot starts (its age back
// to 1) is one launch, burst or split event of that frame, and every sparkler that turned to
// twinkles is one twinkle event in the next frame. Reporting draws no random number.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

#include "show_rig.h"

namespace glintora {
namespace {

struct Recorder : ShowEventSink {
  std::vector<ShowEvent> events;
  void OnShowEvent(const ShowEvent& e) override { events.push_back(e); }
};

using Key = std::tuple<std::uint32_t, std::int32_t>;  // frame, slot

struct KindCase {
  const char* name;
  std::int16_t kind;      // the only kind rolled, which every launch or burst event names
  bool splits, twinkles;  // whether the phase must be seen
};

class EventsPerKind : public ::testing::TestWithParam<KindCase> {};

TEST_P(EventsPerKind, MatchTheSlotsNewPhases) {
  const KindCase& c = GetParam();
  ShowRig rig(320, 200, 5);
  rig.OnlyKind(c.kind);
  rig.settings.FireWorks = 6;
  rig.settings.FireBurstShell = true;
  Recorder sink;
  rig.engine.Events = &sink;
  auto show = rig.Begin();
  const auto& slots = show->State().Slots;

  std::map<Key, std::int16_t> starts;  // slot kind at the frame its phase started
  std::vector<Key> twinkles;
  for (std::uint32_t f = 0; f < 600; ++f) {
    std::vector<std::int16_t> before;
    for (const Slot& s : slots) before.push_back(s.Kind);
    show->DrawFrame();
    show->EndFrame();
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(slots.size()); ++i) {
      if (slots[i].Age == 1) starts[{f, i}] = slots[i].Kind;
      if (before[i] == kSparkler && slots[i].Kind == kTwinkle && f + 1 < 600) twinkles.push_back({f + 1, i});
    }
  }

  std::map<Key, std::int16_t> heard;
  std::vector<Key> heardTwinkles;
  int splits = 0;
  for (const ShowEvent& e : sink.events) {
    ASSERT_LT(e.Frame, 600u);
    if (e.Type == ShowEventType::Twinkle) {
      heardTwinkles.push_back({e.Frame, e.Slot});
      continue;
    }
    if (e.Type == ShowEventType::Split) {
      ++splits;
      EXPECT_GE(e.Size, 1);
    } else if (e.Type == ShowEventType::Burst && c.kind == kLaunch) {
      EXPECT_EQ(e.Kind, kStandard);  // a rocket's burst is of the default kind
    } else {
      EXPECT_EQ(e.Type, c.kind == kLaunch ? ShowEventType::Launch : ShowEventType::Burst);
      EXPECT_EQ(e.Kind, c.kind);
      const auto& S = show->State().S;
      EXPECT_EQ(e.Size, c.kind == kLaunch ? S.FireLaunchPixel : S.FireSparks);
    }
    EXPECT_NEAR(e.Pan, std::clamp(2.0 * e.ScreenX / 320 - 1, -1.0, 1.0), 1e-6);  // -1 left, 1 right
    EXPECT_GT(e.Frames, 0);
    heard[{e.Frame, e.Slot}] = e.Kind == kRing ? std::int16_t{kStandard} : e.Kind;
  }
  EXPECT_EQ(heard, starts);
  EXPECT_EQ(heardTwinkles, twinkles);
  EXPECT_GE(starts.size(), 6u);
  EXPECT_EQ(splits > 0, c.splits);
  EXPECT_EQ(!twinkles.empty(), c.twinkles);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EventsPerKind,
    ::testing::Values(
        KindCase{"Launch", kLaunch, false, false}, KindCase{"Standard", kStandard, false, false},
        KindCase{"Scintillator", kScintillator, false, false}, KindCase{"MultiBurst", kMultiBurst, true, false},
        KindCase{"JetBurst", kJetBurst, true, false}, KindCase{"Sparkler", kSparkler, false, true},
        KindCase{"Ring", kRing, false, false}, KindCase{"Twister", kTwister, false, false},
        KindCase{"DecayingStar", kDecayingStar, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Listening draws no random number: the same seed gives the same pixels with a listener or
// without, and another seed gives others.
TEST(Events, ListeningLeavesTheShowUnchanged) {
  auto pixels = [](bool listen, std::uint64_t seed) {
    ShowRig rig(320, 200, seed);
    MixKinds(rig.settings, 30, 10);
    Recorder sink;
    if (listen) rig.engine.Events = &sink;
    auto show = rig.Run(300);
    EXPECT_EQ(listen, !sink.events.empty());
    const Framebuffer& fb = rig.host.Surface();
    std::vector<std::uint32_t> out;
    for (std::int32_t y = 0; y < fb.Height; ++y)
      for (std::int32_t x = 0; x < fb.Width; ++x) out.push_back(fb.At(x, y));
    return out;
  };
  const auto quiet = pixels(false, 9);
  EXPECT_EQ(quiet, pixels(true, 9));
  EXPECT_NE(quiet, pixels(false, 10));
}

}  // namespace
}  // namespace glintora
