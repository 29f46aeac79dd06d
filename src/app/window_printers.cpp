#include "app/window_printers.h"

#include "app/test_print.h"
#include "platform/failure.h"

namespace quillon::app {

std::vector<shell::PrinterStatus> WindowPrinters::Mapped() {
  std::vector<shell::PrinterStatus> mapped;
  for (const auto& printer : printing_.printers->Known())
    mapped.push_back({printer.name, printer.reached, printer.state, printer.direct});
  return mapped;
}

std::u16string WindowPrinters::DefaultPrinter() {
  try {
    return printing_.printers->DefaultPrinterName();
  } catch (const platform::Failure&) {
    // A printer system out of reach names none; the list goes on without it.
    return {};
  }
}

std::u16string WindowPrinters::HowReached(std::u16string_view printer) {
  return printing_.printers->HowReached(printer);
}

print::RequestAnswer WindowPrinters::PrintTest(const std::u16string& printer) {
  return PrintTestTicket(printing_, printer, kWindowPatienceMs);
}

}  // namespace quillon::app
