#include "platform/posix/mutter_idle_watch.h"

#include <systemd/sd-bus.h>

#include <cstdio>
#include <utility>

#include "platform/posix/clocks.h"

namespace glintora::posix {

namespace {

const char kService[] = "org.gnome.Mutter.IdleMonitor";
const char kPath[] = "/org/gnome/Mutter/IdleMonitor/Core";
const char kInterface[] = "org.gnome.Mutter.IdleMonitor";

}  // namespace

sd_bus* MutterIdleWatch::OpenSessionBusWithMonitor() {
  sd_bus* bus = nullptr;
  if (sd_bus_open_user(&bus) < 0) return nullptr;
  if (!NameHasOwner(bus, kService)) return sd_bus_flush_close_unref(bus);
  return bus;
}

MutterIdleWatch::MutterIdleWatch(sd_bus* bus, std::uint32_t idleMs, IdleCycle& cycle,
                                 std::function<void()> startSaver)
    : bus_(bus), idleMs_(idleMs), cycle_(cycle), startSaver_(std::move(startSaver)), session_(bus) {}

MutterIdleWatch::~MutterIdleWatch() {
  sd_bus_slot_unref(match_);
  // The monitor drops a watch when its client leaves the bus anyway.
  sd_bus_flush_close_unref(bus_);
}

bool MutterIdleWatch::Start() {
  return sd_bus_match_signal(bus_, &match_, kService, kPath, kInterface, "WatchFired",
                             &MutterIdleWatch::OnWatchFired, this) >= 0 &&
         AddWatch();
}

// A watch made while the seat has been idle longer than its interval fires at once.
bool MutterIdleWatch::AddWatch() {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  if (watch_)
    sd_bus_call_method(bus_, kService, kPath, kInterface, "RemoveWatch", nullptr, nullptr, "u", watch_);
  watch_ = 0;
  const bool ok = sd_bus_call_method(bus_, kService, kPath, kInterface, "AddIdleWatch", &error, &reply, "t",
                                     static_cast<std::uint64_t>(idleMs_)) >= 0 &&
                  sd_bus_message_read(reply, "u", &watch_) >= 0;
  if (!ok) std::fprintf(stderr, "glintora: the idle monitor refused a watch: %s\n",
                        error.message ? error.message : "no answer");
  sd_bus_error_free(&error);
  sd_bus_message_unref(reply);
  return ok;
}

int MutterIdleWatch::OnWatchFired(sd_bus_message* message, void* data, sd_bus_error*) {
  auto* self = static_cast<MutterIdleWatch*>(data);
  std::uint32_t id = 0;
  if (sd_bus_message_read(message, "u", &id) >= 0 && id && id == self->watch_) self->Follow(self->cycle_.OnIdled());
  return 0;
}

void MutterIdleWatch::Follow(IdleCycle::Next next) {
  switch (next) {
    case IdleCycle::Next::StartSaver:
      startSaver_();
      break;
    case IdleCycle::Next::AskSession:
      session_.AskIdleInhibited([this](bool inhibited) { Follow(cycle_.OnInhibitedAnswer(inhibited)); });
      break;
    case IdleCycle::Next::RecheckLater:
      recheckAtUs_ = MonotonicMicros() + kInhibitedRecheckMs * 1000ull;
      break;
    case IdleCycle::Next::Nothing:
      break;
  }
}

int MutterIdleWatch::TimeoutMs() const {
  const int bus = BusTimeoutMs(bus_);
  if (!recheckAtUs_) return bus;
  const int recheck = MsUntil(recheckAtUs_);
  return bus < 0 || recheck < bus ? recheck : bus;
}

bool MutterIdleWatch::Process() {
  if (!ProcessBus(bus_)) return false;
  if (recheckAtUs_ && MsUntil(recheckAtUs_) == 0) {
    recheckAtUs_ = 0;
    if (cycle_.OnRecheckDue() && !AddWatch()) return false;
  }
  return true;
}

}  // namespace glintora::posix
