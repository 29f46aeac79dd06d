#pragma once
// One network receipt printer the agent talks to itself, no spooler in between. Its jobs go one
// at a time, in order, each on a connection opened for it (kept while more follow):
//   1. DLE EOT 1, 2 and 4, with kStatusWaitMs for all the answers. A fault keeps the job back
//      (kHeld, Fault() says why) and the printer is asked again every kRecheckMs; a printer that
//      cannot be reached is "apagada o desconectada". A printer that answers nothing is printed
//      to blindly from then on, told once in the log.
//   2. The job's bytes and GS r 1: its answer means the printer processed them (kCompleted).
//      Without an answer in kPrintWaitMs (plus kPrintWaitPerChunkMs a kChunkBytes) the printer
//      is asked DLE EOT again, every kRecheckMs, and its answer is what Fault() reports; the job
//      stays in the printer until GS r is answered. A connection lost then gives the job back
//      (kAborted): it may still be in the printer's buffer, so the next job first asks the
//      printer to clear it, and a duplicate is still possible where it cannot.
// Nothing is held open or asked while nothing prints, except one status request every
// kIdleRecheckMs to a printer last seen with a fault.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "adapters/network_printer/printer_address.h"
#include "adapters/network_printer/status_bytes.h"
#include "platform/notifier.h"
#include "platform/printer_system.h"
#include "platform/socket.h"
#include "platform/timer.h"

namespace quillon::adapters::network_printer {

// What the printer tells its owner besides the job states.
struct PrinterEvents {
  std::function<void(const std::u16string&)> log;
  platform::Notifier* notifier = nullptr;
  std::function<std::int64_t()> now_ms;  // a clock that only goes forward; empty: the steady one
  // What StateText() says changed; empty: nobody listens.
  std::function<void()> state_changed;
};

class NetworkPrinter final : public platform::SocketListener {
 public:
  static constexpr int kConnectWaitMs = 3000;
  static constexpr int kStatusWaitMs = 1000;
  static constexpr int kPrintWaitMs = 10000;
  static constexpr int kPrintWaitPerChunkMs = 1000;
  static constexpr std::size_t kChunkBytes = 4096;
  static constexpr int kRecheckMs = 2000;
  static constexpr int kIdleRecheckMs = 60000;
  static constexpr int kBlindCloseMs = 1000;
  static constexpr std::int64_t kPaperLowBalloonMs = 3600 * 1000;

  NetworkPrinter(std::u16string name, PrinterAddress address,
                 std::unique_ptr<platform::ClientSocket> socket,
                 std::unique_ptr<platform::Timer> timer, PrinterEvents events);
  ~NetworkPrinter() override;

  const std::u16string& Name() const { return name_; }
  const PrinterAddress& Address() const { return address_; }
  // Takes the bytes as a job and returns its number; nothing is sent before the status says so.
  std::int64_t Submit(std::string bytes);
  // Sends the bytes now if the printer is known to take them, as one job followed like any
  // other; throws platform::Failure with the reason when it is known not to.
  void SubmitNowOrNever(std::string bytes);
  platform::JobState StateOf(std::int64_t job);
  // Takes a job back; one already in the printer's buffer is cleared from it where the printer
  // can do that.
  void Cancel(std::int64_t job);
  // The reason it cannot print, in words for the user; empty when it can or nobody knows yet.
  std::u16string Fault() const;
  // "listo", "sin papel"..., "sin estado" for a printer that answers no status request or was
  // not asked yet.
  std::u16string StateText() const;

  void OnConnected() override;
  void OnClosed() override;
  void OnError(int number, const std::u16string& description) override;
  void OnDataArrival(std::size_t bytes_available) override;

 private:
  enum class Phase {
    kIdle,
    kConnecting,
    kAsking,    // status asked before the front job, answers awaited
    kPrinting,  // front job sent with GS r 1, its answer awaited
    kClosing,   // a blind job written, the connection closes soon
  };
  enum class JobKind {
    kTicket,
    kNowOrNever,  // dropped when the printer cannot take it at once
    kProbe,       // only the status: nothing is sent
  };
  struct Job {
    std::int64_t id = 0;
    std::string bytes;
    JobKind kind = JobKind::kTicket;
  };

  void Enqueue(std::string bytes, JobKind kind);
  void Start();
  void Connect();
  void AskStatus();
  void StatusAnswered();
  void OnTimer();
  void SendFront();
  void Finish(platform::JobState state);
  // The connection is gone or never came: the front job waits, or is given back when it was sent.
  void Unreachable();
  void Rest();
  void ReportCondition(PrinterCondition condition);
  void StateChanged() const;
  void Log(const std::u16string& line) const;

  std::u16string name_;
  PrinterAddress address_;
  std::unique_ptr<platform::ClientSocket> socket_;
  std::unique_ptr<platform::Timer> timer_;
  PrinterEvents events_;
  std::int64_t next_job_;
  std::deque<Job> jobs_;
  std::map<std::int64_t, platform::JobState> finished_;
  Phase phase_ = Phase::kIdle;
  bool held_ = false;                          // the front job waits for the printer to be ready
  bool asked_again_ = false;                   // status asked while the front job is in the printer
  bool clear_first_ = false;                   // the printer's buffer may hold a job given back
  bool blind_ = false;                         // the printer answers no status request
  std::optional<PrinterCondition> condition_;  // as last seen
  StatusAnswers answers_;
  int answers_expected_ = 0;
  int answers_received_ = 0;
  std::optional<std::int64_t> paper_low_told_ms_;
};

}  // namespace quillon::adapters::network_printer
