#include "adapters/cups/qt_picture_decoder.h"

#include <QFile>
#include <QImage>

namespace quillon::adapters::cups {
namespace {
constexpr int kMaxSide = 20000;  // far beyond any logo
}

std::optional<platform::GreyPicture> QtPictureDecoder::Decode(const std::string& file) const {
  QImage image;
  if (!image.load(QFile::decodeName(file.c_str()))) return std::nullopt;
  if (image.width() > kMaxSide || image.height() > kMaxSide) return std::nullopt;
  image = image.convertToFormat(QImage::Format_ARGB32);
  platform::GreyPicture picture;
  picture.width = image.width();
  picture.height = image.height();
  picture.levels.reserve(static_cast<std::size_t>(picture.width) * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < picture.width; ++x) {
      const int level = platform::GreyLevel(qRed(row[x]), qGreen(row[x]), qBlue(row[x]));
      // Transparent parts are the white of the paper.
      picture.levels.push_back(
          static_cast<std::uint8_t>(255 - (255 - level) * qAlpha(row[x]) / 255));
    }
  }
  return picture;
}

}  // namespace quillon::adapters::cups
