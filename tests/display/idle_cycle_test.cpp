// The idle watcher as the compositor drives it: activity is reported before the input event that
// caused it, so the key ending a saver comes after the saver already heard of the activity. On
// GNOME each idle report is put to the session first.
#include "display/idle_cycle.h"

#include <gtest/gtest.h>

namespace glintora {
namespace {

using Next = IdleCycle::Next;
using State = IdleCycle::State;

TEST(IdleCycle, OneSaverPerIdleReportAfterActivity) {
  IdleCycle cycle;
  EXPECT_EQ(cycle.OnIdled(), Next::StartSaver);
  // Three stray moves (activity), then quiet: the next idle report finds the saver running.
  cycle.OnResumed();
  EXPECT_EQ(cycle.OnIdled(), Next::Nothing);
  // The key's activity, then the key ends it; the next report after another timeout brings it back.
  cycle.OnResumed();
  cycle.OnSaverEnded();
  EXPECT_EQ(cycle.Now(), State::Watching);
  EXPECT_EQ(cycle.OnIdled(), Next::StartSaver);
  // A compositor repeating the report without activity neither stacks nor restarts the saver.
  EXPECT_EQ(cycle.OnIdled(), Next::Nothing);
  cycle.OnSaverEnded();
  EXPECT_EQ(cycle.OnIdled(), Next::Nothing);
  cycle.OnResumed();
  EXPECT_EQ(cycle.OnIdled(), Next::StartSaver);
  // The protocols honour inhibitors themselves: nothing is asked or rechecked.
  EXPECT_EQ(cycle.OnInhibitedAnswer(false), Next::Nothing);
  EXPECT_FALSE(cycle.OnRecheckDue());
}

TEST(IdleCycle, GnomeAsksTheSessionAndTriesAgainWhileInhibited) {
  IdleCycle cycle(true);
  EXPECT_EQ(cycle.OnIdled(), Next::AskSession);
  // A second report while the question is open asks nothing more.
  EXPECT_EQ(cycle.OnIdled(), Next::Nothing);
  EXPECT_EQ(cycle.OnInhibitedAnswer(true), Next::RecheckLater);
  EXPECT_EQ(cycle.Now(), State::Inhibited);
  // A late second answer starts nothing.
  EXPECT_EQ(cycle.OnInhibitedAnswer(false), Next::Nothing);
  // Later the watch is made again; still idle, it fires at once and the session is asked anew.
  EXPECT_TRUE(cycle.OnRecheckDue());
  EXPECT_FALSE(cycle.OnRecheckDue());
  EXPECT_EQ(cycle.OnIdled(), Next::AskSession);
  // The film ended: the saver starts within the same idle stretch.
  EXPECT_EQ(cycle.OnInhibitedAnswer(false), Next::StartSaver);
  EXPECT_EQ(cycle.OnIdled(), Next::Nothing);
  EXPECT_FALSE(cycle.OnRecheckDue());
  cycle.OnSaverEnded();
  // Inhibited, then the user came back and went idle again before the recheck: that report asks,
  // and the recheck falling due meanwhile makes no second watch.
  EXPECT_EQ(cycle.OnIdled(), Next::AskSession);
  EXPECT_EQ(cycle.OnInhibitedAnswer(true), Next::RecheckLater);
  EXPECT_EQ(cycle.OnIdled(), Next::AskSession);
  EXPECT_FALSE(cycle.OnRecheckDue());
  EXPECT_EQ(cycle.OnInhibitedAnswer(false), Next::StartSaver);
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

}  // namespace
}  // namespace glintora
