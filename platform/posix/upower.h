// UPower on the system bus: whether the machine runs on battery, and each change of it.
#pragma once

#include <systemd/sd-bus.h>

namespace glintora::posix {

class UPower {
 public:
  UPower() = default;
  ~UPower();
  UPower(const UPower&) = delete;
  UPower& operator=(const UPower&) = delete;

  // Reads OnBattery and follows its changes; false where the system bus or UPower is missing.
  bool Open();
  bool OnBattery() const { return onBattery_; }
  sd_bus* Bus() const { return bus_; }

 private:
  static int OnPropertiesChanged(sd_bus_message* message, void* data, sd_bus_error* error);
  bool Read();

  sd_bus* bus_ = nullptr;
  sd_bus_slot* match_ = nullptr;
  bool onBattery_ = false;
};

}  // namespace glintora::posix
