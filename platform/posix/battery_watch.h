// Whether the machine runs on battery, as the wallpaper's loop follows it: UPower's changes where
// UPower runs on the system bus, otherwise the kernel's power supplies read every few seconds.
#pragma once

#include <cstdint>

#include "platform/posix/bus_loop.h"
#include "platform/posix/upower.h"

namespace glintora::posix {

class BatteryWatch : public LoopSource {
 public:
  BatteryWatch();

  bool OnBattery() const { return upowered_ ? upower_.OnBattery() : suppliesOnBattery_; }
  // For -verbose.
  const char* SourceName() const { return upowered_ ? "UPower" : "the kernel's power supplies"; }

  pollfd PollFd() const override;
  int TimeoutMs() const override;
  bool Process() override;

 private:
  void ReadSupplies();

  UPower upower_;
  bool upowered_ = false;
  bool suppliesOnBattery_ = false;
  std::uint64_t nextReadUs_ = 0;
};

}  // namespace glintora::posix
