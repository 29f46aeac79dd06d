#pragma once
// A document's ticket once drawn: the printer it is meant for, what kind of document it is, and
// what it holds. Nothing has been sent to a printer yet.
#include <string>

#include "platform/printer_system.h"

namespace quillon::print {

struct DrawnTicket {
  std::u16string printer;  // device name as the document names it; empty: the default printer
  std::u16string kind;     // "comanda", "anulacion", "factura"
  platform::Ticket content;
  // The job it came from and its place in it, so that a job sent again can tell this ticket
  // went already; empty for a ticket of no job (a reprint).
  std::string origin = {};
};

}  // namespace quillon::print
