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

// One frame at Age 10 (FirePersist 0.25, gravity 0.01, damping 0.75): the share of leaders that
// die (standard: Rnd > 0.25; scintillator: 1.5 Rnd > 0.75; twinkle: 2 Rnd > 1.25), and every
// survivor moved by its velocity, then, if its draw roll lets it (scintillator: Age < Rnd * (Age +
// FirePersist * 40), twinkle: Rnd * (Age + FirePersist * 100)), VY += gravity and every component
// times the damping (a jet's invisible leaders: 1 - (1 - 0.75) * 0.2).
TEST(Leaders, DieMoveFallAndSlow) {
  const struct {
    std::int16_t kind, runAs;
    double dies, drawn;
  } rows[] = {{kStandard, kStandard, 0.75, 1}, {kMultiBurst, kMultiBurst, 0, 1}, {kJetBurst, kJetBurst, 0, 1},
              {kTwister, kTwister, 0, 1},      {kDecayingStar, kDecayingStar, 0, 1},
              {kScintillator, kScintillator, 0.5, 0.5}, {kSparkler, kTwinkle, 0.375, 25 / 35.0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.runAs);
    ShowRig rig(400, 300, 24);
    rig.OneSlot(row.kind, 3000);
    auto& s = rig.settings;
    s.FireMultiBurst = s.FireBurstCount = s.FireTwistCnt = s.FireDecayCnt = 10;
    s.FireSparkPix = 2;
    s.FireScintStyle = 1;
    s.FireMultiAge = s.FireBurstAge = s.FireSparkAge = 50;
    s.FireGravity = 2;     // 0.01 per frame
    s.FireDamping = 0.5f;  // velocities times 0.75
    s.FirePersist = 0.25f;
    auto show = rig.Begin();
    ShowState& st = show->State();
    Slot& slot = st.Slots[0];
    slot.Kind = row.runAs;  // a twinkle runs on a sparkler's records
    slot.Age = 9;
    const std::vector<Spark> before = st.Sparks;
    show->DrawFrame();
    const float d = row.kind == kJetBurst ? 0.95f : 0.75f;
    int leaders = 0, dead = 0, drawn = 0;
    for (int j = 0; j <= 3000 - slot.GroupSize; j += slot.GroupSize, ++leaders) {
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
