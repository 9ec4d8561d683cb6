// The clocks both Linux display hosts read.
#pragma once

#include <cstdint>

namespace glintora::posix {

// Local time of day in seconds with its fraction, for the saver's move rule.
double SecondsOfDay();

// Microseconds of a monotonic clock.
std::uint64_t MonotonicMicros();

}  // namespace glintora::posix
