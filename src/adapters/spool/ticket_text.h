#pragma once
// A ticket as plain text: each run written at its column, one text line per printed line,
// nothing trimmed. What a spool printer's .txt holds, and what tests read a layout from.
#include <string>
#include <vector>

#include "platform/printer_system.h"

namespace quillon::adapters::spool {

std::vector<std::u16string> TicketTextLines(const platform::Ticket& ticket);
// The lines in UTF-8, each ended by LF.
std::string TicketText(const platform::Ticket& ticket);

}  // namespace quillon::adapters::spool
