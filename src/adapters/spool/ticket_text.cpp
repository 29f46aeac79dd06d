#include "adapters/spool/ticket_text.h"

#include "platform/text.h"

namespace quillon::adapters::spool {

std::vector<std::u16string> TicketTextLines(const platform::Ticket& ticket) {
  std::vector<std::u16string> lines;
  lines.reserve(ticket.lines.size());
  for (const platform::TicketLine& line : ticket.lines) {
    std::u16string text;
    for (const platform::TicketRun& run : line.runs) {
      const std::size_t at = run.column > 1 ? static_cast<std::size_t>(run.column - 1) : 0;
      if (text.size() < at) text.append(at - text.size(), u' ');
      text.replace(at, run.text.size(), run.text);
    }
    lines.push_back(std::move(text));
  }
  return lines;
}

std::string TicketText(const platform::Ticket& ticket) {
  std::string text;
  for (const std::u16string& line : TicketTextLines(ticket)) {
    text += platform::Utf16ToUtf8(line);
    text.push_back('\n');
  }
  return text;
}

}  // namespace quillon::adapters::spool
