#include <exception>

#include "print/print_engine.h"

namespace quillon::print {

void PrintEngine::OpenCashDrawer() {
  // ESC p 0 60 240: pulse drawer pin 2 for 120 ms, then wait 480 ms. No line end.
  static const std::string kDrawerKick{'\x1b', 'p', '\x00', '\x3c', '\xf0'};
  try {
    if (!SelectPrinter(PrinterIndex(u"Facturas"), 0)) return;
    SendRawToCurrent(kDrawerKick);
  } catch (const std::exception&) {
    // Opening the drawer is best effort: a till without one must not disturb the user.
  }
}

}  // namespace quillon::print
