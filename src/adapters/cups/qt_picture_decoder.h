#pragma once
// Pictures read with Qt: BMP, GIF, JPEG and whatever else the image plugins know.
#include "platform/picture_decoder.h"

namespace quillon::adapters::cups {

class QtPictureDecoder final : public platform::PictureDecoder {
 public:
  std::optional<platform::GreyPicture> Decode(const std::string& file) const override;
};

}  // namespace quillon::adapters::cups
