#include "engine/frame_wait.h"

#include <cstdlib>

namespace glintora {

namespace {

// |now - then| of a wrapping 32-bit tick count: the short way round.
std::int64_t TickDistance(std::uint32_t now, std::uint32_t then) {
  const auto diff = static_cast<std::int32_t>(now - then);
  return std::llabs(static_cast<std::int64_t>(diff));
}

}  // namespace

bool WaitForDelay(FrameHost& host, RunState& run, std::uint32_t timerStart, std::int32_t delayMs) {
  for (;;) {
    host.ProcessPendingEvents();
    if (run.StopRequested) return true;
    const std::int64_t elapsed = TickDistance(host.TickCount(), timerStart);
    if (elapsed >= delayMs) return false;
    host.WaitForEvent(static_cast<std::uint32_t>(delayMs - elapsed));
  }
}

void BriefYield(FrameHost& host, RunState& run) {
  run.FirstYieldDone = true;
  const std::uint32_t noted = host.TickCount();
  for (;;) {
    host.ProcessPendingEvents();
    if (TickDistance(host.TickCount(), noted) >= 1) return;
    host.WaitForEvent(1);
  }
}

}  // namespace glintora
