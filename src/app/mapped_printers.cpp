#include "app/mapped_printers.h"

#include "platform/text.h"

namespace quillon::app {
namespace {

namespace net = adapters::network_printer;

std::vector<std::pair<std::u16string, net::PrinterAddress>> NetworkPrinters(
    const CommandLine& line) {
  std::vector<std::pair<std::u16string, net::PrinterAddress>> printers;
  for (const auto& [name, value] : line.printer_map) {
    if (const auto address = net::ParsePrinterAddress(value))
      printers.emplace_back(platform::Utf8ToUtf16(name), *address);
  }
  return printers;
}

}  // namespace

MappedPrinters::MappedPrinters(const CommandLine& line,
                               std::unique_ptr<platform::PrinterSystem> system,
                               const net::NetworkPrinterSystem::SocketMaker& sockets,
                               const net::NetworkPrinterSystem::TimerMaker& timers,
                               const net::PrinterEvents& events,
                               const platform::PictureDecoder* pictures)
    : system_(std::move(system)),
      network_(NetworkPrinters(line), sockets, timers, events, pictures) {
  bool default_mapped = false;
  for (const auto& [name, value] : line.printer_map) {
    const std::u16string wide = platform::Utf8ToUtf16(name);
    if (platform::SamePrinterName(wide, platform::Utf8ToUtf16(line.default_printer)))
      default_mapped = true;
    if (net::LooksLikeAddress(value)) continue;
    aliases_[platform::PrinterNameKey(wide)] = {wide, platform::Utf8ToUtf16(value)};
  }
  if (default_mapped) default_ = platform::Utf8ToUtf16(line.default_printer);
}

std::shared_ptr<platform::PrinterQueue> MappedPrinters::FindPrinter(std::u16string_view name) {
  if (auto queue = network_.FindPrinter(name)) return queue;
  const auto alias = aliases_.find(platform::PrinterNameKey(name));
  return system_->FindPrinter(alias == aliases_.end() ? name : alias->second.target);
}

std::u16string MappedPrinters::DefaultPrinterName() {
  return default_.empty() ? system_->DefaultPrinterName() : default_;
}

platform::PrinterSystem& MappedPrinters::Holding(std::u16string_view printer) {
  if (network_.FindPrinter(printer)) return network_;
  return *system_;
}

std::vector<platform::JobReport> MappedPrinters::FollowJobs(std::u16string_view printer,
                                                            const std::vector<std::int64_t>& jobs) {
  return Holding(printer).FollowJobs(printer, jobs);
}

void MappedPrinters::CancelJob(std::u16string_view printer, std::int64_t job) {
  Holding(printer).CancelJob(printer, job);
}

std::vector<std::u16string> MappedPrinters::PrinterNames() {
  std::vector<std::u16string> names = network_.PrinterNames();
  for (const auto& [key, alias] : aliases_) names.push_back(alias.name);
  const std::vector<std::u16string> system_names = system_->PrinterNames();
  names.insert(names.end(), system_names.begin(), system_names.end());
  return names;
}

std::vector<net::KnownPrinter> MappedPrinters::Known() {
  std::vector<net::KnownPrinter> known = network_.Known();
  for (const auto& [key, alias] : aliases_) {
    std::u16string state = u"no está instalada";
    try {
      if (const auto queue = system_->FindPrinter(alias.target)) {
        state = queue->Fault().empty() ? u"listo" : queue->Fault();
      }
    } catch (const platform::Failure& failure) {
      state = failure.Description();
    }
    known.push_back({alias.name, HowReached(alias.name), state, false});
  }
  return known;
}

std::u16string MappedPrinters::HowReached(std::u16string_view name) const {
  for (const net::KnownPrinter& printer : network_.Known()) {
    if (platform::SamePrinterName(printer.name, name)) return printer.reached;
  }
  const auto alias = aliases_.find(platform::PrinterNameKey(name));
  if (alias != aliases_.end()) return u"alias de la impresora " + alias->second.target;
  return u"cola del sistema";
}

}  // namespace quillon::app
