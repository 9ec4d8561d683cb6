#include "display/idle_cycle.h"

namespace glintora {

IdleSource ChooseIdleSource(const IdleOffers& offers) {
  if (offers.seat && offers.extIdleNotify) return IdleSource::ExtIdleNotify;
  if (offers.seat && offers.kdeIdle) return IdleSource::KdeIdle;
  if (offers.mutterIdleMonitor) return IdleSource::MutterIdleMonitor;
  return IdleSource::None;
}

IdleCycle::Next IdleCycle::OnIdled() {
  // GNOME's watch fires once per idle stretch and sends no activity report, so each is fresh.
  const bool fresh = resumed_ || asksSession_;
  resumed_ = false;
  if (state_ == State::Saving || state_ == State::Asking || !fresh) return Next::Nothing;
  if (asksSession_) {
    state_ = State::Asking;
    return Next::AskSession;
  }
  state_ = State::Saving;
  return Next::StartSaver;
}

IdleCycle::Next IdleCycle::OnInhibitedAnswer(bool inhibited) {
  if (state_ != State::Asking) return Next::Nothing;
  state_ = inhibited ? State::Inhibited : State::Saving;
  return inhibited ? Next::RecheckLater : Next::StartSaver;
}

bool IdleCycle::OnRecheckDue() {
  if (state_ != State::Inhibited) return false;
  state_ = State::Watching;
  return true;
}

}  // namespace glintora
