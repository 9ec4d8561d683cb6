// Whether the machine runs on battery, from what the kernel lists of its power supplies, and
// what that means for the wallpaper: it pauses on battery unless told not to (the saver always
// runs). Portable: the host reads each supply's `type` and `online` texts.
#pragma once

#include <string>
#include <vector>

namespace glintora {

struct PowerSupplyText {
  std::string type;    // "Mains", "Battery", "USB", ... as read, perhaps with a newline
  std::string online;  // "1" or "0" as read; empty when it could not be read
};

// On battery: there is a mains supply and each one says it is offline. A machine with no mains
// supply listed (a desktop, a virtual machine) never is; nor is one whose mains cannot be read.
bool OnBatteryBySupplies(const std::vector<PowerSupplyText>& supplies);

// How often the supplies are read where no power service reports changes.
constexpr int kPowerSupplyCheckMs = 5000;

}  // namespace glintora
