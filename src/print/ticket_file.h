#pragma once
// A drawn ticket as a file of its own: what the outbox keeps of a ticket until a printer has it,
// and what the list of printed tickets keeps for a reprint. Plain UTF-8 text, one field a line,
// ended by a line "fin" so that a file cut short is never taken for a whole ticket.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "print/drawn_ticket.h"

namespace quillon::print {

struct TicketRecord {
  std::uint64_t id = 0;  // counts up in the data folder; the order of printing per printer
  DrawnTicket ticket;
  platform::DateTime created;
  // Once a spooler took it and until it printed: the printer (its device name) and the job.
  std::u16string sent_to;
  std::int64_t job = platform::kNoJob;
  bool InPrinter() const { return job != platform::kNoJob; }
};

std::string TicketFileText(const TicketRecord& record);
// nullopt when the text is not a whole ticket file.
std::optional<TicketRecord> ReadTicketFile(std::string_view text);

}  // namespace quillon::print
