#pragma once
// The one way out to the printers. A drawn ticket is written into the outbox first, then sent
// to the printer named at print time (falling back once to the default printer); it leaves the
// outbox only when a printer has accepted it. A ticket no printer takes waits there, in order
// behind the earlier tickets for the same printer and apart from every other printer's, and is
// tried again by itself: after a few seconds, then less often, up to once a minute. Raw jobs
// (the drawer kick) go now or never.
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/notifier.h"
#include "platform/printer_system.h"
#include "platform/timer.h"
#include "print/drawn_ticket.h"
#include "print/outbox.h"

namespace quillon::print {

// What became of a ticket handed to the print service.
struct Delivery {
  bool sent = false;       // a printer accepted it; otherwise it waits in the outbox
  std::u16string printer;  // the printer that accepted it
};

// Where documents hand their drawn tickets.
class TicketSink {
 public:
  virtual ~TicketSink() = default;
  virtual Delivery Print(DrawnTicket ticket) = 0;
};

struct WaitingTicket {
  std::uint64_t id = 0;
  std::u16string printer;  // as the document named it, "predeterminada" for the default printer
  std::u16string kind;
  platform::DateTime created;
  std::u16string failure;  // why its printer could not take it the last time it was tried
};

// What the print service tells the shell besides balloons.
class PrintMonitor {
 public:
  virtual ~PrintMonitor() = default;
  // Tickets began or stopped waiting.
  virtual void WaitingChanged() = 0;
  // One line for the activity log.
  virtual void Log(const std::u16string& line) = 0;
};

class PrintService final : public TicketSink {
 public:
  static constexpr int kFirstRetryMs = 2000;
  static constexpr int kLongestRetryMs = 60000;
  static constexpr int kPruningDelayMs = 1000;

  // `outbox` and `retry_timer` must outlive the service.
  PrintService(platform::PrinterSystem& printers, platform::Notifier& notifier, Outbox& outbox,
               platform::Timer& retry_timer);
  ~PrintService() override;
  PrintService(const PrintService&) = delete;
  PrintService& operator=(const PrintService&) = delete;

  void SetMonitor(PrintMonitor* monitor) { monitor_ = monitor; }
  // Takes up the tickets an earlier run left waiting and tries them at the timer's first turn.
  void Start();

  Delivery Print(DrawnTicket ticket) override;
  // Raw bytes (the drawer kick) sent now or never: a failure raises platform::Failure.
  void SendRaw(std::u16string_view printer, const std::string& bytes);

  // Oldest first.
  std::vector<WaitingTicket> Waiting() const;
  // "Reintentar": every waiting ticket now, and the wait between tries from its shortest again.
  void RetryNow();
  // "Descartar": the ticket stops waiting and is kept in outbox/descartados/. false when there
  // is no such waiting ticket or it could not be moved.
  bool Discard(std::uint64_t id);
  // Newest first.
  const std::deque<PrintedTicket>& Printed() const { return outbox_.Printed(); }
  // Prints a printed ticket again, as a new ticket, on `printer` or else on the printer that
  // printed it. nullopt when no printed ticket has that number.
  std::optional<Delivery> Reprint(std::uint64_t id, const std::u16string& printer);

 private:
  struct Entry {
    TicketRecord record;
    bool stored = false;  // its file is in the outbox
    bool waited = false;  // it did not print when it was made
  };
  // The tickets for one printer, in order.
  struct Line {
    std::u16string label;
    std::deque<Entry> entries;
    std::u16string failure;         // why the head could not print the last time
    std::u16string failed_printer;  // the last printer tried for it
    int printed_after_wait = 0;
    bool announced = false;  // the user was told that its tickets wait
  };

  Line& LineFor(const std::u16string& printer);
  // Sends the line's tickets in order until one is not accepted; the numbers of those sent and
  // the printer each went to.
  std::vector<std::pair<std::uint64_t, std::u16string>> Flush(Line& line);
  void OnRetryTimer();
  void ScheduleRetry(int delay_ms);
  // Old printed tickets are removed when nothing else is going on.
  void SchedulePruning();
  void ReportUnavailable(const std::u16string& printer, const std::u16string& failure);
  void ReportWaiting(Line& line);
  void Log(const std::u16string& line);
  void Changed();

  platform::PrinterSystem& printers_;
  platform::Notifier& notifier_;
  Outbox& outbox_;
  platform::Timer& retry_timer_;
  PrintMonitor* monitor_ = nullptr;
  std::map<std::u16string, Line> lines_;  // by printer name in capitals
  int retry_delay_ms_ = kFirstRetryMs;
  bool timer_pending_ = false;
};

// How a printer is named to the user: its name, or "predeterminada" for the default printer.
std::u16string PrinterLabel(std::u16string_view printer);
// "3 tickets esperando la impresora Cocina"
std::u16string WaitingText(std::size_t count, std::u16string_view label);

}  // namespace quillon::print
