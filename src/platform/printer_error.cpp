#include "platform/printer_system.h"
#include "platform/text.h"

namespace quillon::platform {

PrinterError::PrinterError(int number, std::u16string description)
    : std::runtime_error(Utf16ToUtf8(description)),
      number_(number),
      description_(std::move(description)) {}

}  // namespace quillon::platform
