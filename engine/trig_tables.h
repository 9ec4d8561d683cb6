// The sine and cosine tables of the engine: 1001 entries covering 0 to pi, copied once at program
// start and read by the velocity generators.
#pragma once

#include <array>

namespace glintora {

inline constexpr int kTrigSteps = 1000;  // entries 0..1000

struct TrigTables {
  std::array<float, kTrigSteps + 1> Cos{};  // cos(k * pi / 1000), pi taken as the float 3.1415927
  std::array<float, kTrigSteps + 1> Sin{};
};

void BuildTrigTables(TrigTables& tables);

}  // namespace glintora
