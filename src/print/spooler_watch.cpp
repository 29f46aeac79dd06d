// The print service's watch over the tickets a spooler holds: asked about every few seconds while
// there are any, never when there are none.
#include <algorithm>

#include "platform/text.h"
#include "print/print_service.h"

namespace quillon::print {
namespace {

constexpr int kBalloonTimeoutMs = 30000;
constexpr char16_t kWatchTitle[] = u"Impresoras";

}  // namespace

void PrintService::ScheduleWatch() {
  if (watching_) return;
  watching_ = true;
  watch_timer_.StartOnce(kWatchIntervalMs, [this] { OnWatchTick(); });
}

std::vector<std::pair<std::uint64_t, std::int64_t>> PrintService::InFlightOn(
    const Device& device) const {
  std::vector<std::pair<std::uint64_t, std::int64_t>> flights;
  const std::u16string key = platform::PrinterNameKey(device.name);
  for (const auto& [queue_key, queue] : queues_) {
    for (const Entry& entry : queue.entries) {
      if (entry.record.InPrinter() && platform::PrinterNameKey(entry.record.sent_to) == key) {
        flights.emplace_back(entry.record.id, entry.record.job);
      }
    }
  }
  std::sort(flights.begin(), flights.end());
  return flights;
}

void PrintService::OnWatchTick() {
  watching_ = false;
  std::vector<std::u16string> held_up;
  for (const auto& [key, queue] : queues_) {
    if (HeldUpBy(queue) != nullptr) held_up.push_back(key);
  }
  for (auto& [key, device] : devices_) {
    if (InFlightOn(device).empty()) continue;
    FollowDevice(device);
  }
  // Lines that waited behind a printer may go now.
  for (const std::u16string& key : held_up) {
    PerPrinterQueue& queue = queues_[key];
    if (HeldUpBy(queue) == nullptr) Flush(queue);
  }
  for (auto& [key, device] : devices_) {
    if (!InFlightOn(device).empty()) ScheduleWatch();
  }
}

void PrintService::FollowDevice(Device& device) {
  const auto flights = InFlightOn(device);
  std::vector<std::int64_t> jobs;
  jobs.reserve(flights.size());
  for (const auto& flight : flights) jobs.push_back(flight.second);
  std::vector<platform::JobReport> reports;
  try {
    reports = printers_.FollowJobs(device.name, jobs);
  } catch (const platform::Failure& error) {
    // Its jobs stay as they were: asked again at the next turn.
    if (!device.unreachable)
      Log(u"No se pudo preguntar por los tickets de la impresora " + device.name + u": " +
          error.Description());
    device.unreachable = true;
    return;
  }
  device.unreachable = false;
  const bool was_known = device.known;
  device.known = true;
  for (const platform::JobReport& report : reports) {
    const auto flight = std::find_if(flights.begin(), flights.end(),
                                     [&](const auto& f) { return f.second == report.job; });
    if (flight != flights.end()) Follow(device, flight->first, report.state);
  }
  if (!was_known) Changed();
  CheckResponding(device);
}

void PrintService::Follow(Device& device, std::uint64_t id, platform::JobState state) {
  const auto [queue, entry] = Find(id);
  if (entry == nullptr) return;
  switch (state) {
    case platform::JobState::kQueued:
      entry->held_ms += kWatchIntervalMs;
      return;
    case platform::JobState::kHeld:
      // The spooler keeps it back and tries again on its own later: the printer does not
      // respond, and the ticket moves with the rest when it is time.
      entry->held_ms += kWatchIntervalMs;
      device.job_held = true;
      return;
    case platform::JobState::kCompleted:
      if (device.not_responding || !device.held_up.empty()) ++device.printed_since;
      Printed(*queue, *entry, device.name);
      Changed();
      return;
    case platform::JobState::kAborted: {
      Log(TicketName(entry->record) + u" no se pudo imprimir en " + device.name +
          u": el trabajo se abortó; se enviará de nuevo");
      entry->record.sent_to.clear();
      entry->record.job = platform::kNoJob;
      entry->waited = true;
      Keep(*entry);
      queue->failure = u"La impresora " + device.name + u" abortó el trabajo";
      queue->failed_printer = device.name;
      device.job_held = true;
      Changed();
      ScheduleRetry(kFirstRetryMs);
      return;
    }
    case platform::JobState::kCanceled: {
      // Someone took it off the printer on purpose: it is not sent again, but kept.
      const std::u16string text = u"El ticket " + platform::Utf8ToUtf16(std::to_string(id)) +
                                  u" (" + entry->record.ticket.kind +
                                  u") se canceló en la impresora " + device.name +
                                  u": queda en outbox/descartados";
      if (!outbox_.Discard(entry->record, entry->stored)) return;
      Log(text);
      notifier_.ShowBalloonTip(text, platform::BalloonIcon::kWarning, kWatchTitle,
                               kBalloonTimeoutMs);
      Erase(*queue, *entry);
      Changed();
      return;
    }
  }
}

void PrintService::CheckResponding(Device& device) {
  const auto flights = InFlightOn(device);
  if (flights.empty()) {
    device.job_held = false;
    // It finished what it had: the tickets behind may go, and once they printed it is back.
    // One that printed nothing (its tickets moved away) is still known not to respond.
    if (device.printed_since == 0) return;
    device.not_responding = false;
    if (!StillHoldsUp(device)) DeviceBack(device);
    return;
  }
  int longest = 0;
  for (const auto& flight : flights)
    longest = std::max(longest, Find(flight.first).second->held_ms);
  std::u16string fault = device.fault;
  try {
    const auto spooler = printers_.FindPrinter(device.name);
    fault = spooler ? spooler->Fault() : u"no está instalada";
  } catch (const platform::Failure&) {
    // Its state stays as last read.
  }
  if (fault.empty() && device.job_held) fault = u"no se pudo enviar el trabajo";
  const bool stuck = !fault.empty() || longest >= kLongestHoldMs;
  if (!device.not_responding) {
    if (!stuck) return;
    device.not_responding = true;
    device.not_responding_ms = 0;
    device.printed_since = 0;
    device.fault = fault;
    device.held_up.clear();
    for (const auto& [queue_key, queue] : queues_) {
      if (HeldUpBy(queue) != &device) continue;
      for (const Entry& entry : queue.entries) device.held_up.insert(entry.record.id);
    }
    const std::u16string text = NotRespondingText(device.name, HeldUpCount(device), fault);
    Log(text);
    notifier_.ShowBalloonTip(text, platform::BalloonIcon::kWarning, kWatchTitle, kBalloonTimeoutMs);
    Changed();
  } else {
    device.not_responding_ms += kWatchIntervalMs;
    if (fault != device.fault) {
      device.fault = fault;
      Changed();
    }
  }
  // Each ticket has its own printer's time before it moves, even when that printer failed before.
  if (fallback_after_ms_ > 0 && device.not_responding_ms >= fallback_after_ms_ &&
      longest >= std::min(kLongestHoldMs, fallback_after_ms_)) {
    MoveToDefault(device);
  }
}

void PrintService::DeviceBack(Device& device) {
  const int count = device.printed_since;
  const std::u16string text =
      u"La impresora " + device.name + u" volvió: " +
      (count == 1
           ? std::u16string(u"se imprimió el ticket")
           : u"se imprimieron los " + platform::Utf8ToUtf16(std::to_string(count)) + u" tickets");
  Log(text);
  notifier_.ShowBalloonTip(text, platform::BalloonIcon::kInformation, kWatchTitle,
                           kBalloonTimeoutMs);
  device.not_responding = false;
  device.not_responding_ms = 0;
  device.printed_since = 0;
  device.fault.clear();
  device.held_up.clear();
  Changed();
}

bool PrintService::StillHoldsUp(const Device& device) const {
  for (const auto& [key, queue] : queues_) {
    for (const Entry& entry : queue.entries) {
      if (device.held_up.contains(entry.record.id)) return true;
    }
  }
  return false;
}

std::size_t PrintService::HeldUpCount(const Device& device) const {
  const std::u16string key = platform::PrinterNameKey(device.name);
  std::size_t count = 0;
  for (const auto& [queue_key, queue] : queues_) {
    const bool held = std::any_of(queue.entries.begin(), queue.entries.end(), [&](const Entry& e) {
      return e.record.InPrinter() && platform::PrinterNameKey(e.record.sent_to) == key;
    });
    if (!held) continue;
    for (const Entry& entry : queue.entries) {
      if (!entry.record.InPrinter() || platform::PrinterNameKey(entry.record.sent_to) == key)
        ++count;
    }
  }
  return count;
}

std::vector<std::uint64_t> PrintService::TakeBackFrom(Device& device) {
  const auto flights = InFlightOn(device);
  std::vector<std::int64_t> jobs;
  std::vector<platform::JobReport> reports;
  try {
    for (const auto& [id, job] : flights) {
      printers_.CancelJob(device.name, job);
      jobs.push_back(job);
    }
    reports = printers_.FollowJobs(device.name, jobs);
  } catch (const platform::Failure& error) {
    Log(u"No se pudieron retirar los tickets de la impresora " + device.name + u": " +
        error.Description());
    return {};
  }
  // A ticket that printed meanwhile stays printed; one still there stays until it can be taken.
  std::vector<std::uint64_t> taken_back;
  for (const platform::JobReport& report : reports) {
    const auto flight = std::find_if(flights.begin(), flights.end(),
                                     [&](const auto& f) { return f.second == report.job; });
    if (flight == flights.end()) continue;
    if (report.state == platform::JobState::kCompleted) {
      Follow(device, flight->first, report.state);
    } else if (report.state == platform::JobState::kCanceled ||
               report.state == platform::JobState::kAborted) {
      taken_back.push_back(flight->first);
    }
  }
  return taken_back;
}

std::deque<PrintService::Entry> PrintService::TakeEntries(
    const std::vector<std::uint64_t>& taken_back) {
  const auto taken = [&](std::uint64_t id) {
    return std::find(taken_back.begin(), taken_back.end(), id) != taken_back.end();
  };
  std::deque<Entry> moved;
  for (auto& [queue_key, queue] : queues_) {
    const bool held = std::any_of(queue.entries.begin(), queue.entries.end(),
                                  [&](const Entry& e) { return taken(e.record.id); });
    if (!held) continue;
    for (auto it = queue.entries.begin(); it != queue.entries.end();) {
      if (!taken(it->record.id) && it->record.InPrinter()) {
        ++it;
        continue;
      }
      moved.push_back(std::move(*it));
      it = queue.entries.erase(it);
    }
  }
  return moved;
}

void PrintService::MoveToDefault(Device& device) {
  std::u16string fallback;
  try {
    fallback = printers_.DefaultPrinterName();
  } catch (const platform::Failure&) {
    return;
  }
  // Its own tickets wait for it when it is the default printer, or when the default printer
  // does not respond either.
  if (fallback.empty() || platform::SamePrinterName(fallback, device.name)) return;
  const auto other = devices_.find(platform::PrinterNameKey(fallback));
  if (other != devices_.end() && other->second.not_responding) return;

  const std::vector<std::uint64_t> taken_back = TakeBackFrom(device);
  if (taken_back.empty()) return;

  std::deque<Entry> moved = TakeEntries(taken_back);
  PerPrinterQueue& target = QueueFor(fallback);
  for (Entry& entry : moved) {
    device.held_up.erase(entry.record.id);
    entry.record.ticket = MarkedAsCopy(std::move(entry.record.ticket), device.name);
    entry.record.ticket.printer = fallback;
    entry.record.sent_to.clear();
    entry.record.job = platform::kNoJob;
    entry.moved_from = device.name;
    entry.waited = false;
    entry.held_ms = 0;
    Keep(entry);
    target.entries.push_back(std::move(entry));
  }
  std::sort(target.entries.begin(), target.entries.end(),
            [](const Entry& a, const Entry& b) { return a.record.id < b.record.id; });
  auto& [pending, total] = moves_[platform::PrinterNameKey(device.name)];
  pending += static_cast<int>(moved.size());
  total += static_cast<int>(moved.size());
  Log(platform::Utf8ToUtf16(std::to_string(moved.size())) +
      (moved.size() == 1 ? u" ticket de " : u" tickets de ") + device.name +
      u" pasan a la impresora " + fallback + u", marcados como copia: " + device.name +
      u" no respondió");
  device.printed_since = 0;
  Flush(target);
  Changed();
}

}  // namespace quillon::print
