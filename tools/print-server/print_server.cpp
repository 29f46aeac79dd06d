// Demo print server: plays the central server for demos and tests over loopback.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "job_schedule.h"
#include "loopback_listener.h"
#include "message_reader.h"
#include "options.h"

namespace print_server {
namespace {

using Clock = std::chrono::steady_clock;

// How long a cut connection is still read while the agent has not closed its side.
constexpr int kDropReadLimitMs = 2000;
constexpr int kPieceGapMs = 1;

void OnTimeout(int) {
  static constexpr char kText[] = "print-server: tiempo agotado\n";
  const ssize_t ignored = write(STDERR_FILENO, kText, sizeof kText - 1);
  (void)ignored;
  _exit(2);
}

// One accepted connection: prints the agent's messages as they come.
class Session {
 public:
  Session(int fd, const Options& options, long long* statuses)
      : fd_(fd), options_(options), statuses_(statuses), identified_(!options.wait_id) {
    const int yes = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  }
  ~Session() {
    shutdown(fd_, SHUT_RDWR);
    close(fd_);
  }

  bool identified() const { return identified_; }

  // Reads what arrives for up to `wait_ms` (-1: until something arrives). False once the agent
  // has closed the connection.
  bool Pump(int wait_ms) {
    const auto until = Clock::now() + std::chrono::milliseconds(wait_ms < 0 ? 0 : wait_ms);
    do {
      int left = -1;
      if (wait_ms >= 0) {
        left = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count());
        if (left < 0) left = 0;
      }
      pollfd entry{fd_, POLLIN, 0};
      const int ready = poll(&entry, 1, left);
      if (ready < 0) return false;
      if (ready == 0) return true;
      char bytes[4096];
      const ssize_t count = recv(fd_, bytes, sizeof bytes, 0);
      if (count <= 0) return false;
      for (const std::string& message : reader_.Feed(std::string_view(bytes, count))) {
        Print(message);
      }
      if (wait_ms < 0) return true;
    } while (Clock::now() < until);
    return true;
  }

  // Ends the sending side and keeps printing what the agent sends until it closes its side too
  // (or `limit_ms` passes): an identification sent just before the cut is not lost.
  void DropAfterReading(int limit_ms) {
    shutdown(fd_, SHUT_WR);
    const auto until = Clock::now() + std::chrono::milliseconds(limit_ms);
    for (auto now = Clock::now(); now < until; now = Clock::now()) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - now);
      if (!Pump(static_cast<int>(left.count()))) break;
    }
  }

  // Sends all of `bytes`; false when the connection broke.
  bool Send(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t count = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (count <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
  }

 private:
  void Print(const std::string& message) {
    std::printf("%s\n", message.c_str());
    std::fflush(stdout);
    if (IsIdentification(message)) identified_ = true;
    if (IsStatus(message) && ++*statuses_ == options_.exit_after_statuses) std::exit(0);
  }

  int fd_;
  const Options& options_;
  long long* statuses_;
  bool identified_;
  MessageReader reader_;
};

// Sends `bytes` as the options say; false when the connection broke.
bool SendJobBytes(Session& session, std::string_view bytes, const Options& options,
                  std::mt19937& random) {
  bool first = true;
  for (const std::string_view piece : Pieces(bytes, options.pieces, random)) {
    // The gap lets most pieces arrive on their own.
    if (!first && !session.Pump(kPieceGapMs)) return false;
    first = false;
    if (!session.Send(piece)) return false;
  }
  return true;
}

// What has been sent so far, over every connection.
struct Progress {
  long long statuses = 0;  // status replies read
  std::size_t next = 0;    // job to send
  int whole = 0;
  int cut = 0;
};

// Sends the next scheduled job on `session`, with what follows it: a cut connection or an
// awaited reply. False when the connection is to be left; `open` says whether it still is.
bool SendNextJob(Session& session, std::vector<ScheduledJob>& schedule, const Options& options,
                 std::mt19937& random, Progress& progress, bool& open) {
  ScheduledJob& job = schedule[progress.next];
  if (job.pause_ms > 0 && !session.Pump(job.pause_ms)) return false;
  const std::size_t limit = std::min(job.cut_at, job.bytes.size());
  const long long statuses_before = progress.statuses;
  if (!SendJobBytes(session, std::string_view(job.bytes).substr(0, limit), options, random)) {
    // The agent went away: the job goes again, whole, on its next connection.
    std::fprintf(stderr, "print-server: interrumpido %s\n", job.name.c_str());
    open = false;
    return false;
  }
  if (limit == job.bytes.size()) {
    ++progress.whole;
    std::fprintf(stderr, "print-server: entero %s\n", job.name.c_str());
    if (!options.await_status) ++progress.next;
  } else {
    ++progress.cut;
    std::fprintf(stderr, "print-server: cortado %s tras %zu de %zu bytes\n", job.name.c_str(),
                 limit, job.bytes.size());
    if (!options.resend) ++progress.next;
  }
  if (job.cut_at != ScheduledJob::kWhole) {
    const bool reply_unread = options.await_status && limit == job.bytes.size();
    job.cut_at = ScheduledJob::kWhole;  // sent again, it goes whole
    std::fprintf(stderr, "print-server: conexion cortada\n");
    // Awaiting replies, a drop right after the job leaves its reply unread: it goes again.
    if (!reply_unread) session.DropAfterReading(kDropReadLimitMs);
    open = false;
    return false;
  }
  if (options.await_status && limit == job.bytes.size()) {
    while (open && progress.statuses == statuses_before) open = session.Pump(-1);
    if (!open) {
      std::fprintf(stderr, "print-server: sin respuesta %s\n", job.name.c_str());
      return false;
    }
    std::fprintf(stderr, "print-server: respondido %s\n", job.name.c_str());
    ++progress.next;
    return true;
  }
  open = session.Pump(0);
  return true;
}

int Run(const Options& options, std::vector<ScheduledJob> schedule) {
  const int listener = loopback::Listen(options.port);
  if (listener < 0) {
    std::fprintf(stderr, "print-server: no se puede escuchar en el puerto %d: %s\n", options.port,
                 std::strerror(errno));
    return 1;
  }
  std::printf("PORT %d\n", loopback::BoundPort(listener));
  std::fflush(stdout);

  std::mt19937 random(options.seed);
  Progress progress;
  bool reported = false;
  for (;;) {
    const int fd = accept(listener, nullptr, nullptr);
    if (fd < 0) continue;
    std::fprintf(stderr, "print-server: conexion aceptada\n");
    Session session(fd, options, &progress.statuses);
    bool open = true;
    while (open && !session.identified()) open = session.Pump(-1);
    while (open && progress.next < schedule.size()) {
      if (!SendNextJob(session, schedule, options, random, progress, open)) break;
    }
    if (progress.next == schedule.size() && !reported) {
      reported = true;
      std::fprintf(stderr, "print-server: todo enviado (%d enteros, %d cortados)\n", progress.whole,
                   progress.cut);
    }
    while (open) open = session.Pump(-1);
    std::fprintf(stderr, "print-server: conexion cerrada\n");
  }
}

}  // namespace
}  // namespace print_server

int main(int argc, char** argv) {
  using namespace print_server;
  std::string error;
  const auto options = ParseOptions(argc, argv, &error);
  if (!options) {
    std::fprintf(stderr, "print-server: %s\n%s", error.c_str(), UsageText());
    return 64;
  }
  if (options->help) {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  std::vector<ScheduledJob> schedule;
  if (!BuildSchedule(*options, &schedule, &error)) {
    std::fprintf(stderr, "print-server: %s\n", error.c_str());
    return 66;
  }
  signal(SIGPIPE, SIG_IGN);
  if (options->timeout_s > 0) {
    signal(SIGALRM, OnTimeout);
    alarm(static_cast<unsigned>(options->timeout_s));
  }
  return Run(*options, std::move(schedule));
}
