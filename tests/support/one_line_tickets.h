#pragma once
// Kitchen tickets of one line for the print service's tests, and the lines a recording queue
// received, as text.
#include <string>
#include <vector>

#include "adapters/spool/ticket_text.h"
#include "print/drawn_ticket.h"
#include "support/fake_printers.h"

namespace quillon::test {

inline print::DrawnTicket OneLineTicket(std::u16string printer, std::u16string text = u"PEDIDO") {
  platform::Ticket content;
  content.lines.push_back({{{1, std::move(text), {u"Courier", 10, false, false}}}, 10});
  return {std::move(printer), u"comanda", std::move(content)};
}

// Every line of every ticket the queue received, in order.
inline std::vector<std::u16string> ReceivedLines(const FakePrinterQueue& queue) {
  std::vector<std::u16string> lines;
  for (const auto& ticket : queue.tickets) {
    for (auto& line : adapters::spool::TicketTextLines(ticket)) lines.push_back(line);
  }
  return lines;
}

}  // namespace quillon::test
