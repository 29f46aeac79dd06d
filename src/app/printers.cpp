#include "app/printers.h"

#include "adapters/cups/cups_printers.h"
#include "adapters/spool/spool_printers.h"
#include "platform/text.h"
#include "print/chained_printer_system.h"

namespace quillon::app {
namespace {

// The spool folders first, then the CUPS queues; owns both. CUPS is only asked for a printer
// that no spool folder holds.
class SpoolThenCups final : public platform::PrinterSystem {
 public:
  explicit SpoolThenCups(const CommandLine& line)
      : spool_(line.spool_dir, platform::Utf8ToUtf16(line.default_printer)),
        chain_({&spool_, &cups_}) {}
  std::shared_ptr<platform::PrinterQueue> FindPrinter(std::u16string_view name) override {
    return chain_.FindPrinter(name);
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
