#include "print/bmp_picture_decoder.h"

#include <bit>
#include <fstream>
#include <iterator>

namespace quillon::print {

using platform::ColourPicture;
namespace {

constexpr std::uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;

std::uint32_t Read16(const std::string& b, std::size_t at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8;
}

std::uint32_t Read32(const std::string& b, std::size_t at) {
  return Read16(b, at) | Read16(b, at + 2) << 16;
}

// One colour channel picked out by its mask, stretched to 0..255.
struct Channel {
  std::uint32_t mask = 0;
  int Value(std::uint32_t pixel) const {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const std::uint32_t max = mask >> shift;
    return static_cast<int>(((pixel & mask) >> shift) * 255 / max);
  }
};

}  // namespace

std::optional<ColourPicture> BmpPictureDecoder::DecodeColour(const std::string& file) const {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return DecodeColourBytes(bytes);
}

std::optional<ColourPicture> BmpPictureDecoder::DecodeColourBytes(const std::string& b) {
  if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  const std::size_t pixels_at = Read32(b, 10);
  const std::uint32_t header = Read32(b, 14);
  std::int64_t width = 0, height = 0;
  std::uint32_t bits = 0, compression = kRgb, colours_used = 0;
  std::size_t palette_entry = 4;
  if (header == 12) {  // the old core header
    width = static_cast<std::int16_t>(Read16(b, 18));
    height = static_cast<std::int16_t>(Read16(b, 20));
    bits = Read16(b, 24);
    palette_entry = 3;
  } else if (header >= 40 && b.size() >= 14 + std::size_t{header}) {
    width = static_cast<std::int32_t>(Read32(b, 18));
    height = static_cast<std::int32_t>(Read32(b, 22));
    bits = Read16(b, 28);
    compression = Read32(b, 30);
    colours_used = Read32(b, 46);
  } else {
    return std::nullopt;
  }
  const bool top_down = height < 0;
  if (top_down) height = -height;
  if (!platform::WithinPictureBound(width, height)) return std::nullopt;

  Channel red, green, blue, alpha;
  if (compression == kBitFields || compression == kAlphaBitFields) {
    if (bits != 16 && bits != 32) return std::nullopt;
    // Masks sit inside a long header, or right after the short one.
    const std::size_t masks_at = 14 + 40;
    const std::size_t mask_count = compression == kAlphaBitFields || header >= 56 ? 4 : 3;
    if (b.size() < masks_at + 4 * mask_count) return std::nullopt;
    red.mask = Read32(b, masks_at);
    green.mask = Read32(b, masks_at + 4);
    blue.mask = Read32(b, masks_at + 8);
    if (mask_count == 4) alpha.mask = Read32(b, masks_at + 12);
  } else if (compression != kRgb) {
    return std::nullopt;  // run-length compressed bitmaps are not used for logos
  } else if (bits == 16) {
    red.mask = 0x7C00, green.mask = 0x03E0, blue.mask = 0x001F;
  } else if (bits == 32) {
    red.mask = 0xFF0000, green.mask = 0xFF00, blue.mask = 0xFF;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    return std::nullopt;
  }

  std::vector<std::uint8_t> palette;  // 3 bytes an entry, red first
  if (bits <= 8) {
    const std::size_t count =
        colours_used != 0 && colours_used < (1u << bits) ? colours_used : (1u << bits);
    const std::size_t at = 14 + header;
    if (b.size() < at + count * palette_entry) return std::nullopt;
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t e = at + i * palette_entry;
      for (const std::size_t c : {2, 1, 0}) palette.push_back(static_cast<std::uint8_t>(b[e + c]));
    }
  }

  // The rows the header claims must be in the file before anything is made for them.
  const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  if (pixels_at > b.size() || (b.size() - pixels_at) / stride < static_cast<std::size_t>(height)) {
    return std::nullopt;
  }

  ColourPicture picture;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.rgb.resize(static_cast<std::size_t>(width * height) * 3);
  for (std::int64_t y = 0; y < height; ++y) {
    const std::size_t row =
        pixels_at + stride * static_cast<std::size_t>(top_down ? y : height - 1 - y);
    for (std::int64_t x = 0; x < width; ++x) {
      std::uint8_t* out = &picture.rgb[static_cast<std::size_t>(y * width + x) * 3];
      if (bits <= 8) {
        const std::size_t bit = static_cast<std::size_t>(x) * bits;
        const auto byte = static_cast<std::uint8_t>(b[row + bit / 8]);
        const std::size_t index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        for (std::size_t c = 0; c < 3; ++c) {
          out[c] = 3 * index < palette.size() ? palette[3 * index + c] : 255;
        }
      } else if (bits == 24) {
        const std::size_t p = row + static_cast<std::size_t>(x) * 3;
        for (std::size_t c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>(b[p + 2 - c]);
      } else {
        const std::size_t p = row + static_cast<std::size_t>(x) * (bits / 8);
        const std::uint32_t pixel = bits == 16 ? Read16(b, p) : Read32(b, p);
        const int opacity = alpha.mask != 0 ? alpha.Value(pixel) : 255;
        out[0] = platform::OverWhite(red.Value(pixel), opacity);
        out[1] = platform::OverWhite(green.Value(pixel), opacity);
        out[2] = platform::OverWhite(blue.Value(pixel), opacity);
      }
    }
  }
  return picture;
}

}  // namespace quillon::print
