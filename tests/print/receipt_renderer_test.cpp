// The paper drawn from ESC/POS bytes: where text, bold, sizes, pictures and the cut land, checked
// through a few dots and the width of the ink, and the tickets of the encoder drawn back.
#include "print/receipt_renderer.h"

#include <gtest/gtest.h>

#include "escpos_test_bitmaps.h"
#include "escpos_test_tickets.h"
#include "print/escpos_encoder.h"
#include "support/temp_folder.h"

namespace quillon::print {
namespace {

using platform::Ticket;
using test::Bytes;
using test::TextRun;

using test::kEscPosStart;

struct Ink {
  int left = -1, right = -1;  // first and last column with a black dot; -1 when none
  int Width() const { return left < 0 ? 0 : right - left + 1; }
};

// The ink between rows top and bottom (exclusive) and columns from and to (exclusive).
Ink InkIn(const ReceiptPaper& paper, int top, int bottom, int from = 0, int to = 1 << 20) {
  Ink ink;
  for (int y = top; y < bottom; ++y) {
    for (int x = from; x < std::min(to, paper.width); ++x) {
      if (!paper.Black(x, y)) continue;
      if (ink.left < 0 || x < ink.left) ink.left = x;
      ink.right = std::max(ink.right, x);
    }
  }
  return ink;
}

bool AnyInk(const ReceiptPaper& paper, int top, int bottom, int from, int to) {
  return InkIn(paper, top, bottom, from, to).Width() > 0;
}

// "H": both stems fill the body, glyph rows 2 to 8, that is dots 4 to 17 of a normal cell.
TEST(ReceiptRenderer, TextLandsInTwelveByTwentyFourCellsOnThirtyDotLines) {
  const ReceiptPaper paper = RenderEscPos(kEscPosStart + "HH\nH\n");
  EXPECT_EQ(paper.width, kNarrowPaperDots);
  EXPECT_EQ(paper.height, 60);
  for (const int x : {1, 2, 9, 10, 13, 14, 21, 22}) EXPECT_TRUE(paper.Black(x, 4)) << x;
  for (const int x : {0, 3, 11, 12, 23}) EXPECT_FALSE(paper.Black(x, 8)) << x;
  EXPECT_TRUE(paper.Black(1, 17));
  EXPECT_FALSE(paper.Black(1, 3));
  EXPECT_FALSE(paper.Black(1, 18));
  EXPECT_EQ(InkIn(paper, 0, 30).left, 1);
  EXPECT_EQ(InkIn(paper, 0, 30).right, 22);
  // The second line starts 30 dots lower.
  EXPECT_TRUE(paper.Black(1, 34));
  EXPECT_FALSE(paper.Black(1, 33));
  EXPECT_EQ(InkIn(paper, 30, 60).Width(), 10);
}

TEST(ReceiptRenderer, BoldThickensEveryStrokeByOneDot) {
  const ReceiptPaper paper = RenderEscPos(kEscPosStart +
                                          "\x1b"
                                          "E\x01I\x1b"
                                          "E" +
                                          std::string(1, 0) + "I\n");
  // "I": a stem in glyph column 2 (dots 5 and 6), bars over columns 1 to 3 (dots 3 to 8).
  EXPECT_EQ(InkIn(paper, 0, 30, 0, 12).Width(), 7);
  EXPECT_EQ(InkIn(paper, 0, 30, 12, 24).Width(), 6);
  EXPECT_TRUE(paper.Black(7, 10));
  EXPECT_FALSE(paper.Black(12 + 7, 10));
  EXPECT_TRUE(paper.Black(12 + 6, 10));
}

TEST(ReceiptRenderer, SizesScaleTheCellAndCharactersShareTheBaseline) {
  const ReceiptPaper paper =
      RenderEscPos(kEscPosStart + Bytes({0x1D, '!', 0x11}) + "H" + Bytes({0x1D, '!', 0}) + "H" +
                   Bytes({0x1D, '!', 0x01}) + "H\n" + Bytes({0x1D, '!', 0}) + "H\n");
  // Double width and height: a 24 x 48 cell, the ink twice as wide and tall.
  EXPECT_EQ(InkIn(paper, 0, 48, 0, 24).left, 2);
  EXPECT_EQ(InkIn(paper, 0, 48, 0, 24).Width(), 20);
  EXPECT_TRUE(paper.Black(2, 8));
  EXPECT_TRUE(paper.Black(2, 35));
  EXPECT_FALSE(paper.Black(2, 7));
  EXPECT_FALSE(paper.Black(2, 36));
  // The normal "H" after it stands on the same baseline, in the lower half of the line.
  EXPECT_EQ(InkIn(paper, 0, 48, 24, 36).Width(), 10);
  EXPECT_TRUE(paper.Black(25, 28));
  EXPECT_TRUE(paper.Black(25, 41));
  EXPECT_FALSE(AnyInk(paper, 0, 28, 24, 36));
  // Double height only: normal width, twice the height.
  EXPECT_EQ(InkIn(paper, 0, 48, 36, 48).Width(), 10);
  EXPECT_TRUE(paper.Black(37, 8));
  EXPECT_TRUE(paper.Black(37, 35));
  // A line of tall characters feeds their height, more than the 30-dot spacing.
  EXPECT_TRUE(paper.Black(1, 48 + 4));
  EXPECT_FALSE(AnyInk(paper, 36, 48 + 4, 0, 24));
}

TEST(ReceiptRenderer, RasterPicturesLandDotForDotAndPushTheTextDown) {
  // 16 x 3 dots: the first and last dot of row 0, nothing in row 1, all of row 2.
  const std::string picture =
      Bytes({0x1D, 'v', '0', 0, 2, 0, 3, 0, 0x80, 0x01, 0x00, 0x00, 0xFF, 0xFF});
  ReceiptPaper paper = RenderEscPos(kEscPosStart + picture + "H\n");
  EXPECT_TRUE(paper.Black(0, 0));
  EXPECT_TRUE(paper.Black(15, 0));
  EXPECT_FALSE(paper.Black(1, 0));
  EXPECT_FALSE(AnyInk(paper, 1, 2, 0, paper.width));
  EXPECT_EQ(InkIn(paper, 2, 3).left, 0);
  EXPECT_EQ(InkIn(paper, 2, 3).right, 15);
  EXPECT_TRUE(paper.Black(1, 3 + 4));
  EXPECT_FALSE(AnyInk(paper, 3, 3 + 4, 0, paper.width));

  // Centred, and doubled both ways by its mode.
  paper = RenderEscPos(kEscPosStart +
                       "\x1b"
                       "a\x01" +
                       Bytes({0x1D, 'v', '0', 3, 1, 0, 1, 0, 0x80}));
  const int left = (kNarrowPaperDots - 16) / 2;
  EXPECT_EQ(InkIn(paper, 0, 2).left, left);
  EXPECT_EQ(InkIn(paper, 0, 2).right, left + 1);
  EXPECT_EQ(paper.height, 2);
}

TEST(ReceiptRenderer, TheCutIsADashedLineAfterItsFeed) {
  const ReceiptPaper paper = RenderEscPos(kEscPosStart + "A\n" + Bytes({0x1D, 'V', 66, 3}));
  EXPECT_EQ(paper.height, 30 + 3 + 1);
  const int cut = 33;
  EXPECT_TRUE(paper.Black(0, cut));
  EXPECT_TRUE(paper.Black(7, cut));
  EXPECT_FALSE(paper.Black(8, cut));
  EXPECT_TRUE(paper.Black(16, cut));
  EXPECT_TRUE(paper.Black(paper.width - 16, cut));
  EXPECT_FALSE(AnyInk(paper, 30, cut, 0, paper.width));
}

TEST(ReceiptRenderer, WindowsCodePageDrawsAccentsAndOtherPagesShowBoxes) {
  // "ñ": a tilde above an "n" whose body starts at glyph row 4 (dot 8).
  ReceiptPaper paper = RenderEscPos(kEscPosStart + "\xF1n\n");
  EXPECT_TRUE(AnyInk(paper, 4, 8, 0, 12));
  EXPECT_FALSE(AnyInk(paper, 4, 8, 12, 24));
  EXPECT_EQ(InkIn(paper, 8, 18, 0, 12).Width(), InkIn(paper, 8, 18, 12, 24).Width());
  // "Ñ": the capital fills the body, so its tilde goes above it, in dots 0 to 3.
  paper = RenderEscPos(kEscPosStart + "\xD1\n");
  EXPECT_TRUE(AnyInk(paper, 0, 4, 0, 12));

  // Without ESC t 16 (page 0 after ESC @) the same byte is a hollow box over the body.
  paper = RenderEscPos(std::string("\x1b@\xF1\n"));
  EXPECT_EQ(InkIn(paper, 4, 6, 0, 12).Width(), 10);
  EXPECT_TRUE(paper.Black(1, 16));
  EXPECT_FALSE(paper.Black(5, 10));
}

TEST(ReceiptRenderer, PaperWidthFollowsTheWidestLineOrPicture) {
  EXPECT_EQ(RenderEscPos(kEscPosStart + std::string(32, 'H') + "\n").width, kNarrowPaperDots);
  EXPECT_EQ(RenderEscPos(kEscPosStart + std::string(33, 'H') + "\n").width, kWidePaperDots);
  std::string raster = Bytes({0x1D, 'v', '0', 0, 49, 0, 1, 0}) + std::string(49, '\xFF');
  EXPECT_EQ(RenderEscPos(kEscPosStart + raster).width, kWidePaperDots);

  // On a given roll a line that does not fit goes on in the next line.
  const ReceiptPaper paper =
      RenderEscPos(kEscPosStart + std::string(33, 'H') + "\n", kNarrowPaperDots);
  EXPECT_EQ(InkIn(paper, 0, 30).right, 32 * 12 - 2);
  EXPECT_EQ(InkIn(paper, 30, 60).Width(), 10);
  EXPECT_EQ(paper.height, 60);
}

TEST(ReceiptRenderer, UnknownCommandsAndCutShortBytesAreSkipped) {
  // ESC p (drawer kick) and GS B take their arguments; an unknown ESC pair takes two bytes.
  const ReceiptPaper paper =
      RenderEscPos(kEscPosStart + Bytes({0x1B, 'p', 0, 60, 240}) + Bytes({0x1D, 'B', 1}) +
                   Bytes({0x1B, 'z'}) + "H\n" + Bytes({0x1D, 'v', '0', 0, 10}));
  EXPECT_EQ(InkIn(paper, 0, 30).left, 1);
  EXPECT_EQ(InkIn(paper, 0, 30).Width(), 10);
  EXPECT_EQ(paper.height, 30);
}

// What the encoder lays out is what the paper shows: columns, sizes and the logo.
TEST(ReceiptRenderer, EncodedTicketsShowTheirLayout) {
  test::TempFolder folder;
  std::vector<std::uint8_t> levels(16 * 4, 0);  // a black block of 16 x 4 dots
  folder.Write("logo.bmp", test::MakeBmp(16, 4, 1, levels));
  Ticket ticket;
  ticket.pictures.push_back({(folder.Path() / "logo.bmp").string(), 8 * test::kTwipsPerDot, 0,
                             16 * test::kTwipsPerDot, 4 * test::kTwipsPerDot, 0});
  ticket.lines.push_back({{TextRun(5, u"AB"), TextRun(20, u"AB", 10, true)}, 10});
  ticket.lines.push_back({{TextRun(1, u"AB", 15)}, 15});
  const ReceiptPaper paper = RenderEscPos(EncodeEscPos(ticket));

  EXPECT_EQ(InkIn(paper, 0, 4).left, 8);
  EXPECT_EQ(InkIn(paper, 0, 4).right, 23);
  const int first = 4, second = 4 + 30;
  EXPECT_EQ(InkIn(paper, first, second, 0, 200).left, 4 * 12 + 1);
  const int normal = InkIn(paper, first, second, 0, 200).Width();
  const int bold = InkIn(paper, first, second, 200, paper.width).Width();
  EXPECT_EQ(InkIn(paper, first, second, 200, paper.width).left, 19 * 12 + 1);
  EXPECT_EQ(bold, normal + 1);
  EXPECT_EQ(InkIn(paper, second, second + 48).left, 2);
  EXPECT_EQ(InkIn(paper, second, second + 48).Width(), 2 * normal);
}

}  // namespace
}  // namespace quillon::print
