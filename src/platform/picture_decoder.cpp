#include "platform/picture_decoder.h"

namespace quillon::platform {

std::uint8_t GreyLevel(int red, int green, int blue) {
  return static_cast<std::uint8_t>((299 * red + 587 * green + 114 * blue + 500) / 1000);
}

}  // namespace quillon::platform
