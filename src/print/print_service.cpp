#include "print/print_service.h"

#include <algorithm>

#include "platform/text.h"
#include "print/printer_selection.h"

namespace quillon::print {
namespace {

constexpr int kBalloonTimeoutMs = 30000;
constexpr char16_t kWaitingTitle[] = u"Tickets en espera";

std::u16string Count(std::size_t count) { return platform::Utf8ToUtf16(std::to_string(count)); }

}  // namespace

PrintService::PrintService(platform::PrinterSystem& printers, platform::Notifier& notifier,
                           Outbox& outbox, platform::Timer& retry_timer,
                           platform::Timer& watch_timer)
    : printers_(printers),
      notifier_(notifier),
      outbox_(outbox),
      retry_timer_(retry_timer),
      watch_timer_(watch_timer) {}

PrintService::~PrintService() {
  retry_timer_.Stop();
  watch_timer_.Stop();
}

PrintService::PerPrinterQueue& PrintService::QueueFor(const std::u16string& printer) {
  PerPrinterQueue& queue = queues_[platform::PrinterNameKey(printer)];
  if (queue.entries.empty()) queue.label = PrinterLabel(printer);
  return queue;
}

PrintService::Device& PrintService::DeviceFor(const std::u16string& name) {
  Device& device = devices_[platform::PrinterNameKey(name)];
  if (device.name.empty()) device.name = name;
  return device;
}

void PrintService::Start() {
  std::vector<std::u16string> set_aside;
  const std::vector<TicketRecord> waiting = outbox_.Load(set_aside);
  for (const std::u16string& name : set_aside) {
    Log(u"No se pudo leer el ticket " + name +
        u" de la bandeja de salida: se apartó en outbox/descartados");
  }
  if (outbox_.DamagedIndexLines() > 0) {
    Log(u"El índice de impresos/ tenía " + Count(outbox_.DamagedIndexLines()) +
        u" líneas dañadas: se rehízo con los tickets que guarda (" +
        Count(outbox_.RecoveredFromFiles()) + u" recuperados de sus archivos)");
  }
  if (waiting.empty()) return;
  std::size_t in_printer = 0;
  for (const TicketRecord& record : waiting) {
    Entry entry;
    entry.record = record;
    entry.stored = true;
    entry.waited = true;
    QueueFor(record.ticket.printer).entries.push_back(std::move(entry));
    if (!record.InPrinter()) continue;
    DeviceFor(record.sent_to);
    ++in_printer;
  }
  const std::size_t unsent = waiting.size() - in_printer;
  if (unsent > 0) {
    Log(unsent == 1 ? u"1 ticket de la ejecución anterior espera su impresora"
                    : Count(unsent) + u" tickets de la ejecución anterior esperan su impresora");
  }
  if (in_printer > 0) {
    Log(in_printer == 1
            ? u"1 ticket de la ejecución anterior estaba en la impresora: se pregunta por él"
            : Count(in_printer) +
                  u" tickets de la ejecución anterior estaban en la impresora: se pregunta por "
                  u"ellos");
    // Before anything new goes to their printers.
    OnWatchTick();
  }
  Changed();
  ScheduleRetry(0);
}

Delivery PrintService::Print(DrawnTicket ticket) {
  Entry entry;
  entry.record = outbox_.Number(std::move(ticket));
  entry.stored = outbox_.Store(entry.record);
  const bool stored = entry.stored;
  if (!entry.stored) {
    Log(u"No se pudo guardar " + TicketName(entry.record) + u" en la bandeja de salida " +
        platform::Utf8ToUtf16(outbox_.Folder().string()) + u": se envía sin copia");
  }
  if (taken_) taken_();
  const std::uint64_t id = entry.record.id;
  PerPrinterQueue& queue = QueueFor(entry.record.ticket.printer);
  const bool was_waiting =
      std::any_of(queue.entries.begin(), queue.entries.end(),
                  [](const Entry& queued) { return !queued.record.InPrinter(); });
  queue.entries.push_back(std::move(entry));
  for (const auto& [sent_id, printer] : Flush(queue)) {
    if (sent_id != id) continue;
    SchedulePruning();
    if (!stored) ReportUnstored(1);
    return {true, printer};
  }
  if (!stored) ReportUnstored(0);

  Entry& waiting = queue.entries.back();
  waiting.waited = true;
  if (waiting.stored) outbox_.MakeDurable(waiting.record);
  if (const Device* device = HeldUpBy(queue)) {
    if (device->not_responding)
      devices_[platform::PrinterNameKey(device->name)].held_up.insert(waiting.record.id);
    queue.failure = device->not_responding ? u"La impresora " + device->name + u" no responde"
                                           : u"Se pregunta a la impresora " + device->name +
                                                 u" por los tickets que ya tenía";
    queue.failed_printer = device->name;
  } else if (!was_waiting) {
    ReportUnavailable(queue.failed_printer, queue.failure);
  }
  Log(TicketName(waiting.record) + u" en espera de la impresora " + queue.label + u": " +
      queue.failure);
  if (!HeldUpBy(queue)) ReportWaiting(queue);
  Changed();
  ScheduleRetry(kFirstRetryMs);
  return {};
}

const PrintService::Device* PrintService::HeldUpBy(const PerPrinterQueue& queue) const {
  for (const Entry& entry : queue.entries) {
    if (!entry.record.InPrinter()) continue;
    const auto device = devices_.find(platform::PrinterNameKey(entry.record.sent_to));
    if (device == devices_.end()) continue;
    if (!device->second.known || device->second.not_responding) return &device->second;
  }
  return nullptr;
}

std::vector<std::pair<std::uint64_t, std::u16string>> PrintService::Flush(PerPrinterQueue& queue) {
  std::vector<std::pair<std::uint64_t, std::u16string>> sent;
  if (HeldUpBy(queue) != nullptr) return sent;
  for (std::size_t i = 0; i < queue.entries.size();) {
    if (queue.entries[i].record.InPrinter() || queue.entries[i].set_aside) {
      ++i;
      continue;
    }
    const std::uint64_t id = queue.entries[i].record.id;
    std::int64_t job = platform::kNoJob;
    std::u16string refusal;  // why a printer that was there and ready refused this ticket
    const Routing routing = Route(
        printers_, queue.entries[i].record.ticket.printer, [&](platform::PrinterQueue& spooler) {
          try {
            job = spooler.PrintTicket(queue.entries[i].record.ticket.content);
          } catch (const platform::Failure& failure) {
            if (refusal.empty()) refusal = failure.Description();
            throw;
          }
          // Accepted: recorded before anything else, so that a stop right now can send it a
          // second time only in the time of this one call.
          Accepted(queue, queue.entries[i], spooler.DeviceName(), job);
          // Nothing after the acceptance may look like a refusal: that would send it again.
          try {
            spooler.AfterAccepted();
          } catch (...) {
          }
        });
    if (!routing.Accepted()) {
      queue.failure = routing.failure;
      queue.failed_printer = routing.failed_printer;
      Entry& refused = queue.entries[i];
      refused.refusals = refusal.empty() ? 0 : refused.refusals + 1;
      if (refused.refusals < kRefusalsBeforeSetAside) break;
      // The same ticket refused again and again: the ones behind it go.
      refused.set_aside = true;
      const std::u16string text = TicketName(refused.record) + u" no se puede imprimir en " +
                                  queue.label + u": " + refusal +
                                  u"; se aparta para que pasen los siguientes";
      Log(text);
      notifier_.ShowBalloonTip(text, platform::BalloonIcon::kWarning, kWaitingTitle,
                               kBalloonTimeoutMs);
      Changed();
      ++i;
      continue;
    }
    sent.emplace_back(id, routing.printer);
    if (job != platform::kNoJob) ++i;  // in the printer now; a printed one left the queue
  }
  AnnounceFlushed(queue);
  return sent;
}

void PrintService::Accepted(PerPrinterQueue& queue, Entry& entry, const std::u16string& device,
                            std::int64_t job) {
  took_tickets_.try_emplace(platform::PrinterNameKey(device), device);
  if (job == platform::kNoJob) {
    Printed(queue, entry, device);
    return;
  }
  entry.record.sent_to = device;
  entry.record.job = job;
  entry.held_ms = 0;
  Keep(entry);
  // A printer first met now has nothing of an earlier run to ask about.
  const bool met_now = !devices_.contains(platform::PrinterNameKey(device));
  Device& watched = DeviceFor(device);
  if (met_now) watched.known = true;
  ScheduleWatch();
  Changed();
}

void PrintService::Printed(PerPrinterQueue& queue, Entry& entry, const std::u16string& device) {
  outbox_.MarkPrinted(entry.record, entry.stored, device);
  if (entry.waited) {
    ++queue.printed_after_wait;
    Log(TicketName(entry.record) + u" impreso en " + device);
  }
  if (!entry.moved_from.empty()) {
    const std::u16string key = platform::PrinterNameKey(entry.moved_from);
    auto& [pending, total] = moves_[key];
    if (--pending <= 0) {
      notifier_.ShowBalloonTip(
          total <= 1 ? u"El ticket de " + entry.moved_from + u" se imprimió en " + device
                     : u"Los tickets de " + entry.moved_from + u" se imprimieron en " + device,
          platform::BalloonIcon::kInformation, kWaitingTitle, kBalloonTimeoutMs);
      moves_.erase(key);
    }
  }
  Erase(queue, entry);
  Changed();
}

void PrintService::Keep(Entry& entry) {
  const bool written = outbox_.StoreDurably(entry.record);
  entry.stale = !written && entry.stored;
  entry.stored = entry.stored || written;
  if (!written) ReportUnstored(0);
}

void PrintService::Erase(PerPrinterQueue& queue, const Entry& entry) {
  const std::uint64_t id = entry.record.id;
  std::erase_if(queue.entries, [id](const Entry& queued) { return queued.record.id == id; });
}

void PrintService::AnnounceFlushed(PerPrinterQueue& queue) {
  const bool waiting = std::any_of(queue.entries.begin(), queue.entries.end(),
                                   [](const Entry& entry) { return !entry.record.InPrinter(); });
  if (waiting || queue.printed_after_wait == 0) return;
  const int count = queue.printed_after_wait;
  notifier_.ShowBalloonTip(count == 1
                               ? u"Se imprimió el ticket que esperaba la impresora " + queue.label
                               : u"Se imprimieron los " + Count(count) +
                                     u" tickets que esperaban la impresora " + queue.label,
                           platform::BalloonIcon::kInformation, kWaitingTitle, kBalloonTimeoutMs);
  queue.printed_after_wait = 0;
  queue.announced = false;
  Changed();
}

void PrintService::ReportWaiting(PerPrinterQueue& queue) {
  const auto count = std::count_if(queue.entries.begin(), queue.entries.end(),
                                   [](const Entry& entry) { return !entry.record.InPrinter(); });
  notifier_.ShowBalloonTip(WaitingText(static_cast<std::size_t>(count), queue.label),
                           platform::BalloonIcon::kWarning, kWaitingTitle, kBalloonTimeoutMs);
  queue.announced = true;
}

void PrintService::OnRetryTimer() {
  timer_pending_ = false;
  outbox_.Prune();
  const bool without_copy = StoreUnstored();
  bool waiting = false;
  const auto unsent = [](const PerPrinterQueue& queue) {
    return std::count_if(queue.entries.begin(), queue.entries.end(), [](const Entry& entry) {
      return !entry.record.InPrinter() && !entry.set_aside;
    });
  };
  for (auto& [key, queue] : queues_) {
    const auto before = unsent(queue);
    if (before == 0) continue;
    Flush(queue);
    const auto after = unsent(queue);
    if (after != before && after != 0) Changed();
    if (after == 0) continue;
    waiting = true;
    // A queue held up by a printer that does not respond is told of as such.
    if (!queue.announced && HeldUpBy(queue) == nullptr) ReportWaiting(queue);
  }
  if (waiting || without_copy) {
    ScheduleRetry(std::min(retry_delay_ms_ * 2, kLongestRetryMs));
  } else {
    retry_delay_ms_ = kFirstRetryMs;
  }
}

std::size_t PrintService::UnstoredCount() const {
  std::size_t count = 0;
  for (const auto& [key, queue] : queues_) {
    count += static_cast<std::size_t>(
        std::count_if(queue.entries.begin(), queue.entries.end(),
                      [](const Entry& e) { return !e.stored || e.stale; }));
  }
  return count;
}

bool PrintService::StoreUnstored() {
  const std::size_t before = UnstoredCount();
  if (before == 0) return false;
  for (auto& [key, queue] : queues_) {
    for (Entry& entry : queue.entries) {
      if (!entry.stored || entry.stale) Keep(entry);
    }
  }
  const std::size_t after = UnstoredCount();
  if (after == 0) {
    Log(before == 1 ? u"El ticket sin copia ya está guardado en la bandeja de salida"
                    : u"Los " + Count(before) +
                          u" tickets sin copia ya están guardados en la bandeja de salida");
    Changed();
  }
  return after > 0;
}

void PrintService::ReportUnstored(std::size_t printed) {
  const std::size_t count = UnstoredCount() + printed;
  if (count == 0) return;
  notifier_.ShowBalloonTip(u"No hay espacio en disco: " + Count(count) +
                               (count == 1 ? u" ticket sin copia" : u" tickets sin copia"),
                           platform::BalloonIcon::kError, kWaitingTitle, kBalloonTimeoutMs);
  if (!timer_pending_) ScheduleRetry(kFirstRetryMs);
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
  for (auto& [key, queue] : queues_) {
    for (Entry& entry : queue.entries) {
      entry.set_aside = false;
      entry.refusals = 0;
    }
  }
  retry_delay_ms_ = kFirstRetryMs / 2;
  OnRetryTimer();
}

std::vector<WaitingTicket> PrintService::Waiting() const {
  std::vector<WaitingTicket> waiting;
  for (const auto& [key, queue] : queues_) {
    const Device* held_up_by = HeldUpBy(queue);
    for (const Entry& entry : queue.entries) {
      WaitingTicket ticket;
      ticket.id = entry.record.id;
      ticket.printer = queue.label;
      ticket.kind = entry.record.ticket.kind;
      ticket.created = entry.record.created;
      ticket.failure = queue.failure;
      ticket.in_printer = entry.record.InPrinter();
      ticket.set_aside = entry.set_aside;
      if (held_up_by != nullptr && held_up_by->not_responding) {
        ticket.stuck_on = held_up_by->name;
        ticket.failure = held_up_by->fault.empty() ? u"no responde" : held_up_by->fault;
      } else if (ticket.in_printer) {
        ticket.failure.clear();
      }
      waiting.push_back(std::move(ticket));
    }
  }
  std::sort(waiting.begin(), waiting.end(),
            [](const WaitingTicket& a, const WaitingTicket& b) { return a.id < b.id; });
  return waiting;
}

std::pair<PrintService::PerPrinterQueue*, PrintService::Entry*> PrintService::Find(
    std::uint64_t id) {
  for (auto& [key, queue] : queues_) {
    for (Entry& entry : queue.entries) {
      if (entry.record.id == id) return {&queue, &entry};
    }
  }
  return {nullptr, nullptr};
}

bool PrintService::Discard(std::uint64_t id) {
  const auto [queue, entry] = Find(id);
  if (entry == nullptr) return false;
  if (entry->record.InPrinter()) {
    // Taken back from the spooler first: a discarded ticket must not print after all.
    try {
      printers_.CancelJob(entry->record.sent_to, entry->record.job);
    } catch (const platform::Failure& error) {
      Log(u"No se pudo cancelar " + TicketName(entry->record) + u" en la impresora " +
          entry->record.sent_to + u": " + error.Description());
      return false;
    }
  }
  if (!outbox_.Discard(entry->record, entry->stored)) return false;
  Log(TicketName(entry->record) + u" descartado: queda en outbox/descartados");
  Erase(*queue, *entry);
  if (queue->entries.empty()) {
    queue->printed_after_wait = 0;
    queue->announced = false;
  }
  Changed();
  return true;
}

std::optional<Delivery> PrintService::Reprint(std::uint64_t id, const std::u16string& printer) {
  const auto printed = std::find_if(Printed().begin(), Printed().end(),
                                    [id](const PrintedTicket& ticket) { return ticket.id == id; });
  if (printed == Printed().end()) return std::nullopt;
  std::optional<TicketRecord> record = outbox_.ReadPrinted(id);
  if (!record) return std::nullopt;
  record->ticket.printer = platform::TrimBlanks(printer).empty() ? printed->printer : printer;
  record->ticket.origin.clear();  // a new ticket, of no job
  return Print(std::move(record->ticket));
}

std::optional<DrawnTicket> PrintService::TicketOf(std::uint64_t id) const {
  for (const auto& [name, queue] : queues_) {
    for (const Entry& entry : queue.entries) {
      if (entry.record.id == id) return entry.record.ticket;
    }
  }
  std::optional<TicketRecord> printed = outbox_.ReadPrinted(id);
  if (!printed) return std::nullopt;
  return std::move(printed->ticket);
}

std::vector<UsedPrinter> PrintService::UsedPrinters() const {
  std::vector<UsedPrinter> used;
  std::map<std::u16string, std::size_t> index;  // by name in capitals
  auto add = [&](const std::u16string& name, bool not_responding) {
    const auto [place, added] = index.try_emplace(platform::PrinterNameKey(name), used.size());
    if (added) used.push_back({name, false});
    used[place->second].not_responding = used[place->second].not_responding || not_responding;
  };
  for (const auto& [key, name] : took_tickets_) {
    const auto device = devices_.find(key);
    add(name, device != devices_.end() && device->second.not_responding);
  }
  // A name no printer took tickets for yet is known by the tickets waiting for it.
  for (const auto& [key, queue] : queues_) {
    const bool waiting = std::any_of(queue.entries.begin(), queue.entries.end(),
                                     [](const Entry& entry) { return !entry.record.InPrinter(); });
    if (!waiting || queue.label == PrinterLabel(u"")) continue;
    // Held up behind a printer, or refused by its own.
    const Device* held_up_by = HeldUpBy(queue);
    add(queue.label, held_up_by == nullptr || held_up_by->not_responding);
  }
  for (const auto& [key, device] : devices_) add(device.name, device.not_responding);
  return used;
}

void PrintService::SendRaw(std::u16string_view printer, const std::string& bytes) {
  // Now or never: a second try after a stop would open the drawer twice.
  if (taken_) taken_();
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
                           platform::BalloonIcon::kError, u"Error al imprimir", kBalloonTimeoutMs);
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

std::u16string TicketName(const TicketRecord& record) {
  return u"Ticket " + platform::Utf8ToUtf16(std::to_string(record.id)) + u" (" +
         record.ticket.kind + u")";
}

std::u16string NotRespondingText(std::u16string_view printer, std::size_t count,
                                 std::u16string_view fault) {
  std::u16string text = u"La impresora " + std::u16string(printer) + u" no responde: " +
                        Count(count) + (count == 1 ? u" ticket" : u" tickets") + u" sin imprimir";
  if (!fault.empty()) text += u" (" + std::u16string(fault) + u")";
  return text;
}

DrawnTicket MarkedAsCopy(DrawnTicket ticket, std::u16string_view printer) {
  platform::TicketFont font{u"Courier New", 10, false, false};
  auto& lines = ticket.content.lines;
  if (!lines.empty() && !lines.front().runs.empty()) {
    font = lines.front().runs.front().font;
    font.bold = false;
    font.italic = false;
  }
  const std::u16string text = u"COPIA: la impresora " + std::u16string(printer) + u" no respondió";
  lines.insert(lines.begin(), platform::TicketLine{{{1, text, font}}, font.size});
  // Pictures keep their place below the new first line: by line, and in twips from the top.
  for (platform::TicketPicture& picture : ticket.content.pictures) {
    ++picture.line_index;
    picture.y += 1.2 * font.size * 20;
  }
  return ticket;
}

std::u16string PrinterLabel(std::u16string_view printer) {
  return platform::TrimBlanks(printer).empty() ? u"predeterminada" : std::u16string(printer);
}

}  // namespace quillon::print
