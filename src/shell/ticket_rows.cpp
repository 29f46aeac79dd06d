#include "shell/ticket_rows.h"

#include <utility>

#include "platform/text.h"

namespace quillon::shell {
namespace {

constexpr char16_t kGap[] = u"  ";

std::u16string Moment(const platform::DateTime& moment) {
  return platform::u16(platform::DateTimeText(moment));
}

}  // namespace

std::u16string WaitingRow(const print::WaitingTicket& ticket) {
  return Moment(ticket.created) + kGap + ticket.printer + kGap + ticket.kind;
}

std::u16string PrintedRow(const print::PrintedTicket& ticket) {
  return platform::u16(std::to_string(ticket.id)) + kGap + Moment(ticket.printed) + kGap +
         ticket.printer + kGap + ticket.kind;
}

std::u16string WaitingSummary(const std::vector<print::WaitingTicket>& waiting) {
  std::vector<std::pair<std::u16string, std::size_t>> printers;
  for (const print::WaitingTicket& ticket : waiting) {
    auto found = printers.begin();
    while (found != printers.end() && found->first != ticket.printer) ++found;
    if (found == printers.end()) {
      printers.emplace_back(ticket.printer, 1);
    } else {
      ++found->second;
    }
  }
  std::u16string summary;
  for (const auto& [printer, count] : printers) {
    if (!summary.empty()) summary += u"\n";
    summary += print::WaitingText(count, printer);
  }
  return summary;
}

}  // namespace quillon::shell
