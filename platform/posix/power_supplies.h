// The kernel's list of power supplies (/sys/class/power_supply), read for the battery rule in
// display/power_source.h.
#pragma once

#include <vector>

#include "display/power_source.h"

namespace glintora::posix {

std::vector<PowerSupplyText> ReadPowerSupplies();

}  // namespace glintora::posix
