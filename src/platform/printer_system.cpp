#include "platform/printer_system.h"

#include "platform/text.h"

namespace quillon::platform {

bool SamePrinterName(std::u16string_view a, std::u16string_view b) {
  return PrinterNameKey(a) == PrinterNameKey(b);
}

std::u16string PrinterNameKey(std::u16string_view name) { return ToUpper(TrimBlanks(name)); }

}  // namespace quillon::platform
