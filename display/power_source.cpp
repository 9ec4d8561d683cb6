#include "display/power_source.h"

namespace glintora {

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

bool OnBatteryBySupplies(const std::vector<PowerSupplyText>& supplies) {
  bool anyMains = false;
  for (const PowerSupplyText& s : supplies) {
    if (Trimmed(s.type) != "Mains") continue;
    anyMains = true;
    if (Trimmed(s.online) != "0") return false;
  }
  return anyMains;
}

}  // namespace glintora
