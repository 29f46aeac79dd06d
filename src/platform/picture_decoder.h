#pragma once
// Pictures turned into grey levels for printers that print dots (the logo on a receipt printer).
// The core reads BMP files itself; a toolkit adapter can add GIF and JPEG behind the interface.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon::platform {

struct GreyPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> levels;  // width x height, rows from the top; 0 black, 255 white
};

class PictureDecoder {
 public:
  virtual ~PictureDecoder() = default;
  // nullopt when the file cannot be read or is not a picture this decoder knows.
  virtual std::optional<GreyPicture> Decode(const std::string& file) const = 0;
};

// Grey level of a colour as the eye weighs it (ITU-R BT.601 weights).
std::uint8_t GreyLevel(int red, int green, int blue);

}  // namespace quillon::platform
