#include <exception>

#include "platform/failure.h"
#include "print/print_engine.h"

namespace quillon::print {

std::u16string PrintEngine::OpenCashDrawer() {
  // ESC p 0 60 240: pulse drawer pin 2 for 120 ms, then wait 480 ms. No line end.
  static const std::string kDrawerKick{'\x1b', 'p', '\x00', '\x3c', '\xf0'};
  try {
    if (!SelectPrinter(PrinterIndex(u"Facturas"), 0)) {
      return u"no hay impresora disponible para el cajón";
    }
    SendRawToCurrent(kDrawerKick);
  } catch (const std::exception& failure) {
    // No balloon of its own: the caller tells the user once, with the job.
    return platform::FailureDescription(failure);
  }
  return {};
}

}  // namespace quillon::print
