#pragma once
// SIGTERM, SIGINT and SIGHUP while the event loop runs end it the way Salir does, so a service
// stop or a logout still writes the waiting log lines and releases the data folder. Outside
// the loop (a prompt on the console) they end the program as before.
#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace quillon::adapters::qt {

class TerminationSignals final : public QObject {
 public:
  // From construction to destruction, the signals quit the application's event loop.
  TerminationSignals();
  ~TerminationSignals() override;
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace quillon::adapters::qt
