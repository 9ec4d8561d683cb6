// The idle watcher's cycle: the compositor reports idle after the timeout, the saver runs until
// its input rule ends it, then the watcher waits for the next idle report. The compositor reports
// activity before the input event that caused it: the activity that ends a saver arrives while
// the saver still runs, so nothing may hold back the next idle report once the saver has ended.
// An idle report repeated without activity between (some compositors resend it) starts nothing.
// Portable: the host feeds in the events.
#pragma once

namespace glintora {

class IdleCycle {
 public:
  enum class State { Watching, Saving };

  // The compositor says the seat went idle; true when the saver must start now.
  bool OnIdled();
  // The compositor saw activity since its last idle report.
  void OnResumed() { resumed_ = true; }
  // The saver's input rule (or the compositor closing it) ended the saver.
  void OnSaverEnded() { state_ = State::Watching; }

  State Now() const { return state_; }

 private:
  State state_ = State::Watching;
  bool resumed_ = true;  // the first report needs no activity before it
};

}  // namespace glintora
