// Starting a firework in a slot (a rocket first, or one of the burst kinds with its velocities
// and colours) and the rocket's flight.
#pragma once

#include <cstdint>

#include "engine/show_state.h"

namespace glintora {

// (Re)starts slot i. With Kind 0 (a rocket that arrived) it bursts where the rocket is.
void CreateFirework(ShowState& st, std::int32_t i);

// The warp mode, pattern index and (when wanted) burst size of a new burst.
struct Warp {
  std::int16_t Mode = 0;
  std::int16_t Pattern = 0;
};
Warp RollWarp(ShowState& st);

// One frame of a rocket (Kind 0).
void UpdateLaunch(ShowState& st, std::int32_t i);

// A group size of leaders per burst: never below 1, so leader loops always advance.
std::int16_t LeaderGroup(std::int16_t sparks, std::int16_t leaders);

}  // namespace glintora
