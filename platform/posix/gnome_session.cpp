#include "platform/posix/gnome_session.h"

#include <systemd/sd-bus.h>

#include <cstdint>
#include <utility>

namespace glintora::posix {

namespace {

constexpr std::uint32_t kInhibitIdle = 8;
constexpr std::uint64_t kAnswerTimeoutUs = 5 * 1000 * 1000;

}  // namespace

GnomeSession::~GnomeSession() { sd_bus_slot_unref(pending_); }

void GnomeSession::AskIdleInhibited(std::function<void(bool)> answer) {
  pending_ = sd_bus_slot_unref(pending_);
  answer_ = std::move(answer);
  sd_bus_message* call = nullptr;
  // Asking must not start a session manager that is not running.
  if (sd_bus_message_new_method_call(bus_, &call, "org.gnome.SessionManager", "/org/gnome/SessionManager",
                                     "org.gnome.SessionManager", "IsInhibited") < 0 ||
      sd_bus_message_set_auto_start(call, 0) < 0 || sd_bus_message_append(call, "u", kInhibitIdle) < 0 ||
      sd_bus_call_async(bus_, &pending_, call, &GnomeSession::OnReply, this, kAnswerTimeoutUs) < 0) {
    sd_bus_message_unref(call);
    pending_ = nullptr;
    answer_(false);
    return;
  }
  sd_bus_message_unref(call);
}

int GnomeSession::OnReply(sd_bus_message* reply, void* data, sd_bus_error*) {
  auto* self = static_cast<GnomeSession*>(data);
  int inhibited = 0;
  if (sd_bus_message_is_method_error(reply, nullptr) || sd_bus_message_read(reply, "b", &inhibited) < 0)
    inhibited = 0;
  self->pending_ = sd_bus_slot_unref(self->pending_);
  // The answer may ask again: take it out first.
  auto answer = std::move(self->answer_);
  answer(inhibited != 0);
  return 0;
}

}  // namespace glintora::posix
