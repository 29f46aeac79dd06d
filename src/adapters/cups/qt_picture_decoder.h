#pragma once
// Pictures read with Qt: BMP, GIF, JPEG, PNG and whatever else the image plugins know, by their
// content whatever their name says (a PNG saved as logo.bmp).
#include <QImage>
#include <QString>

#include "platform/picture_decoder.h"

namespace quillon::adapters::cups {

// The picture of `file`; a null image when it cannot be read or its header claims more than
// platform::kMaxPicturePixels, found out before its pixels are read.
QImage ReadBoundedImage(const QString& file);

class QtPictureDecoder final : public platform::PictureDecoder {
 public:
  std::optional<platform::ColourPicture> DecodeColour(const std::string& file) const override;
};

}  // namespace quillon::adapters::cups
