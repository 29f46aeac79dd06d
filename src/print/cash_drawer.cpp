#include "print/cash_drawer.h"

namespace quillon::print {

void OpenCashDrawer(PrintService& printing) {
  // ESC p 0 60 240: pulse drawer pin 2 for 120 ms, then wait 480 ms. No line end.
  static const std::string kDrawerKick{'\x1b', 'p', '\x00', '\x3c', '\xf0'};
  printing.SendRaw(u"Facturas", kDrawerKick);
}

}  // namespace quillon::print
