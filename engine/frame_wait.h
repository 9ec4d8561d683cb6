// The two waits in which the single thread handles window events while a show runs. Neither
// spins: between events they block in the host until the next event or the deadline.
#pragma once

#include <cstdint>

#include "engine/frame_host.h"
#include "startup/run_state.h"

namespace glintora {

// Handles events until delayMs have passed since timerStart (absolute difference of the wrapping
// tick count); true at once when an event raised StopRequested. delayMs <= 0 still handles the
// pending events once.
bool WaitForDelay(FrameHost& host, RunState& run, std::uint32_t timerStart, std::int32_t delayMs);

// Sets FirstYieldDone, then handles events until the tick count has moved on.
void BriefYield(FrameHost& host, RunState& run);

}  // namespace glintora
