// A child process of the test: its own arguments and environment, its output collected, always
// ended (killed at the latest when the object goes) so no test can hang.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace glintora::testing {

// How long a test waits for what must happen. Only a failing test waits this long, so it is
// generous: a loaded machine may take seconds to start a program or draw its first frame.
inline constexpr double kPatience = 30.0;

double Now();  // seconds of a monotonic clock
void SleepSeconds(double seconds);

// Polls done() until it holds or seconds have passed.
template <typename Done>
bool WaitUntil(double seconds, Done done) {
  for (const double end = Now() + seconds;; SleepSeconds(0.005)) {
    if (done()) return true;
    if (Now() > end) return false;
  }
}

class ChildProcess {
 public:
  // env entries "NAME=value" set NAME, "NAME=" unsets it.
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::vector<std::string>& env = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  bool Running();
  // Waits up to seconds for the end; true with its exit code (128 + signal when killed).
  bool WaitExit(double seconds, int& code);
  // Waits up to seconds until stdout holds text.
  bool WaitForOutput(const std::string& text, double seconds);
  const std::string& Out() { Drain(); return out_; }
  const std::string& Err() { Drain(); return err_; }

 private:
  void Drain();

  pid_t pid_ = -1;
  int outFd_ = -1, errFd_ = -1;
  bool reaped_ = false;
  int code_ = -1;
  std::string out_, err_;
};

}  // namespace glintora::testing
