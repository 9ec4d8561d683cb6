// The rules that turn a slot from one state to the next, each on both sides of its threshold; the
// constants of creation (the centre, the rocket, trails, sizes, groups and speeds) and of a
// frame's deaths, draws and physics; where a jet's shell may start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>
#include <vector>

#include "engine/bursts.h"
#include "engine/creation.h"
#include "engine/velocities.h"
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

// A fresh slot's centre, a rocket's start and drift, a standard burst's trail and size, against
// the draws they take (replayed from a copy of the source). ln 20 = 2.996 gives trails of 3 to 22.
TEST(Creation, CentreRocketTrailAndSizeFollowTheirDraws) {
  for (const std::int16_t kind : {kLaunch, kStandard}) {
    ShowRig rig(400, 300, 31);
    rig.OneSlot(kind, 400);
    auto& S = rig.settings;
    S.FireLength = 20;
    S.FireSizeDev = 9;
    S.FireSymmetry = 1;
    S.FireSplinePct = S.FirePatternPct = 0;
    S.FireLaunchSteps = 10;
    auto show = rig.Begin();
    ShowState& st = show->State();
    const double kx = st.S.CenterX / double(st.S.ProjectionScale), ky = st.S.CenterY / double(st.S.ProjectionScale);
    std::set<int> trails;
    for (int n = 0; n < 400; ++n) {
      SCOPED_TRACE(testing::Message() << "kind " << kind << ", firework " << n);
      Random r = *st.Rng;
      const auto d = [&] { return static_cast<double>(r.Next()); };
      Slot& s = st.Slots[0];
      s.Kind = kStandard;
      CreateFirework(st, 0);
      const float cx = Single((d() * 1.8 - 0.9) * kx), cy = Single((d() * 1.5 - 0.9) * ky);
      const float cz = Single(d() * 0.3 + 0.9);
      d();  // the rocket roll
      if (kind == kLaunch) {
        const double x = std::clamp(cx + d() * 0.25 - 0.125, -0.9, 0.9) * kx, y = (d() * 1.2 - 0.9) * ky;
        EXPECT_NEAR(s.CentreX, x, 1e-6);
        EXPECT_NEAR(s.DriftX, (cx - x) / 10, 1e-6);
        EXPECT_NEAR(s.CentreY, ky, 1e-6);
        EXPECT_NEAR(s.DriftY, (y - ky) / 10, 1e-6);
        EXPECT_EQ(s.CentreZ, 1.0f);
        EXPECT_NEAR(s.DriftZ, (cz - 1.0) / 10, 1e-6);
        continue;
      }
      d();  // the kind roll
      const int trail = static_cast<int>(std::floor(d() * 20)) + 3;
      d();  // the warp roll
      const double size = (8 * d() + 1) * 0.0025;
      EXPECT_EQ(std::make_tuple(s.CentreX, s.CentreY, s.CentreZ), std::make_tuple(cx, cy, cz));
      EXPECT_EQ(s.TrailLength, trail);
      trails.insert(trail);
      const Spark& p = st.Sparks[0];
      EXPECT_NEAR(std::hypot(p.VX, p.VY, p.VZ) / (st.S.FireSpeed * size), 1, 1e-5);
    }
    if (kind == kStandard) {
      EXPECT_EQ(std::make_pair(*trails.begin(), *trails.rbegin()), std::make_pair(3, 22));
    }
  }
}

// 600 sparks of each kind at the smallest burst size (0.0025), FireSpeed 6, every speed factor 1:
// group size, live count, the leaders' speed in units of FireSpeed * size (a jet's is three
// quarters of it), the followers' speed, a decaying star's life of 5 .. FireDecayMLife - 1; a
// ring of 0 degrees lies flat, every velocity square to the ring's turned axis.
// Then one frame at Age 10 (FirePersist 0.25, gravity 0.01, damping 0.75): the share of leaders
// that die (standard: Rnd > 0.25; scintillator: 1.5 Rnd > 0.75; twinkle: 2 Rnd > 1.25), and
// every survivor moved by its velocity, then, if its draw roll lets it (scintillator: Age < Rnd *
// (Age + FirePersist * 40), twinkle: Rnd * (Age + FirePersist * 100)), VY += gravity and every
// component times the damping (a jet's invisible leaders: 1 - (1 - 0.75) * 0.2).
TEST(Leaders, CreatedByKindThenDieMoveFallAndSlow) {
  const struct {
    std::int16_t kind, runAs, group, live;
    double leaderSpeed, followerSpeed, dies, drawn;
  } rows[] = {{kStandard, kStandard, 1, 600, 1, 0, 0.75, 1},
              {kScintillator, kScintillator, 5, 120, 1, 0, 0.5, 0.5},
              {kMultiBurst, kMultiBurst, 85, 7, 1, 0, 0, 1},
              {kJetBurst, kJetBurst, 75, 592, 0.75, 0.01, 0, 1},
              {kSparkler, kTwinkle, 2, 300, 1, 0, 0.375, 25 / 35.0},
              {kRing, kStandard, 1, 600, 1, 0, 0.75, 1},
              {kTwister, kTwister, 66, 585, 1, 0.02, 0, 1},
              {kDecayingStar, kDecayingStar, 6, 100, 1, 0, 0, 1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.kind);
    ShowRig rig(400, 300, 33);
    rig.OneSlot(row.kind, 600);
    auto& S = rig.settings;
    S.FireMultiBurst = 7; S.FireBurstCount = 8; S.FireTwistCnt = 9; S.FireDecayCnt = 99;
    S.FireSparkPix = 2; S.FireScintStyle = 1; S.FireRingEmb = 1; S.FireRingDeg = 0; S.FireDecayMLife = 8;
    S.FireSizeDev = 1; S.FireSymmetry = 1; S.FireSplinePct = S.FirePatternPct = 0;
    S.FireBurstRadius = 0.01f; S.FireTwistRad = 0.02f;
    S.FireMultiAge = S.FireBurstAge = S.FireSparkAge = 50;
    S.FireGravity = 2;     // 0.01 per frame
    S.FireDamping = 0.5f;  // velocities times 0.75
    S.FirePersist = 0.25f;
    auto show = rig.Begin();
    ShowState& st = show->State();
    Slot& s = st.Slots[0];
    EXPECT_EQ(std::make_tuple(s.GroupSize, s.LiveCount), std::make_tuple(row.group, row.live));
    const Vec3 axis = RotateYX(0, 0, 1, st.RingA[0], st.RingB[0]);
    std::set<int> lives;
    const int filled = 600 / row.group * row.group;
    for (int j = 0; j < 600; ++j) {
      const Spark& p = st.Sparks[j];
      const double v = std::hypot(p.VX, p.VY, p.VZ);
      if (j % row.group || j >= filled) {  // a follower, or in no group
        ASSERT_NEAR(v, j < filled ? row.followerSpeed : 0, 1e-7) << j;
        continue;
      }
      ASSERT_NEAR(v / (6 * 0.0025), row.leaderSpeed, 1e-5) << j;
      if (row.kind == kRing) {
        ASSERT_NEAR((p.VX * axis.X + p.VY * axis.Y + p.VZ * axis.Z) / v, 0, 1e-5) << j;
      }
      lives.insert(p.SparkAge);
    }
    if (row.kind == kDecayingStar) {
      EXPECT_EQ(lives, (std::set<int>{5, 6, 7}));
    }
    s.Kind = row.runAs;  // a twinkle runs on a sparkler's records
    s.Age = 9;
    const std::vector<Spark> before = st.Sparks;
    show->DrawFrame();
    const float d = row.kind == kJetBurst ? 0.95f : 0.75f;
    int leaders = 0, dead = 0, drawn = 0;
    for (int j = 0; j < filled; j += row.group, ++leaders) {
      const Spark &a = before[j], &b = st.Sparks[j];
      if (!b.Alive) {
        ++dead;
        continue;
      }
      EXPECT_EQ(b.X, static_cast<float>(double(a.X) + a.VX)) << j;
      EXPECT_EQ(b.Z, static_cast<float>(double(a.Z) + a.VZ)) << j;
      if (b.VX == a.VX && b.VY == a.VY && b.VZ == a.VZ) continue;  // no physics this frame
      EXPECT_EQ(b.VX, static_cast<float>(double(a.VX) * d)) << j;
      EXPECT_EQ(b.VY, static_cast<float>(double(static_cast<float>(double(a.VY) + 0.01f)) * d)) << j;
      ++drawn;
    }
    const int alive = leaders - dead;
    EXPECT_NEAR(dead / double(leaders), row.dies, 4 * std::sqrt(row.dies * (1 - row.dies) / leaders) + 1e-9);
    EXPECT_NEAR(drawn / double(alive), row.drawn, 4 * std::sqrt(row.drawn * (1 - row.drawn) / alive) + 1e-9);
  }
}

// A jet burst's shell starts only at leaders strictly inside the surface: a leader on its edge
// or beyond is left out. At depth ProjectionScale (175 here) x and y are pixels from the centre.
TEST(JetBurst, ShellSplitsOnlyAtTheLeadersStrictlyInsideTheSurface) {
  ShowRig rig(400, 300, 22);
  rig.OneSlot(kJetBurst, 200);
  rig.settings.FireBurstCount = 5;
  rig.settings.FireBurstShell = true;
  auto show = rig.Begin();
  ShowState& st = show->State();
  const int g = st.Slots[0].GroupSize;
  ASSERT_EQ(g, 40);
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
