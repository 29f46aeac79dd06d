// A ticket kept as a file reads back exactly, whatever its texts hold; a file cut short or
// changed is never taken for a ticket.
#include "print/ticket_file.h"

#include <gtest/gtest.h>

namespace quillon::print {
namespace {

TicketRecord Sample() {
  TicketRecord record;
  record.id = 42;
  record.created = {2024, 5, 17, 13, 45, 7};
  record.ticket.printer = u"Cocina\tñandú";
  record.ticket.kind = u"factura";
  platform::Ticket& content = record.ticket.content;
  content.lines.push_back({{{3, u"TOTAL \\ 12.500\r\n", {u"Courier 14 CPI", 10.5, true, false}},
                            {20, u"x", {u"Courier", 7, false, true}}},
                           10.5});
  content.lines.push_back({{}, 12});
  content.pictures.push_back({"/datos/logo ñ.bmp", 0, 20, 3960.25, 1980, 1});
  return record;
}

void ExpectSame(const TicketRecord& a, const TicketRecord& b) {
  EXPECT_EQ(a.id, b.id);
  EXPECT_EQ(platform::DateTimeText(a.created), platform::DateTimeText(b.created));
  EXPECT_EQ(a.ticket.printer, b.ticket.printer);
  EXPECT_EQ(a.ticket.kind, b.ticket.kind);
  ASSERT_EQ(a.ticket.content.lines.size(), b.ticket.content.lines.size());
  for (std::size_t i = 0; i < a.ticket.content.lines.size(); ++i) {
    const auto& x = a.ticket.content.lines[i];
    const auto& y = b.ticket.content.lines[i];
    EXPECT_EQ(x.height_points, y.height_points);
    ASSERT_EQ(x.runs.size(), y.runs.size());
    for (std::size_t r = 0; r < x.runs.size(); ++r) {
      EXPECT_EQ(x.runs[r].column, y.runs[r].column);
      EXPECT_EQ(x.runs[r].text, y.runs[r].text);
      EXPECT_EQ(x.runs[r].font, y.runs[r].font);
    }
  }
  ASSERT_EQ(a.ticket.content.pictures.size(), b.ticket.content.pictures.size());
  const auto& p = a.ticket.content.pictures[0];
  const auto& q = b.ticket.content.pictures[0];
  EXPECT_EQ(p.file, q.file);
  EXPECT_EQ(p.x, q.x);
  EXPECT_EQ(p.y, q.y);
  EXPECT_EQ(p.width, q.width);
  EXPECT_EQ(p.height, q.height);
  EXPECT_EQ(p.line_index, q.line_index);
}

TEST(TicketFile, ReadsBackExactly) {
  const TicketRecord record = Sample();
  const std::string text = TicketFileText(record);
  const auto read = ReadTicketFile(text);
  ASSERT_TRUE(read);
  ExpectSame(record, *read);
}

TEST(TicketFile, AFileCutShortOrChangedIsNoTicket) {
  const std::string text = TicketFileText(Sample());
  for (std::size_t length = 0; length < text.size(); ++length) {
    EXPECT_FALSE(ReadTicketFile(text.substr(0, length))) << length;
  }
  EXPECT_FALSE(ReadTicketFile("quillon-ticket 1\nid\t0\nfin\n"));
  std::string bad_escape = text;
  bad_escape.replace(bad_escape.find("\\\\"), 2, "\\q");
  EXPECT_FALSE(ReadTicketFile(bad_escape));
  std::string bad_number = text;
  bad_number.replace(bad_number.find("texto\t3"), 7, "texto\tx");
  EXPECT_FALSE(ReadTicketFile(bad_number));
}

}  // namespace
}  // namespace quillon::print
