#include "platform/posix/battery_watch.h"

#include "display/power_source.h"
#include "platform/posix/clocks.h"
#include "platform/posix/power_supplies.h"

namespace glintora::posix {

BatteryWatch::BatteryWatch() : upowered_(upower_.Open()) {
  if (!upowered_) ReadSupplies();
}

void BatteryWatch::ReadSupplies() {
  suppliesOnBattery_ = OnBatteryBySupplies(ReadPowerSupplies());
  nextReadUs_ = MonotonicMicros() + kPowerSupplyCheckMs * 1000ull;
}

pollfd BatteryWatch::PollFd() const {
  return upowered_ ? BusPollFd(upower_.Bus()) : pollfd{-1, 0, 0};
}

int BatteryWatch::TimeoutMs() const {
  return upowered_ ? BusTimeoutMs(upower_.Bus()) : MsUntil(nextReadUs_);
}

bool BatteryWatch::Process() {
  if (upowered_) {
    if (ProcessBus(upower_.Bus())) return true;
    // The system bus went (or UPower with it): the kernel still knows.
    upowered_ = false;
    ReadSupplies();
  } else if (MsUntil(nextReadUs_) == 0) {
    ReadSupplies();
  }
  return true;
}

}  // namespace glintora::posix
