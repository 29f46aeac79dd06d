#pragma once
// Pictures read for printing and for the window's logo: colours over white paper, or grey levels
// for printers that print dots. The core reads BMP files itself; a toolkit adapter adds GIF, JPEG
// and PNG behind the interface.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon::platform {

// The most pixels a decoder takes on: a photograph of a logo still fits, a header that claims
// billions of pixels does not. Decoders compare the size they read with it before they allocate.
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{32} * 1024 * 1024;
bool WithinPictureBound(std::int64_t width, std::int64_t height);

struct ColourPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // 3 bytes a pixel, rows from the top; see-through is white
};

struct GreyPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> levels;  // width x height, rows from the top; 0 black, 255 white
};

class PictureDecoder {
 public:
  virtual ~PictureDecoder() = default;
  // nullopt when the file cannot be read, is not a picture this decoder knows, or has more than
  // kMaxPicturePixels.
  virtual std::optional<ColourPicture> DecodeColour(const std::string& file) const = 0;
  std::optional<GreyPicture> Decode(const std::string& file) const;
};

// Grey level of a colour as the eye weighs it (ITU-R BT.601 weights).
std::uint8_t GreyLevel(int red, int green, int blue);
GreyPicture GreyOf(const ColourPicture& picture);
// A colour laid over white paper with its opacity (0 see-through, 255 opaque).
std::uint8_t OverWhite(int value, int alpha);

}  // namespace quillon::platform
