// Logos in the formats the desktop picture loader reads, turned into grey levels.
#include "adapters/cups/qt_picture_decoder.h"

#include <gtest/gtest.h>

#include <QImage>

#include "print/escpos_encoder.h"
#include "support/temp_folder.h"

namespace quillon::adapters::cups {
namespace {

// 4 x 2 pixels as a GIF (which Qt only reads): black, white, white, white / white ... red.
const std::string kGif(
    "GIF89a\x04\x00\x02\x00\xf1\x02\x00\x00\x00\x00\xff\x00"
    "\x00\xff\xff\xff\x00\x00\x00\x21\xf9\x04\x00\x00\x00"
    "\x00\x00\x2c\x00\x00\x00\x00\x04\x00\x02\x00\x00\x02"
    "\x03\x84\x8e\x51\x00\x3b",
    50);

TEST(QtPictures, GifJpegAndBmpGiveTheirGreyLevels) {
  test::TempFolder folder;
  QImage image(4, 2, QImage::Format_RGB32);
  image.fill(Qt::white);
  image.setPixel(0, 0, qRgb(0, 0, 0));
  image.setPixel(3, 1, qRgb(255, 0, 0));
  const QtPictureDecoder decoder;
  folder.Write("logo.gif", kGif);
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

TEST(QtPictures, ALogoBmpHoldingPngJpegOrGifIsReadByItsContentAndPrints) {
  test::TempFolder folder;
  QImage image(64, 32, QImage::Format_RGB32);
  image.fill(Qt::black);
  const std::string logo = (folder.Path() / "logo.bmp").string();
  const QtPictureDecoder decoder;
  for (const char* format : {"PNG", "JPG", "GIF"}) {
    if (std::string(format) == "GIF") {
      folder.Write("logo.bmp", kGif);
    } else {
      ASSERT_TRUE(image.save(QString::fromStdString(logo), format)) << format;
    }
    const auto picture = decoder.Decode(logo);
    ASSERT_TRUE(picture) << format;
    EXPECT_LT(picture->levels[0], 40) << format;  // black in every one
    // On a receipt printer it is a raster of black dots.
    platform::Ticket ticket;
    ticket.pictures.push_back({logo, 0, 20, 640, 320, 0});
    const std::string bytes = print::EncodeEscPos(ticket, {.paper_dots = 0, .pictures = &decoder});
    EXPECT_NE(bytes.find("\x1Dv0"), std::string::npos) << format;
    EXPECT_NE(bytes.find('\xFF'), std::string::npos) << format;
  }
}

TEST(QtPictures, APictureOverThePixelBoundIsRefusedUnread) {
  test::TempFolder folder;
  // 6000 x 6000 pixels are more than the bound of 32 Mi, in a PNG of a few kilobytes.
  QImage image(6000, 6000, QImage::Format_Mono);
  image.fill(0);
  const QString file = QString::fromStdString((folder.Path() / "logo.bmp").string());
  ASSERT_TRUE(image.save(file, "PNG"));
  EXPECT_FALSE(QtPictureDecoder().Decode(file.toStdString()));
  EXPECT_TRUE(ReadBoundedImage(file).isNull());
}

}  // namespace
}  // namespace quillon::adapters::cups
