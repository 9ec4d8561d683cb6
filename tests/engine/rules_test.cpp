// The rules that turn a slot from one state to the next, each on both sides of its threshold, and
// where a jet's shell may start. (Creation's constants and a frame's deaths, draws and physics
// move every picture: the seeded shows pin them.)
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

#include "engine/bursts.h"
#include "engine/creation.h"
#include "tests/engine/show_rig.h"

namespace glintora {
namespace {

using Point = std::tuple<float, float, float>;

bool AnyRecord(const ShowState& st, bool (*test)(const Spark&)) {
  const std::int32_t g = st.Slots[0].GroupSize;
  for (std::int32_t j = 0; j + g <= st.S.FireSparks; j += g)
    if (test(st.Sparks[j])) return true;
  return false;
}

// One frame of slot 0 (slot 1 waits 10 frames), prepared so that the rule's threshold is met
// exactly (the Age after this frame's increment is 10, or the record or slot is set so), then
// one short of it (Age 9; the rocket's move: 11).
TEST(Rules, EachTurnsExactlyAtItsThreshold) {
  using Check = bool (*)(const ShowState&);
  const Check leaderDied = [](const ShowState& st) { return AnyRecord(st, [](const Spark& p) { return !p.Alive; }); };
  const struct {
    const char* rule;
    std::int16_t kind, shortAge;  // shortAge 0: prepare sets the threshold
    void (*prepare)(ShowState&, int side);
    Check happened;
  } rows[] = {
      {"the rocket moves while Age <= FireLaunchSteps", kLaunch, 11, nullptr,
       [](const ShowState& st) { return st.Slots[0].CentreZ != 1.0f; }},
      {"failing rocket sparks die once Age >= FireLaunchSteps", kLaunch, 9, nullptr,
       [](const ShowState& st) { return st.Slots[0].LiveCount < st.S.FireLaunchPixel; }},
      {"a spent rocket bursts once Age >= FireLaunchSteps", kLaunch, 9,
       [](ShowState& st, int) {
         st.Slots[0].LiveCount = 0;
         for (Spark& p : st.Sparks) p.Alive = false;
       },
       [](const ShowState& st) { return st.Slots[0].Kind != kLaunch; }},
      {"a tail starts when SparkAge reaches TrailLength", kStandard, 0,
       [](ShowState& st, int side) {
         for (Spark& p : st.Sparks) p.SparkAge = static_cast<std::int16_t>(st.Slots[0].TrailLength - 1 - side);
       },
       [](const ShowState& st) { return AnyRecord(st, [](const Spark& p) { return p.Alive && p.TailAlive; }); }},
      {"a multi-burst splits at FireMultiAge", kMultiBurst, 9, nullptr,
       [](const ShowState& st) { return st.Slots[0].Kind == kStandard; }},
      {"jet leaders die from FireBurstAge on", kJetBurst, 9, nullptr, leaderDied},
      {"twister leaders die from FireBurstAge on", kTwister, 9, nullptr, leaderDied},
      {"a sparkler twinkles at FireSparkAge", kSparkler, 9, nullptr,
       [](const ShowState& st) { return st.Slots[0].Kind == kTwinkle; }},
      {"a spark is drawn only at Z >= 0.0001 (still sparks on the axis, all surviving)", kStandard, 0,
       [](ShowState& st, int side) {
         st.S.FirePersist = 1;
         for (Spark& p : st.Sparks) {
           p = Spark{};
           p.Z = side ? std::nextafter(0.0001f, 0.0f) : 0.0001f;
           p.Colour = 0xFFFFFF;
           p.Alive = true;
         }
         st.Slots[0].ListReady = false;
       },
       [](const ShowState& st) { return !AllBlack(*st.Surface); }},
      {"stars with no life left die, and the slot starts anew", kDecayingStar, 0,
       [](ShowState& st, int side) {
         for (Spark& p : st.Sparks) p.SparkAge = static_cast<std::int16_t>(side);
       },
       [](const ShowState& st) { return st.Slots[0].Age == 0; }},
      {"slot 1 starts once 1 * (FireSparks / 32) <= StartDelay", kStandard, 0,
       [](ShowState& st, int side) { st.Slots[1].StartDelay = static_cast<std::int16_t>(10 - side); },
       [](const ShowState& st) { return st.Slots[1].Age == 1; }},
  };
  for (const auto& row : rows)
    for (int side : {0, 1}) {
      SCOPED_TRACE(testing::Message() << row.rule << (side ? ", one short" : ", met"));
      ShowRig rig(400, 300, 3);
      rig.OnlyKind(row.kind);
      auto& s = rig.settings;
      s.FireWorks = 2;
      s.FireSparks = 320;
      s.FireLaunchSteps = s.FireMultiAge = s.FireBurstAge = s.FireSparkAge = 10;
      s.FirePersist = s.FireLaunchPersist = 0.25f;  // most rolls fail
      s.FireSpeed = 0.1f;                           // nothing leaves the screen
      auto show = rig.Begin();
      ShowState& st = show->State();
      if (row.shortAge) st.Slots[0].Age = static_cast<std::int16_t>((side ? row.shortAge : 10) - 1);
      if (row.prepare) row.prepare(st, side);
      show->DrawFrame();
      EXPECT_EQ(row.happened(st), side == 0);
    }
}

// A jet's leaders fly at three quarters of FireSpeed * size (size 0.0025 at the smallest
// deviation, symmetry 1). Its shell starts only at leaders strictly inside the surface: a leader
// on its edge or beyond is left out. At depth ProjectionScale (175 here) x and y are pixels from
// the centre.
TEST(JetBurst, LeadersSpeedAndTheShellSplitsOnlyStrictlyInsideTheSurface) {
  ShowRig rig(400, 300, 22);
  rig.OneSlot(kJetBurst, 200);
  auto& S = rig.settings;
  S.FireBurstCount = 5;
  S.FireBurstShell = true;
  S.FireSizeDev = 1, S.FireSymmetry = 1, S.FireSplinePct = S.FirePatternPct = 0;
  auto show = rig.Begin();
  ShowState& st = show->State();
  const int g = st.Slots[0].GroupSize;
  ASSERT_EQ(g, 40);
  for (int j = 0; j < 200; j += g) {
    const Spark& p = st.Sparks[j];
    EXPECT_NEAR(std::hypot(p.VX, p.VY, p.VZ) / (st.S.FireSpeed * 0.0025), 0.75, 1e-5) << j;
  }
  const Point leaders[] = {{-200, 0, 175},    // x 0: the left edge
                           {-199, 0, 175},    // x 1
                           {199, -149, 175},  // x 399, y 1
                           {200, 0, 175},     // x 400: the right edge
                           {0, 150, 175}};    // y 300: the bottom edge
  for (int n = 0; n < 5; ++n) {
    Spark& p = st.Sparks[n * g];
    std::tie(p.X, p.Y, p.Z) = leaders[n];
  }
  SplitLeaders(st, 0, false);
  ASSERT_EQ(st.Slots[0].Kind, kStandard);
  std::set<Point> starts;
  for (int j = 0; j < 200; ++j) starts.insert({st.Sparks[j].X, st.Sparks[j].Y, st.Sparks[j].Z});
  EXPECT_EQ(starts, (std::set<Point>{leaders[1], leaders[2]}));
  // The edge itself still counts as on screen for a flying spark.
  EXPECT_TRUE(st.Screen.OnScreen(400, 300) && st.Screen.OnScreen(0, 0));
  EXPECT_FALSE(st.Screen.OnScreen(401, 0) || st.Screen.OnScreen(0, -1));
}

}  // namespace
}  // namespace glintora
