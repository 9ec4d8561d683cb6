// The idle watcher's cycle: the compositor reports idle after the timeout, the saver runs until
// its input rule ends it, then the watcher waits for the next idle report. The compositor reports
// activity before the input event that caused it: the activity that ends a saver arrives while
// the saver still runs, so nothing may hold back the next idle report once the saver has ended.
// An idle report repeated without activity between (some compositors resend it) starts nothing.
//
// GNOME's idle monitor counts input only and knows nothing of idle inhibitors, so there each idle
// report is first put to the session ("is idleness inhibited?"). Its idle watch fires once per
// stretch of idleness: an inhibited report is followed, a while later, by the watch made anew,
// which fires at once while the seat is still idle; so an inhibitor lifted during one long idle
// stretch (the film ended, nobody touched anything) still lets the saver start.
// Portable: the host feeds in the events.
#pragma once

namespace glintora {

// Where idle reports come from, best first: the standard protocol and KDE's (both honour
// inhibitors), then GNOME's idle monitor on the session bus.
enum class IdleSource { ExtIdleNotify, KdeIdle, MutterIdleMonitor, None };

struct IdleOffers {
  bool seat = false;           // the protocols watch a seat
  bool extIdleNotify = false;
  bool kdeIdle = false;
  bool mutterIdleMonitor = false;
};

IdleSource ChooseIdleSource(const IdleOffers& offers);

// How long an inhibited idle report waits before the idle watch is made again.
constexpr int kInhibitedRecheckMs = 10000;

class IdleCycle {
 public:
  enum class State { Watching, Asking, Inhibited, Saving };
  enum class Next { Nothing, StartSaver, AskSession, RecheckLater };

  // asksSession: the idle source ignores inhibitors, so each report is checked first.
  explicit IdleCycle(bool asksSession = false) : asksSession_(asksSession) {}

  // The seat went idle. An idle report during the saver (after a few stray moves) or while the
  // session is being asked changes nothing.
  Next OnIdled();
  // The session's answer to AskSession; no answer (no session manager) counts as not inhibited.
  Next OnInhibitedAnswer(bool inhibited);
  // RecheckLater's time came: true when the idle watch must be made again.
  bool OnRecheckDue();
  // The compositor saw activity since its last idle report.
  void OnResumed() { resumed_ = true; }
  // The saver's input rule (or the compositor closing it) ended the saver.
  void OnSaverEnded() { state_ = State::Watching; }

  State Now() const { return state_; }

 private:
  bool asksSession_;
  State state_ = State::Watching;
  bool resumed_ = true;  // the first report needs no activity before it (GNOME's: none ever)
};

}  // namespace glintora
