// Battery or mains from the kernel's power supplies, as sysfs spells them (with newlines).
#include "display/power_source.h"

#include <gtest/gtest.h>

namespace glintora {
namespace {

TEST(PowerSource, OnBatteryOnlyWhenEveryMainsSupplyIsOffline) {
  const PowerSupplyText mainsOn{"Mains\n", "1\n"}, mainsOff{"Mains\n", "0\n"};
  const PowerSupplyText battery{"Battery\n", ""}, usbOff{"USB\n", "0\n"};
  const struct { const char* name; std::vector<PowerSupplyText> supplies; bool onBattery; } rows[] = {
      {"a laptop unplugged", {battery, mainsOff}, true}, {"a laptop plugged in", {mainsOn, battery}, false},
      {"two mains, one plugged", {mainsOff, mainsOn}, false},
      {"two mains, neither plugged", {mainsOff, {"Mains", "0"}}, true},
      {"a desktop lists nothing", {}, false}, {"a battery alone", {battery}, false},
      // A USB supply offline is a port with nothing in it, not the mains.
      {"a USB port", {usbOff}, false}, {"mains without a readable state", {{"Mains\n", ""}}, false}};
  for (const auto& row : rows) EXPECT_EQ(OnBatteryBySupplies(row.supplies), row.onBattery) << row.name;
}

}  // namespace
}  // namespace glintora
