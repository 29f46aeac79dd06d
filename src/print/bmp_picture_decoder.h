#pragma once
// The core's own picture reader: the logo of a receipt printer is read without a toolkit.
#include <optional>
#include <string>

#include "platform/picture_decoder.h"

namespace quillon::print {

// Windows bitmaps: 1, 4, 8, 16, 24 and 32 bits a pixel, uncompressed or with bit fields,
// bottom-up or top-down. Transparent pixels (an alpha mask) count as white paper. A header
// whose rows are not all in the file is refused before anything is allocated for them.
class BmpPictureDecoder final : public platform::PictureDecoder {
 public:
  std::optional<platform::ColourPicture> DecodeColour(const std::string& file) const override;
  static std::optional<platform::ColourPicture> DecodeColourBytes(const std::string& bytes);
};

}  // namespace quillon::print
