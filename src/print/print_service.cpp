#include "print/print_service.h"

#include <algorithm>

#include "platform/text.h"
#include "print/printer_selection.h"

namespace quillon::print {
namespace {

constexpr int kBalloonTimeoutMs = 30000;
constexpr char16_t kWaitingTitle[] = u"Tickets en espera";

std::u16string Count(std::size_t count) { return platform::u16(std::to_string(count)); }

// "Ticket 12 (comanda)"
std::u16string TicketName(const TicketRecord& record) {
  return u"Ticket " + platform::u16(std::to_string(record.id)) + u" (" + record.ticket.kind + u")";
}

}  // namespace

PrintService::PrintService(platform::PrinterSystem& printers, platform::Notifier& notifier,
                           Outbox& outbox, platform::Timer& retry_timer)
    : printers_(printers), notifier_(notifier), outbox_(outbox), retry_timer_(retry_timer) {}

PrintService::~PrintService() { retry_timer_.Stop(); }

PrintService::Line& PrintService::LineFor(const std::u16string& printer) {
  Line& line = lines_[platform::ToUpper(platform::TrimBlanks(printer))];
  if (line.entries.empty()) line.label = PrinterLabel(printer);
  return line;
}

void PrintService::Start() {
  std::vector<std::u16string> set_aside;
  const std::vector<TicketRecord> waiting = outbox_.Load(set_aside);
  for (const std::u16string& name : set_aside) {
    Log(u"No se pudo leer el ticket " + name +
        u" de la bandeja de salida: se apartó en outbox/descartados");
  }
  if (waiting.empty()) return;
  for (const TicketRecord& record : waiting) {
    LineFor(record.ticket.printer).entries.push_back({record, true, true});
  }
  Log(waiting.size() == 1
          ? u"1 ticket de la ejecución anterior espera su impresora"
          : Count(waiting.size()) + u" tickets de la ejecución anterior esperan su impresora");
  Changed();
  ScheduleRetry(0);
}

Delivery PrintService::Print(DrawnTicket ticket) {
  Entry entry{outbox_.Number(std::move(ticket))};
  entry.stored = outbox_.Store(entry.record);
  if (!entry.stored) {
    Log(u"No se pudo guardar " + TicketName(entry.record) + u" en la bandeja de salida " +
        platform::Utf8ToUtf16(outbox_.Folder().string()) + u": se envía sin copia");
  }
  const std::uint64_t id = entry.record.id;
  Line& line = LineFor(entry.record.ticket.printer);
  const bool was_waiting = !line.entries.empty();
  line.entries.push_back(std::move(entry));
  for (const auto& [printed_id, printer] : Flush(line)) {
    if (printed_id != id) continue;
    SchedulePruning();
    return {true, printer};
  }

  Entry& waiting = line.entries.back();
  waiting.waited = true;
  if (waiting.stored) outbox_.MakeDurable(waiting.record);
  if (!was_waiting) ReportUnavailable(line.failed_printer, line.failure);
  Log(TicketName(waiting.record) + u" en espera de la impresora " + line.label + u": " +
      line.failure);
  ReportWaiting(line);
  Changed();
  ScheduleRetry(kFirstRetryMs);
  return {};
}

std::vector<std::pair<std::uint64_t, std::u16string>> PrintService::Flush(Line& line) {
  std::vector<std::pair<std::uint64_t, std::u16string>> printed;
  while (!line.entries.empty()) {
    Entry& head = line.entries.front();
    const Routing routing =
        Route(printers_, head.record.ticket.printer, [&](platform::PrinterQueue& queue) {
          queue.PrintTicket(head.record.ticket.content);
          // Accepted: out of the outbox before anything else, so that a stop right now can
          // send it a second time only in the time of this one call.
          outbox_.MarkPrinted(head.record, head.stored, queue.DeviceName());
          // Nothing after the acceptance may look like a refusal: that would send it again.
          try {
            queue.AfterAccepted();
          } catch (...) {
          }
        });
    if (!routing.Accepted()) {
      line.failure = routing.failure;
      line.failed_printer = routing.failed_printer;
      break;
    }
    if (head.waited) {
      ++line.printed_after_wait;
      Log(TicketName(head.record) + u" impreso en " + routing.printer);
    }
    printed.emplace_back(head.record.id, routing.printer);
    line.entries.pop_front();
  }
  if (line.entries.empty() && line.printed_after_wait > 0) {
    const int count = line.printed_after_wait;
    notifier_.ShowBalloonTip(count == 1
                                 ? u"Se imprimió el ticket que esperaba la impresora " + line.label
                                 : u"Se imprimieron los " + Count(count) +
                                       u" tickets que esperaban la impresora " + line.label,
                             platform::BalloonIcon::Information, kWaitingTitle, kBalloonTimeoutMs);
    line.printed_after_wait = 0;
    line.announced = false;
    Changed();
  }
  return printed;
}

void PrintService::ReportWaiting(Line& line) {
  const std::size_t count = line.entries.size();
  notifier_.ShowBalloonTip(WaitingText(count, line.label), platform::BalloonIcon::Warning,
                           kWaitingTitle, kBalloonTimeoutMs);
  line.announced = true;
}

void PrintService::OnRetryTimer() {
  timer_pending_ = false;
  outbox_.Prune();
  bool waiting = false;
  for (auto& [key, line] : lines_) {
    if (line.entries.empty()) continue;
    const std::size_t before = line.entries.size();
    Flush(line);
    if (line.entries.size() != before && !line.entries.empty()) Changed();
    if (line.entries.empty()) continue;
    waiting = true;
    if (!line.announced) ReportWaiting(line);
  }
  if (waiting) {
    ScheduleRetry(std::min(retry_delay_ms_ * 2, kLongestRetryMs));
  } else {
    retry_delay_ms_ = kFirstRetryMs;
  }
}

void PrintService::ScheduleRetry(int delay_ms) {
  retry_delay_ms_ = std::max(delay_ms, kFirstRetryMs / 2);
  timer_pending_ = true;
  retry_timer_.StartOnce(delay_ms, [this] { OnRetryTimer(); });
}

void PrintService::SchedulePruning() {
  if (timer_pending_ || !outbox_.NeedsPruning()) return;
  timer_pending_ = true;
  retry_timer_.StartOnce(kPruningDelayMs, [this] { OnRetryTimer(); });
}

void PrintService::RetryNow() {
  retry_delay_ms_ = kFirstRetryMs / 2;
  OnRetryTimer();
}

std::vector<WaitingTicket> PrintService::Waiting() const {
  std::vector<WaitingTicket> waiting;
  for (const auto& [key, line] : lines_) {
    for (const Entry& entry : line.entries) {
      waiting.push_back({entry.record.id, line.label, entry.record.ticket.kind,
                         entry.record.created, line.failure});
    }
  }
  std::sort(waiting.begin(), waiting.end(),
            [](const WaitingTicket& a, const WaitingTicket& b) { return a.id < b.id; });
  return waiting;
}

bool PrintService::Discard(std::uint64_t id) {
  for (auto& [key, line] : lines_) {
    const auto found = std::find_if(line.entries.begin(), line.entries.end(),
                                    [id](const Entry& entry) { return entry.record.id == id; });
    if (found == line.entries.end()) continue;
    if (!outbox_.Discard(found->record, found->stored)) return false;
    Log(TicketName(found->record) + u" descartado: queda en outbox/descartados");
    line.entries.erase(found);
    if (line.entries.empty()) {
      line.printed_after_wait = 0;
      line.announced = false;
    }
    Changed();
    return true;
  }
  return false;
}

std::optional<Delivery> PrintService::Reprint(std::uint64_t id, const std::u16string& printer) {
  const auto printed = std::find_if(Printed().begin(), Printed().end(),
                                    [id](const PrintedTicket& ticket) { return ticket.id == id; });
  if (printed == Printed().end()) return std::nullopt;
  std::optional<TicketRecord> record = outbox_.ReadPrinted(id);
  if (!record) return std::nullopt;
  record->ticket.printer = platform::TrimBlanks(printer).empty() ? printed->printer : printer;
  return Print(std::move(record->ticket));
}

void PrintService::SendRaw(std::u16string_view printer, const std::string& bytes) {
  const Routing routing =
      Route(printers_, printer, [&](platform::PrinterQueue& queue) { queue.SendRaw(bytes); });
  if (routing.Accepted()) return;
  // The caller tells the user with the job; only a printer that is there and cannot print has
  // the balloon of its own.
  if (!routing.missing) ReportUnavailable(routing.failed_printer, routing.failure);
  throw platform::Failure(platform::kPrinterError, routing.failure);
}

void PrintService::ReportUnavailable(const std::u16string& printer, const std::u16string& failure) {
  notifier_.ShowBalloonTip(u"Error al imprimir, La impresora " + PrinterLabel(printer) +
                               u" no esta disponible. \r\n" + failure + u" " + failure,
                           platform::BalloonIcon::Error, u"Error al imprimir", kBalloonTimeoutMs);
}

void PrintService::Log(const std::u16string& line) {
  if (monitor_ != nullptr) monitor_->Log(line);
}

void PrintService::Changed() {
  if (monitor_ != nullptr) monitor_->WaitingChanged();
}

std::u16string WaitingText(std::size_t count, std::u16string_view label) {
  return Count(count) + (count == 1 ? u" ticket" : u" tickets") + u" esperando la impresora " +
         std::u16string(label);
}

std::u16string PrinterLabel(std::u16string_view printer) {
  return platform::TrimBlanks(printer).empty() ? u"predeterminada" : std::u16string(printer);
}

}  // namespace quillon::print
