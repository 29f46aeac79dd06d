#include "adapters/cups/qt_picture_decoder.h"

#include <QFile>
#include <QImageReader>

namespace quillon::adapters::cups {

QImage ReadBoundedImage(const QString& file) {
  QImageReader reader(file);
  reader.setDecideFormatFromContent(true);
  const QSize size = reader.size();
  if (!size.isValid() || !platform::WithinPictureBound(size.width(), size.height())) return {};
  // ARGB32 of the largest picture allowed, in whole megabytes.
  reader.setAllocationLimit(static_cast<int>(platform::kMaxPicturePixels * 4 / (1024 * 1024)));
  return reader.read();
}

std::optional<platform::ColourPicture> QtPictureDecoder::DecodeColour(
    const std::string& file) const {
  QImage image = ReadBoundedImage(QFile::decodeName(file.c_str()));
  if (image.isNull()) return std::nullopt;
  image = image.convertToFormat(QImage::Format_ARGB32);
  platform::ColourPicture picture;
  picture.width = image.width();
  picture.height = image.height();
  picture.rgb.reserve(static_cast<std::size_t>(picture.width) * picture.height * 3);
  for (int y = 0; y < picture.height; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < picture.width; ++x) {
      // Transparent parts are the white of the paper.
      const int alpha = qAlpha(row[x]);
      for (const int value : {qRed(row[x]), qGreen(row[x]), qBlue(row[x])}) {
        picture.rgb.push_back(platform::OverWhite(value, alpha));
      }
    }
  }
  return picture;
}

}  // namespace quillon::adapters::cups
