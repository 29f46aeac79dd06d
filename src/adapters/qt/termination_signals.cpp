#include "adapters/qt/termination_signals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <array>
#include <csignal>

namespace quillon::adapters::qt {
namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};
// The handler may only write a byte: the loop reads it on the other end.
int signal_pair[2] = {-1, -1};

void OnSignal(int /*signal*/) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(signal_pair[0], &byte, 1);
}

void Handle(void (*handler)(int)) {
  struct sigaction action = {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : kSignals) sigaction(signal, &action, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals() {
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signal_pair) != 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(signal_pair[1], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [] {
    char byte = 0;
    [[maybe_unused]] const ssize_t got = read(signal_pair[1], &byte, 1);
    QCoreApplication::exit(0);
  });
  Handle(OnSignal);
}

TerminationSignals::~TerminationSignals() {
  if (!notifier_) return;
  Handle(SIG_DFL);
  notifier_.reset();
  close(signal_pair[0]);
  close(signal_pair[1]);
  signal_pair[0] = signal_pair[1] = -1;
}

}  // namespace quillon::adapters::qt
