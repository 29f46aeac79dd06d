#include "app/once_only_tickets.h"

#include <utility>

namespace quillon::app {

print::Delivery OnceOnlyTickets::Print(print::DrawnTicket ticket) {
  print::Delivery delivery;
  jobs_.HandOverOnce([&] { delivery = service_.Print(std::move(ticket)); });
  return delivery;
}

std::shared_ptr<platform::PrinterQueue> TakenAtFirstPrinterCall::FindPrinter(
    std::u16string_view name) {
  jobs_.TicketStored();
  return printers_.FindPrinter(name);
}

std::u16string TakenAtFirstPrinterCall::DefaultPrinterName() {
  jobs_.TicketStored();
  return printers_.DefaultPrinterName();
}

}  // namespace quillon::app
