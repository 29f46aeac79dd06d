#pragma once
// The test ticket: shows that a printer works and how the agent reaches it.
#include <string_view>

#include "app/printers.h"
#include "platform/clock.h"
#include "print/drawn_ticket.h"
#include "print/reprint_requests.h"

namespace quillon::app {

// The agent's version, the printer and how it is reached, the moment, the code page's accents;
// the encoder ends it with a cut.
print::DrawnTicket TestTicket(std::u16string_view printer, std::u16string_view reached,
                              const platform::DateTime& now);

// How long the loop runs for a test ticket that has not printed: --test-print has nothing else
// to do; a window answers sooner and its printers list tells the rest.
inline constexpr int kCommandPatienceMs = 12000;
inline constexpr int kWindowPatienceMs = 2500;

// Prints the test ticket on `printer` and runs the loop up to `patience_ms` while it is not
// printed: done when it printed, else why it waits (it stays in the outbox).
print::RequestAnswer PrintTestTicket(Printing& printing, const std::u16string& printer,
                                     int patience_ms);

}  // namespace quillon::app
