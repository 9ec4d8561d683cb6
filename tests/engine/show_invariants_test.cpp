// Invariants of whole shows: what a firework draws it erases, kept projections stay true, no
// allocation in a frame, no undefined behaviour at the extremes of the settings.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>

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

struct KindCase {
  std::int16_t kind;
  bool shellOrMoment;
};

class EraseEverything : public ::testing::TestWithParam<KindCase> {};

// One slot: when its firework ends (a new one is created, Age back to 0) nothing may be left on
// screen, since the next firework has not drawn yet.
TEST_P(EraseEverything, SlotEndsOnBlack) {
  const KindCase c = GetParam();
  ShowRig rig(200, 150, 7);
  rig.OneSlot(c.kind, 400);
  auto& s = rig.settings;
  s.FireMultiAge = 12;
  s.FireBurstAge = 8;
  s.FireSparkAge = 10;
  s.FireMultiMoment = s.FireBurstShell = c.shellOrMoment;
  s.FireLaunchSteps = 10;
  auto show = rig.Begin();
  int endings = 0;
  std::uint64_t drawn = 0;
  for (int f = 0; f < 3000 && endings < 4; ++f) {
    const std::uint64_t before = rig.host.Surface().Writes;
    show->DrawFrame();
    drawn += rig.host.Surface().Writes - before;
    show->EndFrame();
    if (show->State().Slots[0].Age == 0) {
      ++endings;
      ASSERT_TRUE(AllBlack(rig.host.Surface())) << "kind " << c.kind << " frame " << f;
    }
  }
  EXPECT_GE(endings, 2);
  EXPECT_GT(drawn, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, EraseEverything,
    ::testing::Values(KindCase{kStandard, false}, KindCase{kScintillator, false},
                      KindCase{kMultiBurst, false}, KindCase{kMultiBurst, true},
                      KindCase{kJetBurst, false}, KindCase{kJetBurst, true},
                      KindCase{kSparkler, false}, KindCase{kRing, false},
                      KindCase{kTwister, false}, KindCase{kDecayingStar, false},
                      KindCase{kLaunch, false}));

// Where a slot keeps its records' projections, every record its next update erases must hold the
// projection of where it is now; a refill or a move that forgot to drop them erases another
// slot's pixels. Every kind with rockets, splines, patterns and shells, ending and splitting often.
// Such a show also allocates nothing once running, message refreshes included.
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
  auto show = rig.Begin();
  const ShowState& st = show->State();
  long checked = 0, allocations = 0;
  for (int f = 0; f < 1500; ++f) {
    if (f == 100) allocations = -g_allocations.load();  // the first refresh may size the message
    show->DrawFrame();
    show->EndFrame();
    for (std::int32_t i = 0; i < st.S.FireWorks; ++i) {
      const Slot& s = st.Slots[i];
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
          ++checked;
        }
      }
    }
  }
  allocations += g_allocations.load();
  EXPECT_GT(checked, 10000);
  EXPECT_EQ(allocations, 0);
  EXPECT_GE(rig.host.Messages(), 2u);
}

// Extremes of every setting within the clamps; the sanitizers of the test build watch.
struct Extreme {
  const char* name;
  void (*apply)(SettingsRecord&);
};

class Extremes : public ::testing::TestWithParam<Extreme> {};

TEST_P(Extremes, ThousandsOfFramesRun) {
  ShowRig rig(160, 100, 11);
  MixKinds(rig.settings, 30, 14);
  GetParam().apply(rig.settings);
  auto show = rig.Begin();
  for (int f = 0; f < 2500; ++f) {
    show->DrawFrame();
    ASSERT_FALSE(show->EndFrame());
  }
  for (const Slot& s : show->State().Slots) EXPECT_GE(s.LiveCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, Extremes,
    ::testing::Values(
        Extreme{"highest",
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
        Extreme{"lowest",
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
        Extreme{"patterns_still_air",
                [](SettingsRecord& s) {
                  s.FireWorks = 20; s.FireSymmetry = 0; s.FirePatternPct = 100; s.FireSplinePct = 0;
                  s.FireGravity = 0; s.FireDamping = 0; s.FirePersist = s.FireLaunchPersist = 0.99f;
                  s.FireSizeDev = 999; s.FireDecayMSize = 9999; s.ColorHueWheel = 360;
                }}),
    [](const ::testing::TestParamInfo<Extreme>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace glintora
