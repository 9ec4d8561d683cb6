// The rules that turn a slot from one state to the next, each on both sides of its threshold, and
// the constants of creation: the centre, the rocket, trails, sizes, groups and speeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "engine/creation.h"
#include "engine/velocities.h"
#include "tests/engine/show_rig.h"

namespace glintora {
namespace {

bool AnyRecord(const ShowState& st, bool (*test)(const Spark&)) {
  const std::int32_t g = st.Slots[0].GroupSize;
  for (std::int32_t j = 0; j + g <= st.S.FireSparks; j += g)
    if (test(st.Sparks[j])) return true;
  return false;
}

// One frame of slot 0 (slot 1 waits 10 frames), prepared so that the rule's threshold is met
// exactly (side 0: the age after this frame's increment is 10), then one short of it (side 1).
TEST(Rules, EachTurnsExactlyAtItsThreshold) {
  const struct {
    const char* rule;
    std::int16_t kind;
    void (*prepare)(ShowState&, int side);
    bool (*happened)(const ShowState&);
  } rows[] = {
      {"the rocket moves while Age <= FireLaunchSteps", kLaunch,
       [](ShowState& st, int side) { st.Slots[0].Age = static_cast<std::int16_t>(9 + side); },
       [](const ShowState& st) { return st.Slots[0].CentreZ != 1.0f; }},
      {"failing rocket sparks die once Age >= FireLaunchSteps", kLaunch,
       [](ShowState& st, int side) { st.Slots[0].Age = static_cast<std::int16_t>(9 - side); },
       [](const ShowState& st) { return st.Slots[0].LiveCount < st.S.FireLaunchPixel; }},
      {"a spent rocket bursts once Age >= FireLaunchSteps", kLaunch,
       [](ShowState& st, int side) {
         st.Slots[0].Age = static_cast<std::int16_t>(9 - side);
         st.Slots[0].LiveCount = 0;
         for (Spark& p : st.Sparks) p.Alive = false;
       },
       [](const ShowState& st) { return st.Slots[0].Kind != kLaunch; }},
      {"a tail starts when SparkAge reaches TrailLength", kStandard,
       [](ShowState& st, int side) {
         for (Spark& p : st.Sparks) p.SparkAge = static_cast<std::int16_t>(st.Slots[0].TrailLength - 1 - side);
       },
       [](const ShowState& st) { return AnyRecord(st, [](const Spark& p) { return p.Alive && p.TailAlive; }); }},
      {"a multi-burst splits at FireMultiAge", kMultiBurst,
       [](ShowState& st, int side) { st.Slots[0].Age = static_cast<std::int16_t>(9 - side); },
       [](const ShowState& st) { return st.Slots[0].Kind == kStandard; }},
      {"jet leaders die from FireBurstAge on", kJetBurst,
       [](ShowState& st, int side) { st.Slots[0].Age = static_cast<std::int16_t>(9 - side); },
       [](const ShowState& st) { return AnyRecord(st, [](const Spark& p) { return !p.Alive; }); }},
      {"twister leaders die from FireBurstAge on", kTwister,
       [](ShowState& st, int side) { st.Slots[0].Age = static_cast<std::int16_t>(9 - side); },
       [](const ShowState& st) { return AnyRecord(st, [](const Spark& p) { return !p.Alive; }); }},
      {"a sparkler twinkles at FireSparkAge", kSparkler,
       [](ShowState& st, int side) { st.Slots[0].Age = static_cast<std::int16_t>(9 - side); },
       [](const ShowState& st) { return st.Slots[0].Kind == kTwinkle; }},
      {"stars with no life left die", kDecayingStar,  // and the slot starts anew
       [](ShowState& st, int side) {
         for (Spark& p : st.Sparks) p.SparkAge = static_cast<std::int16_t>(side);
       },
       [](const ShowState& st) { return st.Slots[0].Age == 0; }},
      {"slot 1 starts once 1 * (FireSparks / 32) <= StartDelay", kStandard,
       [](ShowState& st, int side) { st.Slots[1].StartDelay = static_cast<std::int16_t>(10 - side); },
       [](const ShowState& st) { return st.Slots[1].Age == 1; }},
  };
  for (const auto& row : rows)
    for (int side : {0, 1}) {
      SCOPED_TRACE(testing::Message() << row.rule << (side ? ", one short" : ", met"));
      ShowRig rig(800, 600, 3);
      rig.OnlyKind(row.kind);
      auto& s = rig.settings;
      s.FireWorks = 2;
      s.FireSparks = 320;
      s.FireLaunchSteps = s.FireMultiAge = s.FireBurstAge = s.FireSparkAge = 10;
      s.FirePersist = s.FireLaunchPersist = 0.25f;  // most rolls fail
      s.FireSpeed = 0.1f;                           // nothing leaves the screen
      auto show = rig.Begin();
      ShowState& st = show->State();
      row.prepare(st, side);
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
// quarters of it), the followers' speed, and a decaying star's life of 5 .. FireDecayMLife - 1.
// A ring of 0 degrees lies flat: every velocity square to the ring's turned axis.
TEST(Creation, GroupsLiveCountsAndSpeedsByKind) {
  const struct {
    std::int16_t kind, group, live;
    double leaderSpeed, followerSpeed;
  } rows[] = {{kStandard, 1, 600, 1, 0},      {kScintillator, 5, 120, 1, 0}, {kMultiBurst, 85, 7, 1, 0},
              {kJetBurst, 75, 592, 0.75, 0.01}, {kSparkler, 2, 300, 1, 0},     {kRing, 1, 600, 1, 0},
              {kTwister, 66, 585, 1, 0.02},   {kDecayingStar, 6, 100, 1, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.kind);
    ShowRig rig(400, 300, 33);
    rig.OneSlot(row.kind, 600);
    auto& S = rig.settings;
    S.FireMultiBurst = 7; S.FireBurstCount = 8; S.FireTwistCnt = 9; S.FireDecayCnt = 99;
    S.FireSparkPix = 2; S.FireScintStyle = 1; S.FireRingEmb = 1; S.FireRingDeg = 0; S.FireDecayMLife = 8;
    S.FireSizeDev = 1; S.FireSymmetry = 1; S.FireSplinePct = S.FirePatternPct = 0;
    S.FireBurstRadius = 0.01f; S.FireTwistRad = 0.02f;
    auto show = rig.Begin();
    const ShowState& st = show->State();
    const Slot& s = st.Slots[0];
    EXPECT_EQ(std::make_tuple(s.GroupSize, s.LiveCount), std::make_tuple(row.group, row.live));
    const Vec3 axis = RotateYX(0, 0, 1, st.RingA[0], st.RingB[0]);
    std::set<int> lives;
    for (int j = 0; j < 600; ++j) {
      const Spark& p = st.Sparks[j];
      const double v = std::hypot(p.VX, p.VY, p.VZ);
      if (j % row.group || j >= 600 / row.group * row.group) {  // a follower, or in no group
        ASSERT_NEAR(v, j % row.group && j < 600 / row.group * row.group ? row.followerSpeed : 0, 1e-7) << j;
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
  }
}

}  // namespace
}  // namespace glintora
