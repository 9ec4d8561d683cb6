// The idle watcher as the compositor drives it: activity is reported before the input event that
// caused it, so the key ending a saver comes after the saver already heard of the activity.
#include "display/idle_cycle.h"

#include <gtest/gtest.h>

namespace glintora {
namespace {

TEST(IdleCycle, OneSaverPerIdleReportAfterActivity) {
  IdleCycle cycle;
  EXPECT_TRUE(cycle.OnIdled());
  // Three stray moves (activity), then quiet: the next idle report finds the saver running.
  cycle.OnResumed();
  EXPECT_FALSE(cycle.OnIdled());
  // The key's activity, then the key ends it; the next report after another timeout brings it back.
  cycle.OnResumed();
  cycle.OnSaverEnded();
  EXPECT_EQ(cycle.Now(), IdleCycle::State::Watching);
  EXPECT_TRUE(cycle.OnIdled());
  // A compositor repeating the report without activity neither stacks nor restarts the saver.
  EXPECT_FALSE(cycle.OnIdled());
  cycle.OnSaverEnded();
  EXPECT_FALSE(cycle.OnIdled());
  cycle.OnResumed();
  EXPECT_TRUE(cycle.OnIdled());
}

}  // namespace
}  // namespace glintora
