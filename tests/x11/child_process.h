// A child process of the test: started with its own arguments and environment, its output
// collected, always ended (killed after a timeout) so no test can hang.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace glintora::testing {

class ChildProcess {
 public:
  // Runs program with args; env entries ("NAME=value") are set, entries "NAME=" unset NAME.
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::vector<std::string>& env = {});
  ~ChildProcess();  // kills the child if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  bool Running();
  // Waits up to seconds for the child to end; true with its exit code (or 128+signal).
  bool WaitExit(double seconds, int& code);
  // Waits up to seconds until stdout holds text.
  bool WaitForOutput(const std::string& text, double seconds);
  void Kill();

  const std::string& Out() { Drain(); return out_; }
  const std::string& Err() { Drain(); return err_; }

 private:
  void Drain();

  pid_t pid_ = -1;
  int outFd_ = -1;
  int errFd_ = -1;
  bool reaped_ = false;
  int code_ = -1;
  std::string out_;
  std::string err_;
};

// Seconds of a monotonic clock.
double Now();
void SleepSeconds(double seconds);

}  // namespace glintora::testing
