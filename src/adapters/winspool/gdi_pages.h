#pragma once
// A ticket drawn with GDI as one roll-sized page (print/ticket_page.h) for a printer with a
// driver: a monospaced font at the recorded columns and sizes, pictures in their rectangles.
#include <string>

#include "platform/printer_system.h"

namespace quillon::adapters::winspool {

// One job on the Windows printer `printer`; raises platform::Failure.
void PrintTicketPages(const std::u16string& printer, const platform::Ticket& ticket);

}  // namespace quillon::adapters::winspool
