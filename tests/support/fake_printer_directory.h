#pragma once
// The printers of [impresoras] as the agent last saw them, and test tickets that are not
// printed at once.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/printer_rows.h"

namespace quillon::test {

class FakePrinterDirectory final : public shell::PrinterDirectory {
 public:
  std::vector<shell::PrinterStatus> Mapped() override { return mapped; }
  std::u16string DefaultPrinter() override { return default_printer; }
  std::u16string HowReached(std::u16string_view) override { return u"cola del sistema"; }
  print::RequestAnswer PrintTest(const std::u16string& printer) override {
    tested.push_back(printer);
    if (during_test) during_test();
    return {false, u"La prueba no se imprimió todavía: espera la impresora " + printer};
  }

  std::vector<shell::PrinterStatus> mapped;
  std::u16string default_printer;
  std::vector<std::u16string> tested;
  std::function<void()> during_test;  // what happens while the test ticket is printed
};

}  // namespace quillon::test
