#pragma once
// The cash drawer hangs off the printer named "Facturas" and opens on a raw pulse command.
#include "print/print_service.h"

namespace quillon::print {

// Sends the drawer kick to "Facturas" (else the default printer) now. A drawer opened minutes
// later is a risk at the till, so a kick that no printer takes is never kept for later: it raises
// platform::Failure.
void OpenCashDrawer(PrintService& printing);

}  // namespace quillon::print
