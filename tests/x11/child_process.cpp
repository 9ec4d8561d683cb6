#include "tests/x11/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace glintora::testing {

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SleepSeconds(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& env) {
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {out[0], out[1], err[0], err[1]}) close(fd);
    for (const std::string& e : env) {
      const auto eq = e.find('=');
      const std::string name = e.substr(0, eq);
      if (eq + 1 == e.size()) unsetenv(name.c_str());
      else setenv(name.c_str(), e.substr(eq + 1).c_str(), 1);
    }
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
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
  if (Running()) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (outFd_ >= 0) close(outFd_);
  if (errFd_ >= 0) close(errFd_);
}

void ChildProcess::Drain() {
  char buf[4096];
  ssize_t n;
  while (outFd_ >= 0 && (n = read(outFd_, buf, sizeof buf)) > 0) out_.append(buf, n);
  while (errFd_ >= 0 && (n = read(errFd_, buf, sizeof buf)) > 0) err_.append(buf, n);
}

bool ChildProcess::Running() {
  if (pid_ <= 0 || reaped_) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
  reaped_ = true;
  code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return false;
}

bool ChildProcess::WaitExit(double seconds, int& code) {
  // Drained meanwhile, so a child that writes much never blocks on a full pipe.
  const bool ended = WaitUntil(seconds, [&] { return Drain(), !Running(); });
  code = code_;
  return ended && reaped_;
}

bool ChildProcess::WaitForOutput(const std::string& text, double seconds) {
  WaitUntil(seconds, [&] {
    Drain();
    return out_.find(text) != std::string::npos || !Running();
  });
  return Out().find(text) != std::string::npos;
}

}  // namespace glintora::testing
