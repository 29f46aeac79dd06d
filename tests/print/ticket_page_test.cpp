// The roll-sized page of a ticket for a printer with a driver.
#include "print/ticket_page.h"

#include <gtest/gtest.h>

namespace quillon::print {
namespace {

platform::Ticket Lines(int count, int chars, double size) {
  platform::Ticket ticket;
  for (int i = 0; i < count; ++i) {
    ticket.lines.push_back({{platform::TicketRun{1, std::u16string(chars, u'='),
                                                 platform::TicketFont{u"Courier 14 CPI", size}}},
                            size});
  }
  return ticket;
}

TEST(TicketPage, NarrowTicketKeepsItsSizesOnA58mmRoll) {
  // 32 characters at 7 points are 2688 twips (47.4 mm), within the 48 printable millimetres.
  const PageGeometry page = TicketPageGeometry(Lines(10, 32, 7));
  EXPECT_EQ(page.paper_width, 58);
  EXPECT_EQ(page.left_margin, 5);
  EXPECT_EQ(page.scale, 1);
  EXPECT_NEAR(page.paper_length, 2 * page.top_margin + 10 * 168 / kTwipsPerMm, 1e-9);
}

TEST(TicketPage, WideTicketIsShrunkToThe80mmRoll) {
  // 40 characters at 10 points are 4800 twips (84.7 mm): shrunk to the 72 printable millimetres.
  platform::Ticket ticket = Lines(20, 40, 10);
  const PageGeometry page = TicketPageGeometry(ticket);
  EXPECT_EQ(page.paper_width, 80);
  EXPECT_EQ(page.left_margin, 4);
  EXPECT_NEAR(page.scale, 72 * kTwipsPerMm / 4800, 1e-9);
  EXPECT_NEAR(page.paper_length, 2 * page.top_margin + 20 * 240 * page.scale / kTwipsPerMm, 1e-9);

  // A picture reaching below the last line makes the page longer.
  ticket.pictures.push_back({"logo.bmp", 0, 20, 4000, 6000, 0});
  EXPECT_NEAR(TicketPageGeometry(ticket).paper_length,
              2 * page.top_margin + 6020 * page.scale / kTwipsPerMm, 1e-9);
}

}  // namespace
}  // namespace quillon::print
