#include "print/chained_printer_system.h"

namespace quillon::print {

std::vector<std::shared_ptr<platform::PrinterQueue>> ChainedPrinterSystem::InstalledPrinters() {
  std::vector<std::shared_ptr<platform::PrinterQueue>> all;
  for (platform::PrinterSystem* system : systems_) {
    auto printers = system->InstalledPrinters();
    all.insert(all.end(), printers.begin(), printers.end());
  }
  return all;
}

std::u16string ChainedPrinterSystem::DefaultPrinterName() {
  for (platform::PrinterSystem* system : systems_) {
    std::u16string name = system->DefaultPrinterName();
    if (!name.empty()) return name;
  }
  return {};
}

}  // namespace quillon::print
