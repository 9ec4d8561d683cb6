// What the Wayland program's poll loop waits on beside the compositor (a D-Bus connection, a
// timer), and the few sd-bus steps every D-Bus client of the desktop's services shares.
#pragma once

#include <poll.h>

#include <cstdint>
#include <string>

struct sd_bus;

namespace glintora::posix {

class LoopSource {
 public:
  virtual ~LoopSource() = default;
  // The descriptor to wait on and for what; fd -1 when there is none.
  virtual pollfd PollFd() const = 0;
  // Milliseconds until Process() is due even if the descriptor stays quiet; -1: never.
  virtual int TimeoutMs() const = 0;
  // Handles whatever arrived or fell due, without blocking; false once it cannot work any more.
  virtual bool Process() = 0;
};

// A bus connection's share of the loop.
pollfd BusPollFd(sd_bus* bus);
int BusTimeoutMs(sd_bus* bus);
// Dispatches every queued message; false when the connection is lost.
bool ProcessBus(sd_bus* bus);

// Whether some client owns the name now (no activation).
bool NameHasOwner(sd_bus* bus, const char* name);

// Milliseconds from now until a monotonic deadline (microseconds), 0 when past.
int MsUntil(std::uint64_t deadlineUs);

}  // namespace glintora::posix
