#include "platform/posix/upower.h"

#include <systemd/sd-bus.h>

#include <cstring>

namespace glintora::posix {

namespace {

const char kService[] = "org.freedesktop.UPower";
const char kPath[] = "/org/freedesktop/UPower";

}  // namespace

UPower::~UPower() {
  sd_bus_slot_unref(match_);
  sd_bus_flush_close_unref(bus_);
}

bool UPower::Open() {
  if (sd_bus_open_system(&bus_) < 0) {
    bus_ = nullptr;
    return false;
  }
  // Subscribed before the first read, so no change falls between the two.
  if (sd_bus_match_signal(bus_, &match_, kService, kPath, "org.freedesktop.DBus.Properties",
                          "PropertiesChanged", &UPower::OnPropertiesChanged, this) < 0 ||
      !Read()) {
    match_ = sd_bus_slot_unref(match_);
    bus_ = sd_bus_flush_close_unref(bus_);
    return false;
  }
  return true;
}

bool UPower::Read() {
  int value = 0;
  if (sd_bus_get_property_trivial(bus_, kService, kPath, kService, "OnBattery", nullptr, 'b', &value) < 0)
    return false;
  onBattery_ = value != 0;
  return true;
}

// PropertiesChanged(s interface, a{sv} changed, as invalidated).
int UPower::OnPropertiesChanged(sd_bus_message* m, void* data, sd_bus_error*) {
  auto* self = static_cast<UPower*>(data);
  const char* interface = nullptr;
  if (sd_bus_message_read(m, "s", &interface) < 0 || std::strcmp(interface, kService) != 0) return 0;
  if (sd_bus_message_enter_container(m, 'a', "{sv}") < 0) return 0;
  while (sd_bus_message_enter_container(m, 'e', "sv") > 0) {
    const char* name = nullptr;
    int value = 0;
    if (sd_bus_message_read(m, "s", &name) < 0) return 0;
    if (std::strcmp(name, "OnBattery") == 0) {
      if (sd_bus_message_read(m, "v", "b", &value) < 0) return 0;
      self->onBattery_ = value != 0;
    } else if (sd_bus_message_skip(m, "v") < 0) {
      return 0;
    }
    if (sd_bus_message_exit_container(m) < 0) return 0;
  }
  if (sd_bus_message_exit_container(m) < 0) return 0;
  // Named as changed without its value: read it.
  const char* invalidated = nullptr;
  if (sd_bus_message_enter_container(m, 'a', "s") < 0) return 0;
  while (sd_bus_message_read(m, "s", &invalidated) > 0)
    if (std::strcmp(invalidated, "OnBattery") == 0) self->Read();
  return 0;
}

}  // namespace glintora::posix
