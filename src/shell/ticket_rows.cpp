#include "shell/ticket_rows.h"

#include <utility>

#include "platform/text.h"

namespace quillon::shell {
namespace {

constexpr char16_t kGap[] = u"  ";

std::u16string Moment(const platform::DateTime& moment) {
  return platform::Utf8ToUtf16(platform::DateTimeText(moment));
}

}  // namespace

std::u16string WaitingRow(const print::WaitingTicket& ticket) {
  std::u16string row = Moment(ticket.created) + kGap + ticket.printer + kGap + ticket.kind;
  const bool stuck = !ticket.stuck_on.empty();
  if (ticket.in_printer) {
    row += kGap + std::u16string(u"En la impresora");
    if (stuck) row += u": " + ticket.failure;
  } else if (ticket.set_aside) {
    row += kGap + std::u16string(u"No se puede imprimir");
  } else if (stuck) {
    row += kGap + std::u16string(u"Detrás de los tickets de ") + ticket.stuck_on;
  }
  return row;
}

std::u16string PrintedRow(const print::PrintedTicket& ticket) {
  return platform::Utf8ToUtf16(std::to_string(ticket.id)) + kGap + Moment(ticket.printed) + kGap +
         ticket.printer + kGap + ticket.kind;
}

std::u16string WaitingSummary(const std::vector<print::WaitingTicket>& waiting) {
  struct Printer {
    std::u16string name;
    bool stuck = false;  // does not respond
    std::u16string fault;
    std::size_t count = 0;
  };
  std::vector<Printer> printers;
  for (const print::WaitingTicket& ticket : waiting) {
    const bool stuck = !ticket.stuck_on.empty();
    if (ticket.in_printer && !stuck) continue;
    const std::u16string& name = stuck ? ticket.stuck_on : ticket.printer;
    auto found = printers.begin();
    while (found != printers.end() && (found->name != name || found->stuck != stuck)) ++found;
    if (found == printers.end()) found = printers.insert(printers.end(), {name, stuck, {}, 0});
    if (stuck && ticket.failure != u"no responde") found->fault = ticket.failure;
    ++found->count;
  }
  std::u16string summary;
  for (const Printer& printer : printers) {
    if (!summary.empty()) summary += u"\n";
    summary += printer.stuck ? print::NotRespondingText(printer.name, printer.count, printer.fault)
                             : print::WaitingText(printer.count, printer.name);
  }
  return summary;
}

}  // namespace quillon::shell
