// Each kind's first frame, and the split of a multi-burst and of a jet burst into a standard burst.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "engine/bursts.h"
#include "engine/creation.h"
#include "tests/engine/show_rig.h"

namespace glintora {
namespace {

using Point = std::tuple<float, float, float>;

// One frame of each kind at Age 10 (FirePersist 0.25, gravity 0.01, damping 0.75): the group size
// and live count it was created with, the share of leaders that die, and every survivor moved by
// its velocity, then, if its draw roll lets it (scintillator: Age < Rnd * (Age + FirePersist * 40),
// twinkle: Rnd * (Age + FirePersist * 100)), VY += gravity and every component times the damping
// (a jet's invisible leaders: LeaderDamping = 1 - (1 - damping) * 0.2).
TEST(Leaders, CountedByKindDieMoveFallAndSlow) {
  EXPECT_EQ(LeaderGroup(303, 99), 3);
  EXPECT_EQ(LeaderGroup(10, 20), 1);  // more leaders than sparks: groups of one
  const struct {
    std::int16_t kind, runAs, group, live;
    double dies, drawn;
    bool white;  // the leaders (a jet's followers) are white
  } rows[] = {{kStandard, kStandard, 1, 3000, 0.75, 1, false},   {kMultiBurst, kMultiBurst, 428, 7, 0, 1, true},
              {kJetBurst, kJetBurst, 375, 2992, 0, 1, true},      {kSparkler, kSparkler, 2, 1500, 0, 1, false},
              {kTwister, kTwister, 333, 2988, 0, 1, false},       {kDecayingStar, kDecayingStar, 272, 11, 0, 1, true},
              {kScintillator, kScintillator, 5, 600, 0.5, 0.5, true}, {kSparkler, kTwinkle, 2, 1500, 0.375, 25 / 35.0, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.runAs);
    ShowRig rig(400, 300, 24);
    rig.OneSlot(row.kind, 3000);
    auto& s = rig.settings;
    s.FireMultiBurst = 7;
    s.FireBurstCount = 8;
    s.FireTwistCnt = 9;
    s.FireDecayCnt = 11;
    s.FireSparkPix = 2;
    s.FireScintStyle = 1;
    s.FireMultiAge = s.FireBurstAge = s.FireSparkAge = 50;
    s.FireGravity = 2;     // 0.01 per frame
    s.FireDamping = 0.5f;  // velocities times 0.75
    s.FirePersist = 0.25f;
    auto show = rig.Begin();
    ShowState& st = show->State();
    Slot& slot = st.Slots[0];
    ASSERT_EQ(slot.GroupSize, row.group);
    ASSERT_EQ(slot.LiveCount, row.live);
    EXPECT_TRUE(!row.white || st.Sparks[row.kind == kJetBurst ? 1 : 0].Colour == 0xFFFFFFu);
    slot.Kind = row.runAs;  // a twinkle runs on a sparkler's records
    slot.Age = 9;
    const std::vector<Spark> before = st.Sparks;
    show->DrawFrame();
    const float d = row.kind == kJetBurst ? 0.95f : 0.75f;
    int leaders = 0, dead = 0, drawn = 0;
    for (int j = 0; j <= 3000 - row.group; j += row.group, ++leaders) {
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

// The same show twice: with FireMultiMoment every spark of the split moves as it did without,
// plus the velocity of the leader it starts from. Without, each flies off its leader at
// FireSpeed * size, size = (1 - ln 10 / ln 300)^2 * 0.0025 for 10 sub-bursts of 300 sparks.
TEST(MultiBurst, SplitsAtItsAgeFromTheSurvivingLeadersWithTheirMomentumWhenAsked) {
  std::map<Point, Point> leaderVelocity;  // by where the leader will be after its next move
  std::vector<Point> withoutMoment;
  for (bool moment : {false, true}) {
    ShowRig rig(400, 300, 21);
    rig.OneSlot(kMultiBurst, 300);
    auto& s = rig.settings;
    s.FireMultiBurst = 10;
    s.FireMultiAge = 6;
    s.FireMultiMoment = moment;
    s.FireDamping = s.FireGravity = 0;  // leaders keep their velocity through the split frame
    s.FireSymmetry = 1;
    s.FireSplinePct = s.FirePatternPct = 0;
    auto show = rig.Begin();
    ShowState& st = show->State();
    for (int f = 0; f < 5; ++f) show->DrawFrame();
    ASSERT_EQ(st.Slots[0].Kind, kMultiBurst);
    leaderVelocity.clear();
    for (int j = 0; j < 300; j += 30) {
      const Spark& p = st.Sparks[j];
      if (p.Alive) leaderVelocity[{p.X + p.VX, p.Y + p.VY, p.Z + p.VZ}] = {p.VX, p.VY, p.VZ};
    }
    ASSERT_FALSE(leaderVelocity.empty());
    show->DrawFrame();
    const Slot& slot = st.Slots[0];
    EXPECT_EQ(std::make_tuple(slot.Kind, slot.GroupSize, slot.LiveCount, slot.Age),
              std::make_tuple(kStandard, 1, 300, 0));  // a standard burst of every spark, new
    for (int j = 0; j < 300; ++j) {
      const Spark& p = st.Sparks[j];
      EXPECT_TRUE(p.Alive && !p.TailAlive);
      EXPECT_EQ(p.TailX, p.X);
      const auto leader = leaderVelocity.find({p.X, p.Y, p.Z});
      ASSERT_NE(leader, leaderVelocity.end()) << j;
      if (!moment) {
        const double size = std::pow(1 - std::log(10.0) / std::log(300.0), 2) * 0.0025;
        EXPECT_NEAR(std::hypot(p.VX, p.VY, p.VZ) / (st.S.FireSpeed * size), 1, 1e-5) << j;
        withoutMoment.push_back({p.VX, p.VY, p.VZ});
        continue;
      }
      const auto [vx, vy, vz] = withoutMoment[static_cast<std::size_t>(j)];
      const auto [lx, ly, lz] = leader->second;
      EXPECT_EQ(p.VX, static_cast<float>(double(vx) + lx)) << j;
      EXPECT_EQ(p.VY, static_cast<float>(double(vy) + ly)) << j;
      EXPECT_EQ(p.VZ, static_cast<float>(double(vz) + lz)) << j;
    }
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
