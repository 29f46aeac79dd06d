// The ESC/POS bytes of tickets: text in Windows-1252, styles, columns, pictures and the cut.
#include "print/escpos_encoder.h"

#include <gtest/gtest.h>

#include <bit>

#include "escpos_test_bitmaps.h"
#include "escpos_test_tickets.h"
#include "platform/text.h"
#include "support/temp_folder.h"

namespace quillon::print {
namespace {

using platform::Ticket;
using test::kTwipsPerDot;

using test::Bytes;
using test::kEscPosCut;
using test::kEscPosStart;
using test::Line;
using test::TextRun;

TEST(EscPosEncoder, SmallTicketWithAccentsBoldLargeSizeLogoAndCut) {
  test::TempFolder folder;
  // Top row: 8 black then 8 white dots; bottom row: white and black in turns.
  std::vector<std::uint8_t> levels(32, 255);
  for (int x = 0; x < 8; ++x) levels[static_cast<std::size_t>(x)] = 0;
  for (int x = 1; x < 16; x += 2) levels[16 + static_cast<std::size_t>(x)] = 0;
  folder.Write("logo.bmp", test::MakeBmp(16, 2, 1, levels));

  Ticket ticket;
  ticket.pictures.push_back(
      {(folder.Path() / "logo.bmp").string(), 0, 20, 16 * kTwipsPerDot, 2 * kTwipsPerDot, 0});
  ticket.lines.push_back(Line({}));  // room left under the logo
  ticket.lines.push_back(Line({TextRun(1, u"Año"), TextRun(6, u"ÁÉÍÓÚÑÜ", 10, true)}));
  ticket.lines.push_back(Line({TextRun(1, u"TOTAL", 15, true)}, 15));
  ticket.lines.push_back(Line({}));
  ticket.lines.push_back(Line({TextRun(3, u"áéíóúñü")}));

  const std::string expected = kEscPosStart +
                               Bytes({0x1D, 'v', '0', 0, 2, 0, 2, 0, 0xFF, 0x00, 0x55, 0x55}) +
                               Bytes({'A', 0xF1, 'o', ' ', ' ', 0x1B, 'E', 1, 0xC1, 0xC9, 0xCD,
                                      0xD3, 0xDA, 0xD1, 0xDC, '\n'}) +
                               Bytes({0x1D, '!', 0x11, 'T', 'O', 'T', 'A', 'L', '\n'}) + "\n" +
                               Bytes({0x1D, '!', 0, ' ', ' ', 0x1B, 'E', 0, 0xE1, 0xE9, 0xED, 0xF3,
                                      0xFA, 0xF1, 0xFC, '\n'}) +
                               kEscPosCut;
  EXPECT_EQ(EncodeEscPos(ticket), expected);
}

TEST(EscPosEncoder, EmptyTicketIsStillOneDocumentWithItsCut) {
  EXPECT_EQ(EncodeEscPos(Ticket{}), kEscPosStart + kEscPosCut);
}

TEST(EscPosEncoder, SizesAndTheColumnsTheyTake) {
  Ticket ticket;
  // 12 points: double height only, so the next run keeps its column.
  ticket.lines.push_back(Line({TextRun(1, u"AB", 12), TextRun(4, u"C")}, 12));
  // 16 points: double width; "AB" takes columns 1 to 4, so column 3 is already passed.
  ticket.lines.push_back(Line({TextRun(1, u"AB", 16), TextRun(3, u"C"), TextRun(8, u"D")}, 16));
  // Below 12 points everything is normal size.
  ticket.lines.push_back(Line({TextRun(2, u"E", 7)}, 7));
  const std::string expected =
      kEscPosStart + Bytes({0x1D, '!', 0x01, 'A', 'B', 0x1D, '!', 0, ' ', 'C', '\n'}) +
      Bytes({0x1D, '!', 0x11, 'A', 'B', 0x1D, '!', 0, 'C', ' ', ' ', 'D', '\n'}) +
      Bytes({' ', 'E', '\n'}) + kEscPosCut;
  EXPECT_EQ(EncodeEscPos(ticket), expected);
}

TEST(EscPosEncoder, JobDataCannotCarryPrinterCommands) {
  Ticket ticket;
  ticket.lines.push_back(Line({TextRun(1, u"A\x1B@B\nC\x1D\x7F€✓")}));
  EXPECT_EQ(
      EncodeEscPos(ticket),
      kEscPosStart + Bytes({'A', ' ', '@', 'B', ' ', 'C', ' ', ' ', 0x80, '?', '\n'}) + kEscPosCut);
}

TEST(EscPosEncoder, RollWidthFollowsTheWidestLine) {
  Ticket narrow;
  narrow.lines.push_back(Line({TextRun(1, std::u16string(30, u'=')), TextRun(32, u"X")}));
  EXPECT_EQ(TicketColumns(narrow), 32);
  EXPECT_EQ(RollDotsFor(narrow), 384);

  Ticket wide;
  wide.lines.push_back(Line({TextRun(1, std::u16string(37, u'='))}));
  EXPECT_EQ(RollDotsFor(wide), 576);

  Ticket large;  // 17 characters at double width reach column 34
  large.lines.push_back(Line({TextRun(1, std::u16string(17, u'X'), 16)}, 16));
  EXPECT_EQ(TicketColumns(large), 34);
  EXPECT_EQ(RollDotsFor(large), 576);
}

class EscPosPicture : public ::testing::Test {
 protected:
  // The raster command of a ticket holding only the picture, split into its header fields.
  struct Raster {
    int row_bytes = 0, rows = 0;
    std::string dots;
  };
  Raster Encode(const Ticket& ticket, EscPosOptions options = {}) {
    const std::string bytes = EncodeEscPos(ticket, options);
    Raster raster;
    const std::size_t at = bytes.find(std::string{0x1D, 'v', '0', 0});
    if (at == std::string::npos) return raster;
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
    raster.row_bytes = byte(4) | byte(5) << 8;
    raster.rows = byte(6) | byte(7) << 8;
    raster.dots = bytes.substr(at + 8, static_cast<std::size_t>(raster.row_bytes) * raster.rows);
    return raster;
  }
  std::string Picture(const std::string& name, int width, int height,
                      const std::vector<std::uint8_t>& levels) {
    folder_.Write(name, test::MakeBmp(width, height, 24, levels));
    return (folder_.Path() / name).string();
  }
  static int BlackDots(const std::string& dots) {
    int count = 0;
    for (const char c : dots) count += std::popcount(static_cast<unsigned char>(c));
    return count;
  }
  test::TempFolder folder_;
};

TEST_F(EscPosPicture, OffsetAndScalingDownToTheDrawnSize) {
  // 32 x 4 pixels, left half black, drawn 16 x 2 dots, 4 dots from the left edge.
  std::vector<std::uint8_t> levels(128, 255);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 16; ++x) levels[static_cast<std::size_t>(y) * 32 + x] = 0;
  Ticket ticket;
  ticket.pictures.push_back({Picture("half.bmp", 32, 4, levels), 4 * kTwipsPerDot, 20,
                             16 * kTwipsPerDot, 2 * kTwipsPerDot, 0});
  const Raster raster = Encode(ticket);
  EXPECT_EQ(raster.row_bytes, 3);
  EXPECT_EQ(raster.rows, 2);
  EXPECT_EQ(raster.dots, Bytes({0x0F, 0xF0, 0x00, 0x0F, 0xF0, 0x00}));
}

TEST_F(EscPosPicture, WiderThanTheRollIsScaledDownToIt) {
  Ticket ticket;
  ticket.lines.push_back(Line({TextRun(1, std::u16string(40, u'-'))}));
  ticket.pictures.push_back({Picture("wide.bmp", 8, 4, std::vector<std::uint8_t>(32, 0)), 0, 0,
                             1000 * kTwipsPerDot, 500 * kTwipsPerDot, 0});
  Raster raster = Encode(ticket);
  EXPECT_EQ(raster.row_bytes, 72);  // 576 dots
  EXPECT_EQ(raster.rows, 288);
  EXPECT_EQ(BlackDots(raster.dots), 576 * 288);

  raster = Encode(ticket, {.paper_dots = 384});
  EXPECT_EQ(raster.row_bytes, 48);
  EXPECT_EQ(raster.rows, 192);
}

TEST_F(EscPosPicture, GreyIsDitheredToAMatchingShareOfBlackDots) {
  Ticket ticket;
  ticket.pictures.push_back({Picture("grey.bmp", 4, 4, std::vector<std::uint8_t>(16, 64)), 0, 0,
                             64 * kTwipsPerDot, 64 * kTwipsPerDot, 0});
  const Raster raster = Encode(ticket);
  ASSERT_EQ(raster.rows, 64);
  // 64 of 255 is a quarter white: about three dots in four are black, spread evenly (every
  // block of 8 x 8 dots holds close to 48 black ones).
  EXPECT_NEAR(BlackDots(raster.dots) / (64.0 * 64.0), 0.75, 0.02);
  for (int band = 0; band < 8; ++band) {
    for (int column = 0; column < 8; ++column) {
      std::string block;
      for (int row = band * 8; row < band * 8 + 8; ++row) {
        block += raster.dots[static_cast<std::size_t>(row) * 8 + column];
      }
      EXPECT_NEAR(BlackDots(block), 48, 8) << band << "," << column;
    }
  }
}

TEST_F(EscPosPicture, EmptyLinesUnderThePictureGiveWayToTheRaster) {
  const std::string file = Picture("logo.bmp", 2, 2, std::vector<std::uint8_t>(4, 0));
  Ticket ticket;
  // 40 dots high, drawn 20 twips from the top: lines starting above its bottom are room for it.
  const double height = 40 * kTwipsPerDot;  // about 283 twips; lines are 240 twips high
  ticket.pictures.push_back({file, 0, 20, 16 * kTwipsPerDot, height, 0});
  for (int i = 0; i < 3; ++i) ticket.lines.push_back(Line({}));
  ticket.lines.push_back(Line({TextRun(1, u"X")}));
  // Lines 0 and 1 start above its bottom (at 0 and 240 twips) and are left out; line 2 (480) stays.
  const std::string raster = Bytes({0x1D, 'v', '0', 0, 2, 0, 40, 0}) + std::string(80, '\xFF');
  EXPECT_EQ(EncodeEscPos(ticket), kEscPosStart + raster + "\nX\n" + kEscPosCut);
}

TEST_F(EscPosPicture, UnreadablePictureLeavesTheTextAsItWas) {
  Ticket ticket;
  ticket.pictures.push_back({(folder_.Path() / "missing.bmp").string(), 0, 20, 1000, 1000, 0});
  ticket.lines.push_back(Line({}));
  ticket.lines.push_back(Line({TextRun(1, u"X")}));
  EXPECT_EQ(EncodeEscPos(ticket), kEscPosStart + "\nX\n" + kEscPosCut);
}

TEST_F(EscPosPicture, PictureDrawnAfterTheLastLineComesBeforeTheCut) {
  Ticket ticket;
  ticket.lines.push_back(Line({TextRun(1, u"X")}));
  ticket.pictures.push_back(
      {Picture("dot.bmp", 1, 1, {0}), 0, 500, 8 * kTwipsPerDot, kTwipsPerDot, 1});
  EXPECT_EQ(EncodeEscPos(ticket),
            kEscPosStart + "X\n" + Bytes({0x1D, 'v', '0', 0, 1, 0, 1, 0, 0xFF}) + kEscPosCut);
}

}  // namespace
}  // namespace quillon::print
