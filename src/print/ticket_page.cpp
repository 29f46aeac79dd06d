#include "print/ticket_page.h"

#include <algorithm>

#include "print/escpos_encoder.h"

namespace quillon::print {
namespace {

constexpr double kCharWidthPerPoint = 0.6 * 20;   // twips
constexpr double kLineHeightPerPoint = 1.2 * 20;  // twips

}  // namespace

double TicketLineHeight(const platform::TicketLine& line) {
  return kLineHeightPerPoint * line.height_points;
}

double TicketCellWidth(const platform::TicketFont& font) { return kCharWidthPerPoint * font.size; }

PageGeometry TicketPageGeometry(const platform::Ticket& ticket) {
  PageGeometry page;
  const bool wide = RollDotsFor(ticket) == kWideRollDots;
  page.paper_width = wide ? 80 : 58;
  const double printable = wide ? 72 : 48;
  page.left_margin = (page.paper_width - printable) / 2;

  double width = 0, height = 0;  // twips
  for (const auto& line : ticket.lines) {
    for (const auto& run : line.runs) {
      const double end =
          (run.column - 1 + static_cast<double>(run.text.size())) * TicketCellWidth(run.font);
      width = std::max(width, end);
    }
    height += TicketLineHeight(line);
  }
  for (const auto& picture : ticket.pictures) {
    width = std::max(width, picture.x + picture.width);
    height = std::max(height, picture.y + picture.height);
  }
  if (width > printable * kTwipsPerMm) page.scale = printable * kTwipsPerMm / width;
  page.paper_length = 2 * page.top_margin + height * page.scale / kTwipsPerMm;
  return page;
}

}  // namespace quillon::print
