#include "platform/posix/stop_signals.h"

#include <csignal>

namespace glintora::posix {

namespace {

// A signal handler takes no context, so this flag is the one global of the program.
volatile std::sig_atomic_t g_stopSignal = 0;

void OnStopSignal(int) { g_stopSignal = 1; }

}  // namespace

void InstallStopSignals() {
  struct sigaction sa {};
  sa.sa_handler = OnStopSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
}

bool StopSignalled() { return g_stopSignal != 0; }

}  // namespace glintora::posix
