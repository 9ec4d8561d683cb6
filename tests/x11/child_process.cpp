#include "tests/x11/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>

namespace glintora::testing {

double Now() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec + ts.tv_nsec * 1e-9;
}

void SleepSeconds(double seconds) {
  timespec ts{static_cast<time_t>(seconds), static_cast<long>((seconds - static_cast<time_t>(seconds)) * 1e9)};
  nanosleep(&ts, nullptr);
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& env) {
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    dup2(out[1], 1);
    dup2(err[1], 2);
    close(out[0]); close(out[1]); close(err[0]); close(err[1]);
    for (const std::string& e : env) {
      const auto eq = e.find('=');
      const std::string name = e.substr(0, eq);
      if (eq + 1 == e.size()) unsetenv(name.c_str());
      else setenv(name.c_str(), e.substr(eq + 1).c_str(), 1);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  outFd_ = out[0];
  errFd_ = err[0];
  fcntl(outFd_, F_SETFL, O_NONBLOCK);
  fcntl(errFd_, F_SETFL, O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
  Kill();
  if (outFd_ >= 0) close(outFd_);
  if (errFd_ >= 0) close(errFd_);
}

void ChildProcess::Drain() {
  char buf[4096];
  for (int* fd : {&outFd_, &errFd_}) {
    if (*fd < 0) continue;
    ssize_t n;
    while ((n = read(*fd, buf, sizeof buf)) > 0) (fd == &outFd_ ? out_ : err_).append(buf, n);
  }
}

bool ChildProcess::Running() {
  if (pid_ <= 0 || reaped_) return false;
  int status = 0;
  const pid_t r = waitpid(pid_, &status, WNOHANG);
  if (r == pid_) {
    reaped_ = true;
    code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
  }
  return true;
}

bool ChildProcess::WaitExit(double seconds, int& code) {
  const double end = Now() + seconds;
  while (Running()) {
    Drain();
    if (Now() > end) return false;
    SleepSeconds(0.005);
  }
  Drain();
  code = code_;
  return reaped_;
}

bool ChildProcess::WaitForOutput(const std::string& text, double seconds) {
  const double end = Now() + seconds;
  for (;;) {
    Drain();
    if (out_.find(text) != std::string::npos) return true;
    if (Now() > end || !Running()) {
      Drain();
      return out_.find(text) != std::string::npos;
    }
    SleepSeconds(0.005);
  }
}

void ChildProcess::Kill() {
  if (pid_ > 0 && Running()) {
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    reaped_ = true;
    code_ = 128 + SIGKILL;
  }
}

}  // namespace glintora::testing
