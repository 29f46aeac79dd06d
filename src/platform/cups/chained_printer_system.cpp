#include "platform/cups/chained_printer_system.h"

namespace quillon::platform::cups {

std::vector<std::shared_ptr<PrinterQueue>> ChainedPrinterSystem::InstalledPrinters() {
  std::vector<std::shared_ptr<PrinterQueue>> all;
  for (PrinterSystem* system : systems_) {
    auto printers = system->InstalledPrinters();
    all.insert(all.end(), printers.begin(), printers.end());
  }
  return all;
}

std::u16string ChainedPrinterSystem::DefaultPrinterName() {
  for (PrinterSystem* system : systems_) {
    std::u16string name = system->DefaultPrinterName();
    if (!name.empty()) return name;
  }
  return {};
}

}  // namespace quillon::platform::cups
