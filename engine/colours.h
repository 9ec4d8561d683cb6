// Spark colours: one scheme per burst (dimmed copies of a wheel colour, a band of hues, or one
// solid colour) and the colour of each spark under it.
#pragma once

#include <cstdint>

#include "engine/show_state.h"

namespace glintora {

inline constexpr std::uint32_t kWhite = 0xFFFFFF;

std::uint32_t WheelColour(ShowState& st, std::uint32_t c, std::int32_t hue);
ColourScheme ChooseColourScheme(ShowState& st);
std::uint32_t SparkColour(ShowState& st, const ColourScheme& scheme);

}  // namespace glintora
