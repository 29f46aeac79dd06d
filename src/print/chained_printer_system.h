#pragma once
// Several printer systems seen as one: the spool printers of --spool first, then the CUPS ones.
#include <vector>

#include "platform/printer_system.h"

namespace quillon::print {

class ChainedPrinterSystem : public platform::PrinterSystem {
 public:
  // The systems must outlive this one; their printers are listed in this order.
  explicit ChainedPrinterSystem(std::vector<platform::PrinterSystem*> systems) : systems_(std::move(systems)) {}

  std::vector<std::shared_ptr<platform::PrinterQueue>> InstalledPrinters() override;
  // The first system's default printer that is named at all.
  std::u16string DefaultPrinterName() override;

 private:
  std::vector<platform::PrinterSystem*> systems_;
};

}  // namespace quillon::print
