#include "engine_fixture.h"

namespace quillon::test {
namespace {

using print::PrintItem;

class RecorderTest : public EngineTest {
 protected:
  void SetUp() override { StartTicket(); }
  print::TicketRecorder& Recorder() { return Engine().Recorder(); }
};

TEST_F(RecorderTest, TabMovesForwardOrToTheNextLine) {
  Recorder().Print({PrintItem::Text(u"AB"), PrintItem::Tab(5), PrintItem::Text(u"C")});
  Recorder().Print({PrintItem::Text(u"ABCDEF"), PrintItem::Tab(3), PrintItem::Text(u"X")});
  Recorder().Print({PrintItem::Text(u"ABC"), PrintItem::Tab(4), PrintItem::Text(u"D")});
  Recorder().Print(
      {PrintItem::Tab(0), PrintItem::Text(u"E"), PrintItem::Tab(-3), PrintItem::Text(u"F")});
  EXPECT_EQ(Printed(),
            (std::vector<std::u16string>{u"AB  C", u"ABCDEF", u"  X", u"ABCD", u"E", u"F"}));
}

TEST_F(RecorderTest, NumbersTakeABlankForThePlusSignAndOneAfter) {
  Recorder().Print({PrintItem::Text(u"["), PrintItem::Number(json::Decimal::FromParts(125, 1)),
                    PrintItem::Text(u"]"), PrintItem::Number(json::Decimal(-3)),
                    PrintItem::Text(u"]")});
  EXPECT_EQ(Printed(), std::vector<std::u16string>{u"[ 12,5 ]-3 ]"});
}

TEST_F(RecorderTest, StayingOnTheLineContinuesAfterTheLastItem) {
  Recorder().Print({PrintItem::Text(u"TOTAL")}, true);
  Recorder().Print({PrintItem::Tab(10), PrintItem::Text(u"12.500")});
  Recorder().Print({});
  EXPECT_EQ(Printed(), (std::vector<std::u16string>{u"TOTAL    12.500", u""}));
}

TEST_F(RecorderTest, RunsKeepTheirFontAndColumn) {
  Recorder().SetFontName(u"Courier 14 CPI");
  Recorder().SetFontSize(10);
  Recorder().Print({PrintItem::Text(u"MESA")}, true);
  Recorder().SetBold(true);
  Recorder().SetFontSize(14);
  Recorder().Print({PrintItem::Text(u" 12"), PrintItem::Tab(20), PrintItem::Text(u"X")});
  const print::DrawnTicket ticket = Engine().EndTicket();
  EXPECT_EQ(ticket.printer, u"Caja");
  EXPECT_EQ(ticket.kind, u"comanda");
  const auto& line = ticket.content.lines.at(0);
  ASSERT_EQ(line.runs.size(), 3u);
  EXPECT_EQ(line.runs[0].column, 1);
  EXPECT_EQ(line.runs[0].font, (platform::TicketFont{u"Courier 14 CPI", 10, false, false}));
  EXPECT_EQ(line.runs[1].column, 5);
  EXPECT_EQ(line.runs[1].text, u" 12");
  EXPECT_EQ(line.runs[1].font, (platform::TicketFont{u"Courier 14 CPI", 14, true, false}));
  EXPECT_EQ(line.runs[2].column, 20);
  EXPECT_EQ(line.height_points, 14);
}

TEST_F(RecorderTest, MeasurementIsFixedPitchInTwips) {
  Recorder().SetFontSize(10);
  EXPECT_DOUBLE_EQ(Recorder().TextWidth(u"ABCDE"), 5 * 120.0);
  EXPECT_DOUBLE_EQ(Recorder().TextHeight(u"HOLA"), 240.0);
  Recorder().SetFontSize(7);
  EXPECT_DOUBLE_EQ(Recorder().TextWidth(u"ñ"), 84.0);
  EXPECT_DOUBLE_EQ(Recorder().TextWidth(u""), 0.0);
}

TEST_F(RecorderTest, ACancelledTicketLeavesNothingAndTheFontCarriesOver) {
  Recorder().SetFontSize(16);
  Recorder().Print({PrintItem::Text(u"DESCARTADO")});
  Engine().CancelTicket();
  Engine().BeginTicket(u"Bar", u"anulacion");
  Recorder().DrawPicture("/tmp/logo.bmp", 10, 20, 300, 150);
  Recorder().Print({PrintItem::Text(u"IMPRESO")});
  const print::DrawnTicket drawn = Engine().EndTicket();
  EXPECT_EQ(drawn.printer, u"Bar");
  const platform::Ticket& ticket = drawn.content;
  EXPECT_EQ(adapters::spool::TicketTextLines(ticket), std::vector<std::u16string>{u"IMPRESO"});
  EXPECT_EQ(ticket.lines.at(0).runs.at(0).font.size, 16);
  ASSERT_EQ(ticket.pictures.size(), 1u);
  EXPECT_EQ(ticket.pictures[0].file, "/tmp/logo.bmp");
  EXPECT_EQ(ticket.pictures[0].width, 300);
  EXPECT_EQ(ticket.pictures[0].line_index, 0);
  // The next ticket starts empty.
  EXPECT_TRUE(Engine().EndTicket().content.lines.empty());
}

TEST(AmountText, WholeNumbersWithDotGroupingHalvesAwayFromZero) {
  EXPECT_EQ(print::AmountText(json::Decimal::FromParts(125004, 1)), u"12.500");
  EXPECT_EQ(print::AmountText(json::Decimal::FromParts(125005, 1)), u"12.501");
  EXPECT_EQ(print::AmountText(json::Decimal::FromParts(125015, 1)), u"12.502");
  EXPECT_EQ(print::AmountText(json::Decimal::FromParts(-45005, 1)), u"-4.501");
  EXPECT_EQ(print::AmountText(json::Decimal::FromParts(123450, 2)), u"1.235");
  EXPECT_EQ(print::AmountText(json::Decimal(1234567)), u"1.234.567");
  EXPECT_EQ(print::AmountText(json::Decimal(-4500)), u"-4.500");
  EXPECT_EQ(print::AmountText(json::Decimal(0)), u"0");
}

}  // namespace
}  // namespace quillon::test
