#pragma once
// The running agent's printers as the window's Status page lists them, and its test ticket.
#include <string>
#include <string_view>
#include <vector>

#include "app/printers.h"
#include "shell/printer_rows.h"

namespace quillon::app {

class WindowPrinters final : public shell::PrinterDirectory {
 public:
  explicit WindowPrinters(Printing& printing) : printing_(printing) {}

  std::vector<shell::PrinterStatus> Mapped() override;
  std::u16string DefaultPrinter() override;
  std::u16string HowReached(std::u16string_view printer) override;
  print::RequestAnswer PrintTest(const std::u16string& printer) override;

 private:
  Printing& printing_;
};

}  // namespace quillon::app
