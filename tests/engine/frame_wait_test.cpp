// The frame wait: one blocking wait per frame for the time left, stops raised by events, the
// wrapping tick count, the preview host, the message refresh and the preview's brief yield.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "engine/frame_wait.h"
#include "tests/engine/show_rig.h"

namespace glintora {
namespace {

// Records every call; events may be scripted by the pass in which they arrive.
class RecordingHost : public FrameHost {
 public:
  std::uint32_t clock = 0;
  std::vector<std::uint32_t> waits;
  int passes = 0;
  std::function<void(int)> onPass;
  bool hostAlive = true;
  int messages = 0;
  std::uint32_t eventAfter = UINT32_MAX;  // an event arrives this many ms into a wait

  std::uint32_t TickCount() override { return clock; }
  void ProcessPendingEvents() override {
    ++passes;
    if (onPass) onPass(passes);
  }
  void WaitForEvent(std::uint32_t ms) override {
    waits.push_back(ms);
    clock += ms < eventAfter ? ms : eventAfter;
  }
  bool PreviewHostIsWindow() override { return hostAlive; }
  void Present(const Framebuffer&) override {}
  bool SurfaceIsWindow() override { return true; }
  void ShowMessage(const MessageStyle&) override { ++messages; }
};

TEST(WaitForDelay, BlocksOnceForTheTimeLeft) {
  RecordingHost host;
  RunState run;
  host.clock = 1000;
  EXPECT_FALSE(WaitForDelay(host, run, 985, 40));  // 15 ms went on drawing
  EXPECT_EQ(host.waits, std::vector<std::uint32_t>({25}));
  EXPECT_EQ(host.passes, 2);
}

TEST(WaitForDelay, ZeroDelayHandlesEventsOnce) {
  RecordingHost host;
  RunState run;
  EXPECT_FALSE(WaitForDelay(host, run, 0, 0));
  EXPECT_EQ(host.passes, 1);
  EXPECT_TRUE(host.waits.empty());
}

TEST(WaitForDelay, StopFromAnEventReturnsAtOnce) {
  RecordingHost host;
  RunState run;
  // An event wakes the wait after 5 ms; its handler asks the show to stop.
  host.eventAfter = 5;
  host.onPass = [&](int pass) {
    if (pass == 2) run.StopRequested = true;
  };
  EXPECT_TRUE(WaitForDelay(host, run, 0, 40));
  EXPECT_EQ(host.passes, 2);
  EXPECT_EQ(host.clock, 5u);
  EXPECT_EQ(host.waits, std::vector<std::uint32_t>({40}));
}

TEST(WaitForDelay, TickWrapCountsTheShortWayRound) {
  RecordingHost host;
  RunState run;
  host.clock = 10;  // wrapped since the frame began 0xFFFFFFF6 (20 ms ago)
  EXPECT_FALSE(WaitForDelay(host, run, 0xFFFFFFF6u, 40));
  EXPECT_EQ(host.waits, std::vector<std::uint32_t>({20}));
}

TEST(BriefYield, WaitsForTheClockToMove) {
  RecordingHost host;
  RunState run;
  BriefYield(host, run);
  EXPECT_TRUE(run.FirstYieldDone);
  EXPECT_EQ(host.waits, std::vector<std::uint32_t>({1}));
}

TEST(FrameWait, MessageEveryThreeSecondsOnlyWithText) {
  ShowRig rig(64, 48);
  rig.settings.Adv_TimeDelay = 40;
  rig.settings.LockMessage = "hello";
  int messages = 0;
  for (int f = 0; f < 200; ++f) {  // 8 s of show: refreshes at 3 s and 6 s
    rig.engine.TimerStart = rig.host.Now();
    EXPECT_FALSE(FrameWait(rig.engine, rig.settings, rig.run));
  }
  messages = static_cast<int>(rig.host.Messages());
  EXPECT_EQ(messages, 2);
  EXPECT_EQ(rig.host.LastMessage().Text, "hello");
  rig.settings.LockMessage.clear();
  for (int f = 0; f < 200; ++f) {
    rig.engine.TimerStart = rig.host.Now();
    FrameWait(rig.engine, rig.settings, rig.run);
  }
  EXPECT_EQ(rig.host.Messages(), 2u);
}

TEST(FrameWait, PreviewEndsWhenItsHostIsGone) {
  ShowRig rig(64, 48);
  rig.run.Mode = RunMode::Preview;
  EXPECT_FALSE(FrameWait(rig.engine, rig.settings, rig.run));
  rig.host.SetPreviewHostAlive(false);
  EXPECT_TRUE(FrameWait(rig.engine, rig.settings, rig.run));
  EXPECT_TRUE(rig.run.StopRequested);
}

TEST(RunShow, EndsOnInterruptAndClearsIt) {
  // A host whose third pass of events interrupts the show (the dialog restarting its preview).
  struct Interrupting : NullHost {
    RunState* run = nullptr;
    int passes = 0;
    Interrupting() : NullHost(64, 48) {}
    void ProcessPendingEvents() override {
      if (++passes == 3) run->ShowInterrupted = true;
    }
  } host;
  ShowRig rig(64, 48);
  host.run = &rig.run;
  rig.engine.Host = &host;
  rig.engine.Surface = &host.Surface();
  rig.run.Mode = RunMode::Preview;
  StartShow(rig.engine, rig.settings, rig.run);
  EXPECT_FALSE(rig.run.ShowInterrupted);
  EXPECT_FALSE(rig.run.StopRequested);
  EXPECT_TRUE(rig.run.FirstYieldDone);
  EXPECT_GE(host.Presents(), 2u);
}

}  // namespace
}  // namespace glintora
