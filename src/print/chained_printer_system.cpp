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

}  // namespace quillon::print
