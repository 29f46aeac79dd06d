#include "platform/picture_decoder.h"

namespace quillon::platform {

bool WithinPictureBound(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPicturePixels &&
         height <= kMaxPicturePixels / width;
}

std::optional<GreyPicture> PictureDecoder::Decode(const std::string& file) const {
  const std::optional<ColourPicture> colour = DecodeColour(file);
  if (!colour) return std::nullopt;
  return GreyOf(*colour);
}

std::uint8_t GreyLevel(int red, int green, int blue) {
  return static_cast<std::uint8_t>((299 * red + 587 * green + 114 * blue + 500) / 1000);
}

GreyPicture GreyOf(const ColourPicture& picture) {
  GreyPicture grey{picture.width, picture.height, {}};
  grey.levels.reserve(picture.rgb.size() / 3);
  for (std::size_t i = 0; i + 2 < picture.rgb.size(); i += 3) {
    grey.levels.push_back(GreyLevel(picture.rgb[i], picture.rgb[i + 1], picture.rgb[i + 2]));
  }
  return grey;
}

std::uint8_t OverWhite(int value, int alpha) {
  return static_cast<std::uint8_t>(255 - (255 - value) * alpha / 255);
}

}  // namespace quillon::platform
