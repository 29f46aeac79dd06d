#pragma once
// A ticket laid out as one roll-sized page for a printer with a driver: a monospaced font at the
// recorded columns and sizes, pictures in their rectangles. Each system's driver pages draw it.
#include "platform/printer_system.h"

namespace quillon::print {

inline constexpr double kTwipsPerMm = 1440.0 / 25.4;

// Where everything goes on the page, in millimetres.
struct PageGeometry {
  double paper_width = 80;  // 58 or 80
  double paper_length = 0;  // as long as the ticket
  double left_margin = 4;   // the roll's printable width is centred
  double top_margin = 3;
  double scale = 1;  // twips of the ticket to the page: 1 keeps the recorded sizes
};

// The ticket keeps its recorded geometry (a character 0.6 x its size wide, a line 1.2 x its size
// high, pictures at their twips) and is shrunk as a whole when it is wider than the roll's
// printable width: 48 mm of a 58 mm roll, 72 mm of an 80 mm one.
PageGeometry TicketPageGeometry(const platform::Ticket& ticket);

// The recorded height of a line and width of one character cell, in twips.
double TicketLineHeight(const platform::TicketLine& line);
double TicketCellWidth(const platform::TicketFont& font);

}  // namespace quillon::print
