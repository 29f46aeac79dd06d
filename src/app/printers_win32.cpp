#include "adapters/spool/spool_printers.h"
#include "app/printers.h"
#include "platform/text.h"

namespace quillon::app {

std::unique_ptr<platform::PrinterSystem> MakePrinterSystem(const CommandLine& line) {
  return std::make_unique<adapters::spool::SpoolPrinterSystem>(
      line.spool_dir, platform::Utf8ToUtf16(line.default_printer));
}

}  // namespace quillon::app
