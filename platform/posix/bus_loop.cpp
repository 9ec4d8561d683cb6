#include "platform/posix/bus_loop.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cstdint>

#include "platform/posix/clocks.h"

namespace glintora::posix {

pollfd BusPollFd(sd_bus* bus) {
  const int events = sd_bus_get_events(bus);
  return pollfd{sd_bus_get_fd(bus), static_cast<short>(events < 0 ? 0 : events), 0};
}

int MsUntil(std::uint64_t deadlineUs) {
  const std::uint64_t now = MonotonicMicros();
  if (deadlineUs <= now) return 0;
  return static_cast<int>(std::min<std::uint64_t>((deadlineUs - now + 999) / 1000, 1u << 30));
}

int BusTimeoutMs(sd_bus* bus) {
  std::uint64_t usec = UINT64_MAX;
  if (sd_bus_get_timeout(bus, &usec) < 0 || usec == UINT64_MAX) return -1;
  return MsUntil(usec);
}

bool ProcessBus(sd_bus* bus) {
  int r;
  while ((r = sd_bus_process(bus, nullptr)) > 0) {
  }
  return r >= 0;
}

bool NameHasOwner(sd_bus* bus, const char* name) {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  int owned = 0;
  if (sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                         "NameHasOwner", &error, &reply, "s", name) < 0 ||
      sd_bus_message_read(reply, "b", &owned) < 0)
    owned = 0;
  sd_bus_error_free(&error);
  sd_bus_message_unref(reply);
  return owned != 0;
}

}  // namespace glintora::posix
