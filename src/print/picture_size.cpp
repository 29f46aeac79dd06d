#include "print/picture_size.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "platform/failure.h"

namespace quillon::print {
namespace {

using Bytes = std::vector<unsigned char>;

struct Pixels {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

std::uint32_t Le16(const Bytes& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
std::uint32_t Be16(const Bytes& b, std::size_t at) { return (b[at] << 8) | b[at + 1]; }
std::int32_t Le32(const Bytes& b, std::size_t at) {
  return static_cast<std::int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                   (static_cast<std::uint32_t>(b[at + 3]) << 24));
}

std::optional<Pixels> BmpPixels(const Bytes& b) {
  if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  const std::int32_t header_size = Le32(b, 14);
  if (header_size == 12) return Pixels{Le16(b, 18), Le16(b, 20)};  // the old OS/2 header
  if (header_size < 40) return std::nullopt;
  const std::int32_t width = Le32(b, 18);
  const std::int32_t height = Le32(b, 22);  // negative for rows stored top-down
  if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
  return Pixels{static_cast<std::uint32_t>(width),
                static_cast<std::uint32_t>(height < 0 ? -height : height)};
}

std::optional<Pixels> GifPixels(const Bytes& b) {
  if (b.size() < 10 || b[0] != 'G' || b[1] != 'I' || b[2] != 'F') return std::nullopt;
  return Pixels{Le16(b, 6), Le16(b, 8)};
}

// Walks the JPEG markers up to the first start-of-frame, which holds the size.
std::optional<Pixels> JpegPixels(const Bytes& b) {
  if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return std::nullopt;
  std::size_t at = 2;
  while (at + 4 <= b.size()) {
    if (b[at] != 0xFF) return std::nullopt;
    const unsigned char marker = b[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
      at += 2;  // markers without a length
      continue;
    }
    const std::uint32_t length = Be16(b, at + 2);
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (at + 9 > b.size()) return std::nullopt;
      return Pixels{Be16(b, at + 7), Be16(b, at + 5)};
    }
    if (length < 2) return std::nullopt;
    at += 2 + length;
  }
  return std::nullopt;
}

}  // namespace

PictureSize ReadPictureSize(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::optional<Pixels> pixels = BmpPixels(bytes);
  if (!pixels) pixels = GifPixels(bytes);
  if (!pixels) pixels = JpegPixels(bytes);
  if (!pixels || pixels->width == 0 || pixels->height == 0) {
    throw platform::Failure(481, u"La imagen no es válida");
  }
  // 2540 hundredths of a millimetre to the inch, 96 pixels to the inch.
  constexpr double kPerPixel = 2540.0 / 96.0;
  return {std::lround(pixels->width * kPerPixel), std::lround(pixels->height * kPerPixel)};
}

}  // namespace quillon::print
