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
};

}  // namespace quillon::print
