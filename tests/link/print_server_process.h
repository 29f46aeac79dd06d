#pragma once
// Runs the demo print server for a test: its port from the first output line, its later
// output lines, its exit status. A server still running when the test ends is stopped.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace quillon::test {

class PrintServerProcess {
 public:
  static std::string Binary() { return std::string(QUILLON_BINARY_DIR) + "/tools/print-server"; }

  explicit PrintServerProcess(const std::vector<std::string>& args) {
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> all = {Binary()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    argv.reserve(all.size() + 1);
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    out_ = out[0];
    const std::string first = NextLine(5000);
    if (first.rfind("PORT ", 0) == 0) port_ = std::stoi(first.substr(5));
  }

  ~PrintServerProcess() {
    if (pid_ > 0 && status_ < 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
  }

  int port() const { return port_; }

  // The next output line, or "" when none came within `timeout_ms`.
  std::string NextLine(int timeout_ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
      const auto newline = pending_.find('\n');
      if (newline != std::string::npos) {
        std::string line = pending_.substr(0, newline);
        pending_.erase(0, newline + 1);
        return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            until - std::chrono::steady_clock::now())
                            .count();
      pollfd entry{out_, POLLIN, 0};
      if (left <= 0 || poll(&entry, 1, static_cast<int>(left)) <= 0) return "";
      char bytes[512];
      const ssize_t count = read(out_, bytes, sizeof bytes);
      if (count <= 0) return "";
      pending_.append(bytes, static_cast<std::size_t>(count));
    }
  }

  // The exit status, or -1 while it runs; `wait_ms` is how long to wait for the end.
  int ExitStatus(int wait_ms = 0) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait_ms);
    while (status_ < 0 && pid_ > 0) {
      int raw = 0;
      if (waitpid(pid_, &raw, WNOHANG) == pid_) {
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
      } else if (std::chrono::steady_clock::now() >= until) {
        break;
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  int port_ = 0;
  int status_ = -1;
  std::string pending_;
};

}  // namespace quillon::test
