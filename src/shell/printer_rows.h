#pragma once
// The printers list of the Status page: each printer the agent knows, once, with how it is
// reached and its state as last seen. Nothing is asked of a printer to fill it.
#include <string>
#include <string_view>
#include <vector>

#include "print/print_service.h"
#include "print/reprint_requests.h"

namespace quillon::shell {

struct PrinterStatus {
  std::u16string name;
  std::u16string reached;  // "tcp://10.0.0.7:9100", "alias de la impresora X", "cola del sistema"
  std::u16string state;    // "listo", "sin papel"... "no responde", "sin estado"
  // Reached by the agent itself, which knows its state better than the print service.
  bool direct = false;
};

// What the window knows of the printers besides the print service, and the test ticket.
class PrinterDirectory {
 public:
  virtual ~PrinterDirectory() = default;
  // The printers of [impresoras] and --printer, as they last reported.
  virtual std::vector<PrinterStatus> Mapped() = 0;
  // Empty when there is none.
  virtual std::u16string DefaultPrinter() = 0;
  virtual std::u16string HowReached(std::u16string_view printer) = 0;
  // Prints the test ticket on `printer`, waiting only a moment: done, or why it still waits.
  virtual print::RequestAnswer PrintTest(const std::u16string& printer) = 0;
};

// The mapped printers, then those used since the start, then the default printer. A spooler
// printer the print service finds not responding is "no responde", whatever its queue said last;
// one that took its tickets is "listo"; the default printer unused yet is "sin estado". Without a
// directory, only the printers used.
std::vector<PrinterStatus> KnownPrinters(PrinterDirectory* directory,
                                         const std::vector<print::UsedPrinter>& used);

// "Cocina  tcp://10.0.0.7:9100  sin papel"
std::u16string PrinterRowText(const PrinterStatus& printer);

}  // namespace quillon::shell
