#include "platform/printer_system.h"

#include "platform/text.h"

namespace quillon::platform {

bool SamePrinterName(std::u16string_view a, std::u16string_view b) {
  return ToUpper(TrimBlanks(a)) == ToUpper(TrimBlanks(b));
}

}  // namespace quillon::platform
