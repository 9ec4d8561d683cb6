// The frame wait: one blocking wait per frame for the time left, stops raised by events, the
// wrapping tick count, the preview host and the preview's brief yield. (The message's refresh
// every 3000 ms is pinned with the seeded shows.)
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>
#include <vector>

#include "engine/frame_wait.h"
#include "tests/engine/show_rig.h"

namespace glintora {
namespace {

// Records every wait; an event wakes a wait eventAfter ms in, and onPass sees each pass of events.
struct RecordingHost : NullHost {
  std::uint32_t clock = 0, eventAfter = UINT32_MAX;
  std::vector<std::uint32_t> waits;
  int passes = 0;
  std::function<void(int)> onPass;
  RecordingHost() : NullHost(1, 1) {}
  std::uint32_t TickCount() override { return clock; }
  void ProcessPendingEvents() override {
    ++passes;
    if (onPass) onPass(passes);
  }
  void WaitForEvent(std::uint32_t ms) override {
    waits.push_back(ms);
    clock += ms < eventAfter ? ms : eventAfter;
  }
};

// One blocking wait for the time left, none for no delay; a stop raised by an event inside the
// wait returns at once; a tick count that wrapped counts the short way round.
TEST(WaitForDelay, BlocksOnceForTheTimeLeft) {
  const struct {
    const char* name;
    std::uint32_t clock, timerStart;
    std::int32_t delay;
    std::uint32_t eventAfter;  // an event wakes the wait this many ms in
    int stopOnPass;            // the pass of events that asks the show to stop; 0: none
    bool stopped;
    std::vector<std::uint32_t> waits;
    int passes;
  } cases[] = {
      {"15 ms went on drawing", 1000, 985, 40, UINT32_MAX, 0, false, {25}, 2},
      {"no delay", 0, 0, 0, UINT32_MAX, 0, false, {}, 1},
      {"stop from an event", 0, 0, 40, 5, 2, true, {40}, 2},
      {"tick wrapped", 10, 0xFFFFFFF6u, 40, UINT32_MAX, 0, false, {20}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingHost host;
    RunState run;
    host.clock = c.clock;
    host.eventAfter = c.eventAfter;
    // A wait that spins without waiting ends as a stop after 100 passes.
    host.onPass = [&](int pass) { run.StopRequested = run.StopRequested || pass == c.stopOnPass || pass > 100; };
    EXPECT_EQ(WaitForDelay(host, run, c.timerStart, c.delay), c.stopped);
    EXPECT_EQ(host.waits, c.waits);
    EXPECT_EQ(host.passes, c.passes);
  }
}

// The third pass of events interrupts the show (the dialog restarting its preview); the preview's
// first frame ends with one brief yield of 1 ms besides the 40 ms frame waits. A preview whose
// host window is gone stops.
TEST(RunShow, PreviewEndsOnInterruptOrWhenItsHostIsGone) {
  RecordingHost host;
  ShowRig rig(64, 48);
  host.onPass = [&](int pass) { rig.run.ShowInterrupted = rig.run.ShowInterrupted || pass == 3; };
  rig.engine.Host = &host;
  rig.engine.Surface = &host.Surface();
  rig.run.Mode = RunMode::Preview;
  StartShow(rig.engine, rig.settings, rig.run);
  // Not interrupted any more, not stopped, the yield done.
  EXPECT_EQ(std::make_tuple(rig.run.ShowInterrupted, rig.run.StopRequested, rig.run.FirstYieldDone),
            std::make_tuple(false, false, true));
  EXPECT_EQ(std::count(host.waits.begin(), host.waits.end(), 1u), 1);
  EXPECT_GE(host.Presents(), 2u);
  EXPECT_FALSE(FrameWait(rig.engine, rig.settings, rig.run));
  host.SetPreviewHostAlive(false);
  EXPECT_TRUE(FrameWait(rig.engine, rig.settings, rig.run));
  EXPECT_TRUE(rig.run.StopRequested);
}

}  // namespace
}  // namespace glintora
