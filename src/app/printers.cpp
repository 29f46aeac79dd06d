#include "app/printers.h"

#include <vector>

#include "print/chained_printer_system.h"
#include "adapters/cups/cups_printers.h"
#include "adapters/spool/spool_printers.h"
#include "platform/text.h"

namespace quillon::app {
namespace {

// The spool folders first, then the CUPS queues; owns both.
class SpoolThenCups final : public platform::PrinterSystem {
 public:
  explicit SpoolThenCups(const CommandLine& line)
      : spool_(line.spool_dir, platform::Utf8ToUtf16(line.default_printer)),
        chain_({&spool_, &cups_}) {}
  std::vector<std::shared_ptr<platform::PrinterQueue>> InstalledPrinters() override {
    return chain_.InstalledPrinters();
  }
  std::u16string DefaultPrinterName() override { return chain_.DefaultPrinterName(); }

 private:
  adapters::spool::SpoolPrinterSystem spool_;
  adapters::cups::CupsPrinterSystem cups_;
  print::ChainedPrinterSystem chain_;
};

}  // namespace

std::unique_ptr<platform::PrinterSystem> MakePrinterSystem(const CommandLine& line) {
  if (line.spool_dir.empty()) return std::make_unique<adapters::cups::CupsPrinterSystem>();
  return std::make_unique<SpoolThenCups>(line);
}

}  // namespace quillon::app
