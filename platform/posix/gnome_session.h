// GNOME's session manager on the session bus, asked whether idleness is inhibited (a film
// playing, a presentation). Where no session manager runs, nothing is.
#pragma once

#include <functional>

#include <systemd/sd-bus.h>

namespace glintora::posix {

class GnomeSession {
 public:
  explicit GnomeSession(sd_bus* bus) : bus_(bus) {}
  ~GnomeSession();
  GnomeSession(const GnomeSession&) = delete;
  GnomeSession& operator=(const GnomeSession&) = delete;

  // The answer comes from the loop's bus processing; a question still open is dropped.
  void AskIdleInhibited(std::function<void(bool inhibited)> answer);

 private:
  static int OnReply(sd_bus_message* reply, void* data, sd_bus_error* error);

  sd_bus* bus_;
  sd_bus_slot* pending_ = nullptr;
  std::function<void(bool)> answer_;
};

}  // namespace glintora::posix
