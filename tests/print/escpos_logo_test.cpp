// Reading the logo bitmap into grey levels for the raster: the bit depths a logo is saved in,
// row order, transparency, and files that are not bitmaps.
#include <gtest/gtest.h>

#include "escpos_test_bitmaps.h"
#include "print/bmp_picture_decoder.h"
#include "support/temp_folder.h"

namespace quillon::platform {
namespace {

using test::MakeBmp;

std::optional<GreyPicture> DecodeBytes(const std::string& bytes) {
  const auto colour = print::BmpPictureDecoder::DecodeColourBytes(bytes);
  if (!colour) return std::nullopt;
  return GreyOf(*colour);
}

// 3 x 2 pixels: black, mid grey, white / white, black, light grey.
const std::vector<std::uint8_t> kLevels = {0, 128, 255, 255, 0, 200};

TEST(EscPosLogo, EveryDepthGivesTheSameGreyLevelsTopRowFirst) {
  for (const int bits : {8, 24, 32}) {
    for (const bool top_down : {false, true}) {
      const auto picture = DecodeBytes(MakeBmp(3, 2, bits, kLevels, top_down));
      ASSERT_TRUE(picture) << bits;
      EXPECT_EQ(picture->width, 3);
      EXPECT_EQ(picture->height, 2);
      EXPECT_EQ(picture->levels, kLevels) << bits << " bits, top down " << top_down;
    }
  }
  // One bit a pixel: 9 pixels cross a byte boundary of the row.
  const std::vector<std::uint8_t> bw = {0, 255, 0, 255, 0, 255, 0, 255, 0};
  const auto picture = DecodeBytes(MakeBmp(9, 1, 1, bw));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->levels, bw);
}

TEST(EscPosLogo, TransparentPixelsAreWhitePaper) {
  const auto picture = DecodeBytes(MakeBmp(3, 1, 32, {0, 0, 0}, false, {255, 0, 128}));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->levels, (std::vector<std::uint8_t>{0, 255, 127}));
}

TEST(EscPosLogo, ColoursWeighedAsTheEyeSeesThem) {
  EXPECT_EQ(GreyLevel(255, 0, 0), 76);
  EXPECT_EQ(GreyLevel(0, 255, 0), 150);
  EXPECT_EQ(GreyLevel(0, 0, 255), 29);
  EXPECT_EQ(GreyLevel(255, 255, 255), 255);
}

TEST(EscPosLogo, FilesThatAreNotUsableBitmapsAreRefused) {
  const std::string good = MakeBmp(3, 2, 24, kLevels);
  EXPECT_FALSE(DecodeBytes(""));
  EXPECT_FALSE(DecodeBytes("GIF89a" + good.substr(6)));
  EXPECT_FALSE(DecodeBytes(good.substr(0, good.size() - 1)));  // cut short

  std::string huge = good;  // a header claiming 100000 x 100000 pixels
  for (const std::size_t at : {18u, 22u}) {
    huge[at] = '\xA0', huge[at + 1] = '\x86', huge[at + 2] = '\x01', huge[at + 3] = 0;
  }
  EXPECT_FALSE(DecodeBytes(huge));

  std::string compressed = good;
  compressed[30] = 1;  // run-length compression
  EXPECT_FALSE(DecodeBytes(compressed));

  test::TempFolder folder;
  folder.Write("logo.bmp", good);
  const print::BmpPictureDecoder decoder;
  EXPECT_TRUE(decoder.Decode((folder.Path() / "logo.bmp").string()));
  EXPECT_FALSE(decoder.Decode((folder.Path() / "missing.bmp").string()));
}

}  // namespace
}  // namespace quillon::platform
