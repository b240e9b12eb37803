#pragma once
// A private virtual X server for one test program, and xdotool runs against
// it.  The server picks a free display number itself (-displayfd), so runs
// in parallel never collide; it is always stopped, even when a test fails.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

extern char** environ;

namespace zel::sys::test {

// True when an executable of that name is on PATH.
inline bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string candidate = dirs.substr(start, end - start) + "/" + program;
    if (::access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// Starts a program with its output sent to /dev/null, and keepFd (when
// given) as its descriptor 3; returns its process id, or -1.
inline pid_t Spawn(const std::vector<std::string>& args, int keepFd = -1) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  if (keepFd >= 0) posix_spawn_file_actions_adddup2(&actions, keepFd, 3);
  std::vector<char*> argv;
  for (const std::string& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Waits up to timeoutMs for the process to end, calling idle in between;
// returns its exit status, or -1 after killing it when the time ran out.
inline int WaitForExit(pid_t pid, int timeoutMs, const std::function<void()>& idle = {}) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int status = 0;
    const pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (r < 0) return -1;
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    if (idle)
      idle();
    else
      ::usleep(5000);
  }
}

class XvfbSession {
public:
  XvfbSession() = default;
  XvfbSession(const XvfbSession&) = delete;
  XvfbSession& operator=(const XvfbSession&) = delete;
  ~XvfbSession() { Stop(); }

  // Starts the server and points DISPLAY at it; false with a reason.
  bool Start(int width, int height, std::string& error) {
    int fds[2];
    if (::pipe(fds) != 0) {
      error = "no pipe";
      return false;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid_ =
        Spawn({"Xvfb", "-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"},
              fds[1]);
    ::close(fds[1]);
    if (pid_ < 0) {
      ::close(fds[0]);
      error = "Xvfb could not be started";
      return false;
    }
    // The server writes its display number once it accepts connections.
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      if (::poll(&p, 1, 100) <= 0) continue;
      char buffer[32];
      const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
      if (n <= 0) break;
      number.append(buffer, size_t(n));
    }
    ::close(fds[0]);
    if (number.find('\n') == std::string::npos) {
      error = "Xvfb did not report a display within 10 s";
      Stop();
      return false;
    }
    display_ = ":" + number.substr(0, number.find('\n'));
    if (const char* previous = std::getenv("DISPLAY")) previousDisplay_ = previous;
    hadDisplay_ = std::getenv("DISPLAY") != nullptr;
    ::setenv("DISPLAY", display_.c_str(), 1);
    return true;
  }

  // Stops the server and gives DISPLAY back its earlier value.
  void Stop() {
    if (pid_ <= 0) return;
    if (!display_.empty()) {
      if (hadDisplay_)
        ::setenv("DISPLAY", previousDisplay_.c_str(), 1);
      else
        ::unsetenv("DISPLAY");
    }
    ::kill(pid_, SIGTERM);
    if (WaitForExit(pid_, 3000) == -1) ::kill(pid_, SIGKILL);
    pid_ = -1;
  }

  const std::string& display() const { return display_; }

private:
  pid_t pid_ = -1;
  std::string display_;
  std::string previousDisplay_;
  bool hadDisplay_ = false;
};

} // namespace zel::sys::test
