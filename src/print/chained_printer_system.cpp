#include "print/chained_printer_system.h"

#include <algorithm>

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

std::vector<std::u16string> ChainedPrinterSystem::PrinterNames() {
  std::vector<std::u16string> names;
  for (platform::PrinterSystem* system : systems_) {
    for (std::u16string& name : system->PrinterNames()) {
      if (std::none_of(names.begin(), names.end(), [&](const std::u16string& known) {
            return platform::SamePrinterName(known, name);
          })) {
        names.push_back(std::move(name));
      }
    }
  }
  return names;
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
