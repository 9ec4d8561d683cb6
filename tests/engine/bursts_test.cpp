// Kind transitions: the split of a multi-burst and of a jet burst into a standard burst, and the
// sparkler's switch to twinkling.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "tests/engine/show_rig.h"

namespace glintora {
namespace {

using Point = std::tuple<float, float, float>;

TEST(MultiBurst, SplitsAtItsAgeFromTheSurvivingLeaders) {
  for (bool moment : {false, true}) {
    ShowRig rig(400, 300, 21);
    rig.OneSlot(kMultiBurst, 300);
    auto& s = rig.settings;
    s.FireMultiBurst = 10;
    s.FireMultiAge = 6;
    s.FireMultiMoment = moment;
    auto show = rig.Begin();
    ShowState& st = show->State();
    for (int f = 0; f < 5; ++f) show->DrawFrame();
    ASSERT_EQ(st.Slots[0].Kind, kMultiBurst);
    std::set<Point> leaders;  // where the leaders still alive will be after their next move
    for (int j = 0; j < 300; j += 30)
      if (st.Sparks[j].Alive)
        leaders.insert({st.Sparks[j].X + st.Sparks[j].VX, st.Sparks[j].Y + st.Sparks[j].VY,
                        st.Sparks[j].Z + st.Sparks[j].VZ});
    ASSERT_FALSE(leaders.empty());
    show->DrawFrame();
    const Slot& slot = st.Slots[0];
    EXPECT_EQ(slot.Kind, kStandard);
    EXPECT_EQ(slot.GroupSize, 1);
    EXPECT_EQ(slot.LiveCount, 300);
    EXPECT_EQ(slot.Age, 0);
    for (int j = 0; j < 300; ++j) {
      const Spark& p = st.Sparks[j];
      EXPECT_TRUE(p.Alive && !p.TailAlive);
      EXPECT_EQ(leaders.count({p.X, p.Y, p.Z}), 1u) << j;
      EXPECT_EQ(p.TailX, p.X);
    }
  }
}

TEST(JetBurst, ShellSplitsAtTheLeadersOnScreen) {
  ShowRig rig(400, 300, 22);
  rig.OneSlot(kJetBurst, 200);
  auto& s = rig.settings;
  s.FireBurstCount = 5;
  s.FireBurstAge = 5;
  s.FireBurstShell = true;
  auto show = rig.Begin();
  ShowState& st = show->State();
  int splits = 0;
  for (int f = 0; f < 3000 && splits < 3; ++f) {
    const bool jet = st.Slots[0].Kind == kJetBurst;
    std::set<Point> sources;
    for (int j = 0; j < 200; j += 40) {
      const Spark& p = st.Sparks[j];
      sources.insert({p.X, p.Y, p.Z});  // dead leaders stay where they ended
    }
    show->DrawFrame();
    if (jet && st.Slots[0].Kind == kStandard && st.Slots[0].LiveCount == 200 && st.Slots[0].Age == 0) {
      ++splits;
      for (int j = 0; j < 200; ++j) {
        const Spark& p = st.Sparks[j];
        EXPECT_EQ(sources.count({p.X, p.Y, p.Z}), 1u);
      }
    }
  }
  EXPECT_GE(splits, 1);
}

TEST(Sparkler, TurnsToTwinkleAtItsAgeWithItsTrailErased) {
  ShowRig rig(400, 300, 23);
  rig.OneSlot(kSparkler, 300);
  auto& s = rig.settings;
  s.FireSparkPix = 6;
  s.FireSparkAge = 8;
  auto show = rig.Begin();
  ShowState& st = show->State();
  for (int f = 0; f < 7; ++f) {
    show->DrawFrame();
    ASSERT_EQ(st.Slots[0].Kind, kSparkler);
  }
  EXPECT_FALSE(AllBlack(rig.host.Surface()));
  show->DrawFrame();
  EXPECT_EQ(st.Slots[0].Kind, kTwinkle);
  EXPECT_EQ(st.Slots[0].Age, 8);  // twinkles age on from the sparkler's creation
  EXPECT_TRUE(AllBlack(rig.host.Surface()));
  show->DrawFrame();
  EXPECT_EQ(st.Slots[0].Kind, kTwinkle);
}

}  // namespace
}  // namespace glintora
