// One line that names every value a show loaded (after the loaders' caps, radii in engine units),
// printed by the native program's -verbose so a run's settings can be checked from outside.
#pragma once

#include <string>

#include "settings/settings_record.h"

namespace glintora {

// "settings: FireWorks=12 FireSparks=1200 ... LockMessage=" (the message last, as it stands).
std::string SettingsReport(const SettingsRecord& r);

}  // namespace glintora
