// The benchmark scenarios: settings for a show at a surface size, each run the way StartShow
// would run it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings_record.h"

namespace glintora {

struct Scenario {
  std::string name;
  std::int32_t width;
  std::int32_t height;
  SettingsRecord settings;  // loaded, before StartShow's clamps
};

// Factory defaults at 1920x1080, theme 13, and the single-kind stress shows.
std::vector<Scenario> BenchScenarios();

}  // namespace glintora
