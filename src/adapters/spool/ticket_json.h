#pragma once
// A ticket as JSON for a spool printer's .json file: its lines, each with its runs (column,
// text, font name, size, bold), and the pictures drawn. One ticket line per line of the file.
#include <string>

#include "platform/printer_system.h"

namespace quillon::adapters::spool {

std::string TicketJson(const platform::Ticket& ticket);

}  // namespace quillon::adapters::spool
