#include "engine_fixture.h"

namespace quillon::test {
namespace {

using Lines = std::vector<std::u16string>;

class LineModelTest : public EngineTest {
 protected:
  void SetUp() override { StartTicket(); }
  void Roll(const char16_t* tamano_enye, const char16_t* tamano_plain) {
    std::vector<SettingsRow> rows;
    if (tamano_enye) rows.push_back({u"Tamaño de Factura", tamano_enye});
    if (tamano_plain) rows.push_back({u"Tamano de Factura", tamano_plain});
    SetRows(rows);
  }
};

TEST_F(LineModelTest, TheTwoRollRowsAreReadSeparately) {
  Roll(nullptr, u"rollo 55mm");
  EXPECT_EQ(Engine().CharsPerLine(), 40);
  EXPECT_TRUE(Engine().IsRoll55());
  EXPECT_EQ(Engine().RollFontSize(), 7);
  Roll(u"rollo 55mm", nullptr);
  EXPECT_EQ(Engine().CharsPerLine(), 32);
  EXPECT_FALSE(Engine().IsRoll55());
  EXPECT_EQ(Engine().RollFontSize(), 10);
  Roll(u"Rollo 55mm", u"rollo 75mm");
  EXPECT_EQ(Engine().CharsPerLine(), 40);
  EXPECT_TRUE(Engine().IsRoll75());
  EXPECT_FALSE(Engine().IsRoll55());
}

TEST_F(LineModelTest, ColumnsScaleToTheLineWidth) {
  Roll(u"rollo 55mm", nullptr);
  EXPECT_EQ(Engine().ScaleColumn(7), 6);
  EXPECT_EQ(Engine().ScaleColumn(18), 14);
  EXPECT_EQ(Engine().ScaleColumn(30), 24);
  EXPECT_EQ(Engine().ScaleColumn(25), 20);
  EXPECT_EQ(Engine().ScaleColumn(5), 4);    // 4,0
  EXPECT_EQ(Engine().ScaleColumn(35), 28);  // 28,0
  EXPECT_EQ(Engine().ScaleColumn(10), 8);
  Roll(nullptr, nullptr);
  for (int column : {7, 18, 30}) EXPECT_EQ(Engine().ScaleColumn(column), column);
  EXPECT_THROW(Engine().ScaleColumn(40000), platform::Failure);
}

TEST_F(LineModelTest, AmountsEndOneColumnBeforeTheEdge) {
  const int column = print::PrintEngine::RightAlignColumn(u" 12.500 ", 40);
  EXPECT_EQ(column, 34);
  Engine().Recorder().Print({print::PrintItem::Text(u"TOTAL"), print::PrintItem::Tab(column),
                             print::PrintItem::Text(u"12.500")});
  const Lines lines = Printed();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].size(), 39u);
  EXPECT_EQ(lines[0].substr(33), u"12.500");
}

TEST_F(LineModelTest, ALabelPastTheAmountColumnPushesTheAmountDown) {
  const std::u16string label(36, u'X');
  Engine().Recorder().Print(
      {print::PrintItem::Text(label),
       print::PrintItem::Tab(print::PrintEngine::RightAlignColumn(u"9.000", 40)),
       print::PrintItem::Text(u"9.000")});
  EXPECT_EQ(Printed(), (Lines{label, std::u16string(34, u' ') + u"9.000"}));
}

TEST_F(LineModelTest, FittingLengthCountsWholeWordsAndTheirBlank) {
  using print::PrintEngine;
  EXPECT_EQ(PrintEngine::FittingLength(u"PAPAS FRITAS GRANDES", 18), 13);
  EXPECT_EQ(PrintEngine::FittingLength(u"PAPAS FRITAS GRANDES", 5), 0);
  EXPECT_EQ(PrintEngine::FittingLength(u"PAPAS FRITAS GRANDES", 6), 6);
  EXPECT_EQ(PrintEngine::FittingLength(u"PAPAS", 30), 6);
  EXPECT_EQ(PrintEngine::FittingLength(u"A  B", 30), 5);  // the double blank is an empty word
}

TEST_F(LineModelTest, CentringRoundsHalvesToEven) {
  Engine().PrintWrapped(u"abcdef", 40, print::Align::kCentre);
  Engine().PrintWrapped(u"abcde", 40, print::Align::kCentre);
  Engine().PrintWrapped(u"abcdefg", 40, print::Align::kCentre);
  const Lines lines = Printed();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].find_first_not_of(u' ') + 1, 17u);
  EXPECT_EQ(lines[1].find_first_not_of(u' ') + 1, 18u);
  EXPECT_EQ(lines[2].find_first_not_of(u' ') + 1, 16u);
  EXPECT_EQ(lines[2], std::u16string(15, u' ') + u"ABCDEFG");
}

TEST_F(LineModelTest, WrappingBreaksAtWordsInCapitals) {
  const std::u16string name = u"José Ñúñez Pérez de la Torre y Castañeda Villamizar";  // 51
  Engine().PrintWrapped(u"Nombre: " + name, 40, print::Align::kLeft);
  const Lines lines = Printed();
  EXPECT_EQ(lines, (Lines{u"NOMBRE: JOSÉ ÑÚÑEZ PÉREZ DE LA TORRE Y", u"CASTAÑEDA VILLAMIZAR"}));
  for (const auto& line : lines) EXPECT_LE(line.size(), 40u);
}

TEST_F(LineModelTest, AWordLongerThanTheLimitSharesItsLine) {
  Engine().PrintWrapped(u"ab " + std::u16string(12, u'x') + u" cd ef gh", 10, print::Align::kLeft);
  EXPECT_EQ(Printed(), (Lines{u"AB " + std::u16string(12, u'X') + u" CD EF", u"GH"}));
}

TEST_F(LineModelTest, RunsOfBlanksCollapse) {
  Engine().PrintWrapped(u"TOTAL   12.500", 40, print::Align::kLeft);
  Engine().PrintWrapped(u"  a" + std::u16string(64, u' ') + u"b  ", 40, print::Align::kLeft);
  EXPECT_EQ(Printed(), (Lines{u"TOTAL 12.500", u"A B"}));
}

TEST_F(LineModelTest, ParagraphsSplitAtCrLf) {
  Engine().PrintWrapped(u"uno\r\ndos\r\n\r\n   \r\ntres\ncuatro", 40, print::Align::kLeft, 3);
  EXPECT_EQ(Printed(), (Lines{u"  UNO", u"  DOS", u"", u"  TRES\nCUATRO"}));
}

TEST_F(LineModelTest, EmptyTextPrintsNothing) {
  Engine().PrintWrapped(u"", 40, print::Align::kCentre);
  Engine().Recorder().Print({print::PrintItem::Text(u"FIN")});
  EXPECT_EQ(Printed(), Lines{u"FIN"});
}

TEST_F(LineModelTest, SeparatorLengthAndSizeFollowDifferentRows) {
  Engine().Recorder().SetFontSize(12.4);
  Roll(nullptr, u"rollo 55mm");
  Engine().PrintSeparator(u"=");
  Roll(u"rollo 55mm", nullptr);
  Engine().PrintSeparator(u"-");
  Engine().PrintSeparator(u"*");
  Roll(nullptr, nullptr);
  Engine().PrintSeparator(u"-");
  EXPECT_EQ(Engine().Recorder().FontSize(), 12);
  const auto lines = Engine().EndTicket().content.lines;
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].runs.at(0).text, std::u16string(37, u'='));
  EXPECT_EQ(lines[0].runs.at(0).font.size, 7);
  EXPECT_EQ(lines[1].runs.at(0).text, std::u16string(30, u'-'));
  EXPECT_EQ(lines[1].runs.at(0).font.size, 10);
  EXPECT_EQ(lines[2].runs.at(0).text, std::u16string(39, u'-'));
}

TEST_F(LineModelTest, SeparatorWidthByRoll) {
  Engine().Recorder().SetFontSize(14);
  Roll(nullptr, u"rollo 55mm");
  EXPECT_EQ(Engine().SeparatorWidth(), 30 * 84);
  Roll(u"rollo 55mm", u"rollo 75mm");
  EXPECT_EQ(Engine().SeparatorWidth(), 34 * 120);
  Roll(nullptr, nullptr);
  EXPECT_EQ(Engine().SeparatorWidth(), 35 * 120);
  EXPECT_EQ(Engine().Recorder().FontSize(), 14);
}

TEST_F(LineModelTest, WrapToTheSeparatorBreaksByPrintedWidth) {
  Roll(nullptr, nullptr);               // limit 35 "=" at 10 points = 4200 twips
  Engine().Recorder().SetFontSize(14);  // 168 twips a character: 25 characters fit
  Engine().PrintWrappedToSeparator(u"aaaa bbbb cccc dddd eeee ffff gggg", print::Align::kLeft);
  EXPECT_EQ(Engine().Recorder().FontSize(), 14);
  EXPECT_EQ(Printed(), (Lines{u"AAAA BBBB CCCC DDDD EEEE", u"FFFF GGGG"}));
}

TEST_F(LineModelTest, WrapToTheSeparatorCentresOnTheLineWidth) {
  Roll(u"rollo 55mm", nullptr);  // W = 32
  Engine().Recorder().SetFontSize(10);
  Engine().PrintWrappedToSeparator(u"acción", print::Align::kCentre);
  EXPECT_EQ(Printed(), Lines{std::u16string(12, u' ') + u"ACCIÓN"});
}

}  // namespace
}  // namespace quillon::test
