// Invariants of whole shows, watched frame by frame: what a firework draws it erases, kept
// projections stay true, the events match what the slots did, no allocation in a frame, no
// undefined behaviour at the extremes of the settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <map>
#include <new>
#include <set>
#include <tuple>
#include <vector>

#include "engine/frame_hash.h"
#include "engine/show_state.h"
#include "tests/engine/show_rig.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

// Counting replacement of the global allocator (malloc and free pair up underneath).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t n) {
  ++g_allocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace glintora {
namespace {

struct Recorder : ShowEventSink {
  std::vector<ShowEvent> events;
  void OnShowEvent(const ShowEvent& e) override { events.push_back(e); }
};

struct Watched {
  int endings = 0;       // one-slot shows: the times the slot ended
  long kept = 0;         // kept projections checked
  std::set<ShowEventType> heard;
};

// Runs the show, checking every frame:
// - with one slot, the surface is black when the firework ends (the next has not drawn yet) and
//   when a sparkler turns to twinkles at its age;
// - where a slot keeps its records' projections, every record its next update erases holds the
//   projection of where it is now (a refill or move that forgot to drop them erases another
//   slot's pixels);
// - every new phase a slot starts (its age back to 1) is one launch, burst or split event of
//   that frame naming the slot's kind, and every twinkle one twinkle event in the next frame;
// - no frame from the 100th on allocates (the first refresh may size the message).
void Watch(ShowRig& rig, int frames, Watched& w) {
  Recorder sink;
  sink.events.reserve(1 << 16);
  rig.engine.Events = &sink;
  auto show = rig.Begin();
  const ShowState& st = show->State();
  using Key = std::tuple<std::uint32_t, std::int32_t>;  // frame, slot
  std::map<Key, std::int16_t> starts;
  std::vector<Key> twinkles;
  std::set<Key> ended;  // a phase may end in the frame it began (at the extremes)
  long allocations = 0;
  for (std::uint32_t f = 0; f < static_cast<std::uint32_t>(frames); ++f) {
    std::vector<std::int16_t> before;
    for (const Slot& s : st.Slots) before.push_back(s.Kind);
    const long allocated = g_allocations.load();
    show->DrawFrame();
    ASSERT_FALSE(show->EndFrame());
    if (f >= 100) allocations += g_allocations.load() - allocated;
    for (std::int32_t i = 0; i < st.S.FireWorks; ++i) {
      const Slot& s = st.Slots[i];
      ASSERT_GE(s.LiveCount, 0);
      if (s.Age == 1) starts[{f, i}] = s.Kind;
      if (s.Age == 0) ended.insert({f, i});
      const bool twinkled = before[i] == kSparkler && s.Kind == kTwinkle;
      if (twinkled) {
        EXPECT_EQ(s.Age, st.S.FireSparkAge);  // twinkles age on from the sparkler's creation
        if (f + 1 < static_cast<std::uint32_t>(frames)) twinkles.push_back({f + 1, i});
      }
      if (st.S.FireWorks == 1 && (s.Age == 0 || twinkled)) {
        w.endings += s.Age == 0;
        ASSERT_TRUE(AllBlack(rig.host.Surface())) << "kind " << before[i] << " frame " << f;
      }
      if (!s.ScreenKept) continue;
      const bool spray = s.Kind == kJetBurst || s.Kind == kTwister;  // only followers are drawn
      const std::int32_t base = i * st.S.FireSparks;
      for (std::int32_t j = base; j <= base + st.S.FireSparks - s.GroupSize; j += s.GroupSize) {
        for (std::int32_t k = spray ? j + 1 : j; k < (spray ? j + s.GroupSize : j + 1); ++k) {
          const Spark& p = st.Sparks[k];
          if (!p.Alive) continue;
          std::int32_t sx = 0, sy = 0;
          const bool projected = st.Screen.Project(p.X, p.Y, p.Z, sx, sy);
          ASSERT_EQ(p.Shown, projected) << "kind " << s.Kind << " frame " << f;
          if (projected) {
            ASSERT_EQ(std::make_pair(p.ShownX, p.ShownY), std::make_pair(sx, sy)) << f;
          }
          ++w.kept;
        }
      }
    }
  }
  std::map<Key, std::int16_t> heard;
  std::vector<Key> heardTwinkles;
  for (const ShowEvent& e : sink.events) {
    w.heard.insert(e.Type);
    if (e.Type == ShowEventType::Twinkle) {
      heardTwinkles.push_back({e.Frame, e.Slot});
      continue;
    }
    if (ended.count({e.Frame, e.Slot})) continue;
    const std::int32_t size = e.Type == ShowEventType::Launch ? st.S.FireLaunchPixel : st.S.FireSparks;
    EXPECT_TRUE(e.Type == ShowEventType::Split ? e.Size >= 1 : e.Size == size) << e.Size;
    const double pan = std::clamp(2.0 * e.ScreenX / st.S.SurfaceWidth - 1, -1.0, 1.0);
    EXPECT_NEAR(e.Pan, pan, 1e-6);  // -1 left, 1 right
    EXPECT_GT(e.Frames, 0);
    heard[{e.Frame, e.Slot}] = e.Kind == kRing ? std::int16_t{kStandard} : e.Kind;
  }
  EXPECT_EQ(heard, starts);
  EXPECT_EQ(heardTwinkles, twinkles);
  EXPECT_EQ(allocations, 0);
  EXPECT_GT(rig.host.Surface().Writes, 0u);
}

// One slot of each kind (multi-bursts with their momentum, jets with their shell too).
TEST(EveryKind, SlotEndsOnBlackAndItsEventsMatchItsPhases) {
  const std::pair<std::int16_t, bool> rows[] = {
      {kStandard, false}, {kScintillator, false}, {kMultiBurst, false}, {kMultiBurst, true},
      {kJetBurst, false}, {kJetBurst, true},      {kSparkler, false},   {kRing, false},
      {kTwister, false},  {kDecayingStar, false}, {kLaunch, false}};
  for (const auto& [kind, shellOrMoment] : rows) {
    SCOPED_TRACE(testing::Message() << "kind " << kind << (shellOrMoment ? " shell/moment" : ""));
    ShowRig rig(200, 150, 7);
    rig.OneSlot(kind, 400);
    auto& s = rig.settings;
    s.FireMultiAge = 12; s.FireBurstAge = 8; s.FireSparkAge = 10; s.FireLaunchSteps = 10;
    s.FireMultiMoment = s.FireBurstShell = shellOrMoment;
    Watched w;
    Watch(rig, 1500, w);
    EXPECT_GE(w.endings, 2);
  }
}

// Every kind with rockets, splines, patterns and shells, ending and splitting often, with a
// message refreshed: every event type is heard, and no frame allocates. Listening draws no
// random number: without a listener the same seed draws the same frame.
TEST(MixedShow, KeptProjectionsMatchAndFramesAllocateNothing) {
  ShowRig rig(320, 200, 11);
  auto& S = rig.settings;
  MixKinds(S, 30, 14);
  S.FireSplinePct = 40;
  S.FirePatternPct = 30;
  S.FireBurstShell = true;
  S.FireSparkAge = 10;
  S.FireMultiAge = 12;
  S.LockMessage = "a message long enough to live outside any small-string buffer";
  ShowRig quiet(320, 200, 11);
  quiet.settings = S;
  Watched w;
  Watch(rig, 1500, w);
  quiet.Run(1500);
  EXPECT_FALSE(AllBlack(rig.host.Surface()));
  EXPECT_EQ(FrameHash(rig.host.Surface()), FrameHash(quiet.host.Surface()));
  EXPECT_GT(w.kept, 10000);
  EXPECT_EQ(w.heard, (std::set<ShowEventType>{ShowEventType::Launch, ShowEventType::Burst,
                                              ShowEventType::Split, ShowEventType::Twinkle}));
  EXPECT_GE(rig.host.Messages(), 2u);
}

// Extremes of every setting within the clamps; the sanitizers of the test build watch too.
TEST(Extremes, ThousandsOfFramesRun) {
  const struct {
    const char* name;
    void (*apply)(SettingsRecord&);
  } rows[] = {
      {"highest",
       [](SettingsRecord& s) {
         s.FireWorks = 99; s.FireSparks = 9999; s.FireLength = 99; s.FireSizeDev = 999;
         s.FireSpeed = 99.9f; s.FireGravity = 9.9f;
         s.FireSplinePct = s.FirePatternPct = 50; s.FireSplineKnot = 99;
         s.FireMultiBurst = s.FireBurstCount = s.FireTwistCnt = s.FireDecayCnt = 99;
         s.FireScintStyle = 9; s.FireRingEmb = 99; s.FireRingDeg = 180; s.FireTwistDeg = 90;
         s.FireTwistExt = 999.9f * 0.0025f; s.FireDecayMSize = 9999; s.FireDecayMLife = 999;
         s.FireSparkPix = 30; s.FireLaunchSteps = 999; s.FireLaunchPixel = 999;
         s.FireBurstShell = s.FireMultiMoment = true;
         s.FocalLength = 10; s.ProjectionScale = (s.CenterX + s.CenterY) * 0.5f * 10;
       }},
      {"lowest",
       [](SettingsRecord& s) {
         s.FireWorks = 1; s.FireSparks = 10; s.FireLength = 1; s.FireSymmetry = 0;
         s.FireSpeed = 0.1f; s.FirePersist = 0.25f; s.FireDamping = 1;
         s.FireSplineKnot = 4; s.FireSplinePct = 100;
         s.FireMultiBurst = s.FireBurstCount = s.FireTwistCnt = s.FireDecayCnt = 99;
         s.FireMultiAge = s.FireBurstAge = s.FireSparkAge = 5; s.FireSparkPix = 30;
         s.FireDecayMSize = 1; s.FireDecayMLife = 5; s.FireLaunchSteps = 1;
         s.FireRingEmb = 1; s.FireRingDeg = 0;
         s.FocalLength = 0.01f; s.ProjectionScale = (s.CenterX + s.CenterY) * 0.5f * 0.01f;
       }},
      {"patterns_still_air",
       [](SettingsRecord& s) {
         s.FireWorks = 20; s.FireSymmetry = 0; s.FirePatternPct = 100; s.FireSplinePct = 0;
         s.FireGravity = 0; s.FireDamping = 0; s.FirePersist = s.FireLaunchPersist = 0.99f;
         s.FireSizeDev = 999; s.FireDecayMSize = 9999; s.ColorHueWheel = 360;
       }}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ShowRig rig(160, 100, 11);
    MixKinds(rig.settings, 30, 14);
    row.apply(rig.settings);
    Watched w;
    Watch(rig, 2500, w);
  }
}

}  // namespace
}  // namespace glintora
