// The idle watcher as the compositor drives it: activity is reported before the input event that
// caused it, so the key ending a saver comes after the saver already heard of the activity. On
// GNOME each idle report is put to the session first. Moves close a full-screen saver by the
// fourth-move rule.
#include "display/idle_cycle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/saver_input.h"

namespace glintora {
namespace {

using State = IdleCycle::State;

// Plays events on the cycle: i an idle report, r activity, e the saver ended, y/n the session's
// answer to "inhibited?", c the recheck falling due. Each report and answer adds what it asks for
// (S start the saver, A ask the session, L recheck later, . nothing); each recheck adds W when it
// makes the watch again, else '.'.
std::string Play(IdleCycle& cycle, const char* events) {
  std::string out;
  for (const char* e = events; *e; ++e) {
    IdleCycle::Next next = IdleCycle::Next::Nothing;
    switch (*e) {
      case 'r': cycle.OnResumed(); continue;
      case 'e': cycle.OnSaverEnded(); continue;
      case 'c': out += cycle.OnRecheckDue() ? 'W' : '.'; continue;
      case 'i': next = cycle.OnIdled(); break;
      default: next = cycle.OnInhibitedAnswer(*e == 'y');
    }
    out += "SAL."[next == IdleCycle::Next::StartSaver ? 0 : next == IdleCycle::Next::AskSession ? 1
                  : next == IdleCycle::Next::RecheckLater ? 2 : 3];
  }
  return out;
}

TEST(IdleCycle, OneSaverPerIdleReportAfterActivity) {
  IdleCycle cycle;
  // Stray moves, then quiet: the next report finds the saver running. The key's activity, then
  // the key ends it.
  EXPECT_EQ(Play(cycle, "irire"), "S.");
  EXPECT_EQ(cycle.Now(), State::Watching);
  // After another timeout it comes back; a compositor repeating the report without activity
  // neither stacks nor restarts it. The protocols honour inhibitors themselves: nothing is asked
  // or rechecked.
  EXPECT_EQ(Play(cycle, "iieirinc"), "S..S..");
}

TEST(IdleCycle, GnomeAsksTheSessionAndTriesAgainWhileInhibited) {
  IdleCycle cycle(true);
  // A second report while the question is open asks nothing more.
  EXPECT_EQ(Play(cycle, "iiy"), "A.L");
  EXPECT_EQ(cycle.Now(), State::Inhibited);
  // A late second answer starts nothing. Later the watch is made again; still idle, it fires at
  // once and the session is asked anew. The film ended: the saver starts within the same idle
  // stretch. Then inhibited, the user came back and went idle before the recheck: that report
  // asks, and the recheck falling due meanwhile makes no second watch.
  EXPECT_EQ(Play(cycle, "nccinice" "iyicn"), ".W.AS.." "ALA.S");
}

TEST(IdleCycle, ProtocolsBeforeGnomesMonitorAndOnlyWithASeat) {
  const struct { IdleOffers offers; IdleSource source; } rows[] = {
      {{true, true, true, true}, IdleSource::ExtIdleNotify},
      {{true, false, true, true}, IdleSource::KdeIdle},
      {{true, false, false, true}, IdleSource::MutterIdleMonitor},
      // Without a seat the protocols watch nothing; GNOME's monitor needs none.
      {{false, true, true, false}, IdleSource::None},
      {{false, true, true, true}, IdleSource::MutterIdleMonitor},
      {{true, false, false, false}, IdleSource::None},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.offers.seat << row.offers.extIdleNotify << row.offers.kdeIdle
                                      << row.offers.mutterIdleMonitor);
    EXPECT_EQ(ChooseIdleSource(row.offers), row.source);
  }
}

// Each row: the stored Adv_MouseMove, the moves' times of day in seconds, and which of them
// close the saver ('x').
TEST(SaverInput, FourthMoveWithinTenSecondsClosesUnlessMovesAreIgnored) {
  const struct { const char* mouseMove; std::vector<double> times; const char* closes; } rows[] = {
      {"0", {1000.2, 1003.0, 1009.9, 1010.0}, "...x"},
      // The late fourth is counted and discarded with the window; counting starts over.
      {"0", {500.0, 500.1, 500.2, 510.5, 511.0, 511.1, 511.2, 511.3}, ".......x"},
      // The window opens at 86398 (half to even), so 86408.6 is late.
      {"0", {86398.5, 86398.6, 86398.7, 86408.6}, "...."},
      // Past midnight the difference is negative and keeps the window open.
      {"0", {86398.5, 86399.9, 0.4, 1.0}, "...x"},
      {"1", {100.0, 100.1, 100.2, 100.3, 100.4, 100.5}, "......"},
      // Only exactly "1" ignores moves.
      {"1.0", {1, 2, 3, 4}, "...x"}, {" 1", {1, 2, 3, 4}, "...x"}, {nullptr, {1, 2, 3, 4}, "...x"}};
  for (const auto& row : rows) {
    SaverInput input(IgnoresMouseMoves(row.mouseMove));
    std::string closes;
    for (double t : row.times) closes += input.OnMouseMove(t) ? 'x' : '.';
    EXPECT_EQ(closes, row.closes) << (row.mouseMove ? row.mouseMove : "null") << " " << row.times[0];
  }
}

}  // namespace
}  // namespace glintora
