#pragma once
// The one way out to the printers. A drawn ticket is written into the outbox first, then sent
// to the printer named at print time (falling back once to the default printer); it leaves the
// outbox only when it printed. A ticket no printer takes waits there, in order behind the
// earlier tickets for the same printer and apart from every other printer's, and is tried again
// by itself: after a few seconds, then less often, up to once a minute. A ticket a spooler took
// is "in the printer": the spooler is asked about its job every few seconds until it completed
// (then it printed), or the spooler gave it up (then it waits again). A printer that holds a
// ticket too long or reports a fault does not respond: the user is told, its new tickets wait
// behind the ones it holds, and after a while they all print on the default printer, marked as
// copies. Raw jobs (the drawer kick) go now or never.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
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
  // Why its printer could not take it the last time it was tried; for a ticket held up by a
  // printer that does not respond, what that printer reports.
  std::u16string failure;
  bool in_printer = false;  // a spooler has it and has not finished it
  bool set_aside = false;   // its printer refused it again and again: tried on "Reintentar"
  // The printer that does not respond, for a ticket in it or waiting behind the ones it holds;
  // empty when the ticket is not held up by one.
  std::u16string stuck_on;
};

// A printer tickets went to or waited for since the start, as the service last saw it.
struct UsedPrinter {
  std::u16string name;
  // A spooler holds its tickets too long or it reports a fault, or it refused the ticket in front
  // of its line.
  bool not_responding = false;
};

// What the print service tells the shell besides balloons.
class PrintMonitor {
 public:
  virtual ~PrintMonitor() = default;
  // Tickets began or stopped waiting, or printed.
  virtual void WaitingChanged() = 0;
  // One line for the activity log.
  virtual void Log(const std::u16string& line) = 0;
};

class PrintService final : public TicketSink {
 public:
  static constexpr int kFirstRetryMs = 2000;
  static constexpr int kLongestRetryMs = 60000;
  static constexpr int kPruningDelayMs = 1000;
  static constexpr int kWatchIntervalMs = 2000;
  // A printer that has not finished a ticket in this time does not respond.
  static constexpr int kLongestHoldMs = 15000;
  static constexpr int kDefaultFallbackAfterSeconds = 60;
  // A ticket that a ready printer refused this many times in a row stops holding up the ones
  // behind it.
  static constexpr int kRefusalsBeforeSetAside = 5;

  // `outbox` and the timers must outlive the service.
  PrintService(platform::PrinterSystem& printers, platform::Notifier& notifier, Outbox& outbox,
               platform::Timer& retry_timer, platform::Timer& watch_timer);
  ~PrintService() override;
  PrintService(const PrintService&) = delete;
  PrintService& operator=(const PrintService&) = delete;

  void SetMonitor(PrintMonitor* monitor) { monitor_ = monitor; }
  // Called while Print or SendRaw runs, once the work is the service's: a ticket in the outbox
  // (or going without a copy when the outbox refused it), raw bytes just before they go. A stop
  // after it cannot lose the ticket; what the caller records then cannot make it print twice.
  void SetTakenListener(std::function<void()> listener) { taken_ = std::move(listener); }
  // How long a printer may not respond before its tickets move to the default printer; 0 never.
  void SetFallbackAfter(int seconds) { fallback_after_ms_ = seconds * 1000; }
  // Takes up the tickets an earlier run left: asks the spooler about those it held, before
  // anything new goes to their printers, and tries the waiting ones at the timer's first turn.
  void Start();

  Delivery Print(DrawnTicket ticket) override;
  // Raw bytes (the drawer kick) sent now or never: a failure raises platform::Failure.
  void SendRaw(std::u16string_view printer, const std::string& bytes);

  // The tickets not printed yet, waiting or in a printer; oldest first.
  std::vector<WaitingTicket> Waiting() const;
  // "Reintentar": every waiting ticket now, those set aside too, and the wait between tries from
  // its shortest again.
  void RetryNow();
  // "Descartar": the ticket stops waiting (its job, when a spooler has it, is canceled) and is
  // kept in outbox/descartados/. false when there is no such ticket or it could not be moved.
  bool Discard(std::uint64_t id);
  // Newest first.
  const std::deque<PrintedTicket>& Printed() const { return outbox_.Printed(); }
  // Prints a printed ticket again, as a new ticket, on `printer` or else on the printer that
  // printed it. nullopt when no printed ticket has that number.
  std::optional<Delivery> Reprint(std::uint64_t id, const std::u16string& printer);
  // A waiting ticket as it waits, or a printed one as it was printed; nullopt when no kept
  // ticket has that number.
  std::optional<DrawnTicket> TicketOf(std::uint64_t id) const;
  // The devices that took tickets since the start, then the names tickets wait for (the default
  // printer only by its device's name), each once.
  std::vector<UsedPrinter> UsedPrinters() const;

 private:
  struct Entry {
    TicketRecord record;        // record.InPrinter(): a spooler has it as a job
    bool stored = false;        // its file is in the outbox
    bool stale = false;         // that file is older than the ticket: writing it again failed
    bool waited = false;        // it did not print when it was made
    int held_ms = 0;            // how long the spooler has had it, as the watch counted
    int refusals = 0;           // times in a row a printer that was ready refused it
    bool set_aside = false;     // refused too often: no longer tried until "Reintentar"
    std::u16string moved_from;  // the printer that did not respond, for a ticket moved away
  };
  // The tickets for one printer, in order.
  struct PerPrinterQueue {
    std::u16string label;
    std::deque<Entry> entries;
    std::u16string failure;         // why the head could not print the last time
    std::u16string failed_printer;  // the last printer tried for it
    int printed_after_wait = 0;
    bool announced = false;  // the user was told that its tickets wait
  };
  // What the watch knows of a printer that holds tickets, by its device name.
  struct Device {
    std::u16string name;
    bool known = false;  // asked about since the start: jobs of an earlier run are not known
    bool not_responding = false;
    int not_responding_ms = 0;
    std::u16string fault;      // what it reports, in words for the user
    int printed_since = 0;     // tickets it finished since it stopped responding
    bool job_held = false;     // the spooler held or gave up one of its jobs
    bool unreachable = false;  // the last question about it found no answer
    // The tickets it held up when it stopped responding and since: when none is left, it has
    // finished them and is back.
    std::set<std::uint64_t> held_up;
  };

  PerPrinterQueue& QueueFor(const std::u16string& printer);
  Device& DeviceFor(const std::u16string& name);
  // The printer that holds the queue up: one with a ticket of the queue that does not respond, or
  // one not asked about yet since the start; nullptr when none does.
  const Device* HeldUpBy(const PerPrinterQueue& queue) const;
  // Sends the queue's waiting tickets in order until one is not accepted; the numbers of those
  // sent and the printer each went to.
  std::vector<std::pair<std::uint64_t, std::u16string>> Flush(PerPrinterQueue& queue);
  // A spooler took the ticket as `job`, or printed it when there is no job to follow.
  void Accepted(PerPrinterQueue& queue, Entry& entry, const std::u16string& device,
                std::int64_t job);
  // The ticket is on paper: out of the outbox for impresos/.
  void Printed(PerPrinterQueue& queue, Entry& entry, const std::u16string& device);
  void AnnounceFlushed(PerPrinterQueue& queue);
  void OnRetryTimer();
  // The tickets the outbox did not take, kept in memory only.
  std::size_t UnstoredCount() const;
  // Writes them into the outbox; whether some still have no copy.
  bool StoreUnstored();
  // "No hay espacio en disco: 2 tickets sin copia" (with `printed` more that printed without
  // one), and tries to write them again soon.
  void ReportUnstored(std::size_t printed);
  // Writes the ticket into the outbox as it stands now, to the disk.
  void Keep(Entry& entry);
  // Asks the spooler about every job in flight and acts on the answers.
  void OnWatchTick();
  void ScheduleWatch();
  void FollowDevice(Device& device);
  // The answer about one job: printed, still there, given back to wait, or canceled by someone.
  void Follow(Device& device, std::uint64_t id, platform::JobState state);
  void CheckResponding(Device& device);
  void DeviceBack(Device& device);
  bool StillHoldsUp(const Device& device) const;
  // Cancels the jobs of a printer that did not respond and prints its tickets on the default
  // printer, each once and marked as a copy.
  void MoveToDefault(Device& device);
  // Cancels the jobs in flight on the printer; the numbers of the tickets they took back (none
  // when the printer could not be asked).
  std::vector<std::uint64_t> TakeBackFrom(Device& device);
  // The entries of those tickets, and of the waiting ones behind them, out of their lines.
  std::deque<Entry> TakeEntries(const std::vector<std::uint64_t>& taken_back);
  // The tickets held up by the printer, in flight on it or waiting behind them.
  std::size_t HeldUpCount(const Device& device) const;
  // The numbers and jobs of the tickets in flight on the printer, oldest first.
  std::vector<std::pair<std::uint64_t, std::int64_t>> InFlightOn(const Device& device) const;
  // Finds a ticket by its number.
  std::pair<PerPrinterQueue*, Entry*> Find(std::uint64_t id);
  void Erase(PerPrinterQueue& queue, const Entry& entry);
  void ScheduleRetry(int delay_ms);
  // Old printed tickets are removed when nothing else is going on.
  void SchedulePruning();
  void ReportUnavailable(const std::u16string& printer, const std::u16string& failure);
  void ReportWaiting(PerPrinterQueue& queue);
  void Log(const std::u16string& line);
  void Changed();

  platform::PrinterSystem& printers_;
  platform::Notifier& notifier_;
  Outbox& outbox_;
  platform::Timer& retry_timer_;
  platform::Timer& watch_timer_;
  PrintMonitor* monitor_ = nullptr;
  std::function<void()> taken_;
  std::map<std::u16string, PerPrinterQueue> queues_;  // by printer name in capitals
  std::map<std::u16string, Device> devices_;          // by device name in capitals
  // The devices that took tickets since the start, by name in capitals.
  std::map<std::u16string, std::u16string> took_tickets_;
  // Tickets moved to the default printer, not printed yet and in all, by the printer they left.
  std::map<std::u16string, std::pair<int, int>> moves_;
  int retry_delay_ms_ = kFirstRetryMs;
  int fallback_after_ms_ = kDefaultFallbackAfterSeconds * 1000;
  bool timer_pending_ = false;
  bool watching_ = false;
};

// How a printer is named to the user: its name, or "predeterminada" for the default printer.
std::u16string PrinterLabel(std::u16string_view printer);
// "Ticket 12 (comanda)"
std::u16string TicketName(const TicketRecord& record);
// "3 tickets esperando la impresora Cocina"
std::u16string WaitingText(std::size_t count, std::u16string_view label);
// "La impresora Cocina no responde: 1 ticket sin imprimir (sin papel)"
std::u16string NotRespondingText(std::u16string_view printer, std::size_t count,
                                 std::u16string_view fault);
// The ticket with a first line that says it is a copy and why.
DrawnTicket MarkedAsCopy(DrawnTicket ticket, std::u16string_view printer);

}  // namespace quillon::print
