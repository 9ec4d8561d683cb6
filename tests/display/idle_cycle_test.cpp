// The idle watcher as the compositor drives it: activity is reported before the input event that
// caused it, so the key ending a saver comes after the saver already heard of the activity.
#include "display/idle_cycle.h"

#include <gtest/gtest.h>

namespace glintora {
namespace {

TEST(IdleCycle, SaverAfterEachIdleReportButNeverTwice) {
  IdleCycle cycle;
  EXPECT_TRUE(cycle.OnIdled());
  EXPECT_EQ(cycle.Now(), IdleCycle::State::Saving);
  // Three stray moves (activity), then quiet: the next idle report finds the saver running.
  EXPECT_FALSE(cycle.OnIdled());
  // The key ends it; the next report after another timeout brings it back.
  cycle.OnSaverEnded();
  EXPECT_EQ(cycle.Now(), IdleCycle::State::Watching);
  EXPECT_TRUE(cycle.OnIdled());
  cycle.OnSaverEnded();
  cycle.OnSaverEnded();
  EXPECT_TRUE(cycle.OnIdled());
}

}  // namespace
}  // namespace glintora
