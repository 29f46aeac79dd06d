#include "app/once_only_tickets.h"

#include <utility>

namespace quillon::app {

print::Delivery OnceOnlyTickets::Print(print::DrawnTicket ticket) {
  print::Delivery delivery;
  jobs_.HandOverOnce([&] {
    ticket.origin = jobs_.TicketOrigin();
    delivery = service_.Print(std::move(ticket));
  });
  return delivery;
}

}  // namespace quillon::app
