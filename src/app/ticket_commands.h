#pragma once
// The command line's view of the tickets of a data folder: --list-tickets, --reprint,
// --discard and --test-print.
#include "app/command_line.h"

namespace quillon::app {

// The waiting tickets and the last printed ones on standard output; 0.
int RunListTickets(const CommandLine& line);

// --reprint ID [--printer NAME]: through the running agent of the data folder when there is one,
// else with the printers of this command line. 0 when it printed, 1 when it did not, 2 when no
// kept ticket has that number (the reason on standard error).
int RunReprint(const CommandLine& line);

// --discard ID: the waiting ticket is set aside in outbox/descartados/, never printed; through
// the running agent when there is one. 0 when it was, 1 when it could not be, 2 when no ticket
// waits with that number.
int RunDiscard(const CommandLine& line);

// --test-print NAME: the test ticket on that printer, with the printers of this command line,
// waiting a little for it: 0 when it printed, 1 when it waits (why, on standard error; it stays
// in the outbox) or an agent holds the data folder.
int RunTestPrint(const CommandLine& line);

}  // namespace quillon::app
