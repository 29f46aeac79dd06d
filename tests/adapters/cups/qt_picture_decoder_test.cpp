// Logos in the formats the desktop picture loader reads, turned into grey levels.
#include "adapters/cups/qt_picture_decoder.h"

#include <gtest/gtest.h>

#include <QImage>

#include "support/temp_folder.h"

namespace quillon::adapters::cups {
namespace {

TEST(QtPictures, GifJpegAndBmpGiveTheirGreyLevels) {
  test::TempFolder folder;
  QImage image(4, 2, QImage::Format_RGB32);
  image.fill(Qt::white);
  image.setPixel(0, 0, qRgb(0, 0, 0));
  image.setPixel(3, 1, qRgb(255, 0, 0));
  const QtPictureDecoder decoder;
  // 4 x 2 pixels as a GIF (which Qt only reads): black, white, white, white / white ... red.
  folder.Write("logo.gif", std::string("GIF89a\x04\x00\x02\x00\xf1\x02\x00\x00\x00\x00\xff\x00"
                                       "\x00\xff\xff\xff\x00\x00\x00\x21\xf9\x04\x00\x00\x00"
                                       "\x00\x00\x2c\x00\x00\x00\x00\x04\x00\x02\x00\x00\x02"
                                       "\x03\x84\x8e\x51\x00\x3b",
                                       50));
  for (const char* format : {"gif", "bmp", "png"}) {
    const std::string file = (folder.Path() / (std::string("logo.") + format)).string();
    if (std::string(format) != "gif") {
      ASSERT_TRUE(image.save(QString::fromStdString(file), format));
    }
    const auto picture = decoder.Decode(file);
    ASSERT_TRUE(picture) << format;
    EXPECT_EQ(picture->width, 4);
    EXPECT_EQ(picture->height, 2);
    EXPECT_EQ(picture->levels, (std::vector<std::uint8_t>{0, 255, 255, 255, 255, 255, 255, 76}))
        << format;
  }
  // JPEG is lossy: black and white stay near their ends.
  QImage halves(16, 16, QImage::Format_RGB32);
  halves.fill(Qt::white);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 8; ++x) halves.setPixel(x, y, qRgb(0, 0, 0));
  const std::string jpeg = (folder.Path() / "logo.jpg").string();
  ASSERT_TRUE(halves.save(QString::fromStdString(jpeg), "jpg", 100));
  const auto picture = decoder.Decode(jpeg);
  ASSERT_TRUE(picture);
  EXPECT_LT(picture->levels[16 * 8 + 2], 40);
  EXPECT_GT(picture->levels[16 * 8 + 13], 215);
}

TEST(QtPictures, TransparentIsPaperAndUnreadableIsNothing) {
  test::TempFolder folder;
  QImage image(2, 1, QImage::Format_ARGB32);
  image.setPixel(0, 0, qRgba(0, 0, 0, 0));
  image.setPixel(1, 0, qRgba(0, 0, 0, 255));
  const std::string file = (folder.Path() / "logo.png").string();
  ASSERT_TRUE(image.save(QString::fromStdString(file), "png"));
  const QtPictureDecoder decoder;
  const auto picture = decoder.Decode(file);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->levels, (std::vector<std::uint8_t>{255, 0}));

  folder.Write("broken.jpg", "not a picture");
  EXPECT_FALSE(decoder.Decode((folder.Path() / "broken.jpg").string()));
  EXPECT_FALSE(decoder.Decode((folder.Path() / "missing.gif").string()));
}

}  // namespace
}  // namespace quillon::adapters::cups
