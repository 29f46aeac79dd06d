#pragma once
// Pictures read with Qt: BMP, GIF, JPEG and whatever else the image plugins know.
#include "platform/picture_decoder.h"

namespace quillon::platform::cups {

class QtPictureDecoder final : public PictureDecoder {
 public:
  std::optional<GreyPicture> Decode(const std::string& file) const override;
};

}  // namespace quillon::platform::cups
