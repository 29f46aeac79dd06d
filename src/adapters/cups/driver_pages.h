#pragma once
// A ticket drawn as one roll-sized page (print/ticket_page.h) for a queue with a driver.
#include <string>

#include "platform/printer_system.h"

namespace quillon::adapters::cups {

// Draws the ticket with QPrinter on the CUPS queue `queue` as one job. Needs a QGuiApplication
// (the offscreen platform will do); raises platform::Failure.
void PrintTicketPages(const std::string& queue, const platform::Ticket& ticket);

}  // namespace quillon::adapters::cups
