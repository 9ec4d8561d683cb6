// The idle watcher on GNOME, where the compositor offers no idle protocol: Mutter's idle monitor
// on the session bus fires a watch after so long without input, GNOME's session says whether
// idleness is inhibited, and the cycle decides (display/idle_cycle.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include <systemd/sd-bus.h>

#include "display/idle_cycle.h"
#include "platform/posix/bus_loop.h"
#include "platform/posix/gnome_session.h"

namespace glintora::posix {

class MutterIdleWatch : public LoopSource {
 public:
  // The session bus, if Mutter's idle monitor is on it; null otherwise.
  static sd_bus* OpenSessionBusWithMonitor();

  // Takes the bus. startSaver runs when the cycle says so.
  MutterIdleWatch(sd_bus* bus, std::uint32_t idleMs, IdleCycle& cycle, std::function<void()> startSaver);
  ~MutterIdleWatch() override;
  MutterIdleWatch(const MutterIdleWatch&) = delete;
  MutterIdleWatch& operator=(const MutterIdleWatch&) = delete;

  // False when the monitor refused the watch.
  bool Start();

  pollfd PollFd() const override { return BusPollFd(bus_); }
  int TimeoutMs() const override;
  bool Process() override;

 private:
  static int OnWatchFired(sd_bus_message* message, void* data, sd_bus_error* error);
  bool AddWatch();
  void Follow(IdleCycle::Next next);

  sd_bus* bus_;
  std::uint32_t idleMs_;
  IdleCycle& cycle_;
  std::function<void()> startSaver_;
  GnomeSession session_;
  sd_bus_slot* match_ = nullptr;
  std::uint32_t watch_ = 0;
  std::uint64_t recheckAtUs_ = 0;  // 0: none
};

}  // namespace glintora::posix
