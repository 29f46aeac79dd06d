#include "print/chained_printer_system.h"

namespace quillon::print {

std::shared_ptr<platform::PrinterQueue> ChainedPrinterSystem::FindPrinter(
    std::u16string_view name) {
  for (platform::PrinterSystem* system : systems_) {
    if (auto queue = system->FindPrinter(name)) return queue;
  }
  return nullptr;
}

std::u16string ChainedPrinterSystem::DefaultPrinterName() {
  for (platform::PrinterSystem* system : systems_) {
    std::u16string name = system->DefaultPrinterName();
    if (!name.empty()) return name;
  }
  return {};
}

platform::PrinterSystem& ChainedPrinterSystem::Holding(std::u16string_view printer) {
  for (std::size_t i = 0; i + 1 < systems_.size(); ++i) {
    if (systems_[i]->FindPrinter(printer)) return *systems_[i];
  }
  return *systems_.back();
}

std::vector<platform::JobReport> ChainedPrinterSystem::FollowJobs(
    std::u16string_view printer, const std::vector<std::int64_t>& jobs) {
  return Holding(printer).FollowJobs(printer, jobs);
}

void ChainedPrinterSystem::CancelJob(std::u16string_view printer, std::int64_t job) {
  Holding(printer).CancelJob(printer, job);
}

}  // namespace quillon::print
