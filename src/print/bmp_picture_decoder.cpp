#include "print/bmp_picture_decoder.h"

#include <bit>
#include <fstream>
#include <iterator>
#include <vector>

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

// What the file header and the bitmap header say about the pixels.
struct BmpLayout {
  std::size_t pixels_at = 0;
  std::uint32_t header = 0;
  std::int64_t width = 0, height = 0;
  bool top_down = false;
  std::uint32_t bits = 0, compression = kRgb, colours_used = 0;
  std::size_t palette_entry = 4;
};

std::optional<BmpLayout> ReadLayout(const std::string& b) {
  if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  BmpLayout layout;
  layout.pixels_at = Read32(b, 10);
  layout.header = Read32(b, 14);
  if (layout.header == 12) {  // the old core header
    layout.width = static_cast<std::int16_t>(Read16(b, 18));
    layout.height = static_cast<std::int16_t>(Read16(b, 20));
    layout.bits = Read16(b, 24);
    layout.palette_entry = 3;
  } else if (layout.header >= 40 && b.size() >= 14 + std::size_t{layout.header}) {
    layout.width = static_cast<std::int32_t>(Read32(b, 18));
    layout.height = static_cast<std::int32_t>(Read32(b, 22));
    layout.bits = Read16(b, 28);
    layout.compression = Read32(b, 30);
    layout.colours_used = Read32(b, 46);
  } else {
    return std::nullopt;
  }
  layout.top_down = layout.height < 0;
  if (layout.top_down) layout.height = -layout.height;
  if (!platform::WithinPictureBound(layout.width, layout.height)) return std::nullopt;
  return layout;
}

// The channels of 16 and 32-bit pixels: their bit fields, or the usual ones.
struct Channels {
  Channel red, green, blue, alpha;
};

std::optional<Channels> ReadChannels(const std::string& b, const BmpLayout& layout) {
  Channels channels;
  const std::uint32_t bits = layout.bits;
  if (layout.compression == kBitFields || layout.compression == kAlphaBitFields) {
    if (bits != 16 && bits != 32) return std::nullopt;
    // Masks sit inside a long header, or right after the short one.
    const std::size_t masks_at = 14 + 40;
    const std::size_t mask_count =
        layout.compression == kAlphaBitFields || layout.header >= 56 ? 4 : 3;
    if (b.size() < masks_at + 4 * mask_count) return std::nullopt;
    channels.red.mask = Read32(b, masks_at);
    channels.green.mask = Read32(b, masks_at + 4);
    channels.blue.mask = Read32(b, masks_at + 8);
    if (mask_count == 4) channels.alpha.mask = Read32(b, masks_at + 12);
  } else if (layout.compression != kRgb) {
    return std::nullopt;  // run-length compressed bitmaps are not used for logos
  } else if (bits == 16) {
    channels.red.mask = 0x7C00, channels.green.mask = 0x03E0, channels.blue.mask = 0x001F;
  } else if (bits == 32) {
    channels.red.mask = 0xFF0000, channels.green.mask = 0xFF00, channels.blue.mask = 0xFF;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    return std::nullopt;
  }
  return channels;
}

// The palette of 1, 4 and 8-bit pixels, 3 bytes an entry, red first; empty for the others.
std::optional<std::vector<std::uint8_t>> ReadPalette(const std::string& b,
                                                     const BmpLayout& layout) {
  std::vector<std::uint8_t> palette;
  const std::uint32_t bits = layout.bits;
  if (bits > 8) return palette;
  const std::size_t count = layout.colours_used != 0 && layout.colours_used < (1u << bits)
                                ? layout.colours_used
                                : (1u << bits);
  const std::size_t at = 14 + layout.header;
  if (b.size() < at + count * layout.palette_entry) return std::nullopt;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t e = at + i * layout.palette_entry;
    for (const std::size_t c : {2, 1, 0}) palette.push_back(static_cast<std::uint8_t>(b[e + c]));
  }
  return palette;
}

// Pixel x of the row at `row` into `out` (red, green, blue).
void ReadPixel(const std::string& b, std::size_t row, std::int64_t x, std::uint32_t bits,
               const std::vector<std::uint8_t>& palette, const Channels& channels,
               std::uint8_t* out) {
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
    const int opacity = channels.alpha.mask != 0 ? channels.alpha.Value(pixel) : 255;
    out[0] = platform::OverWhite(channels.red.Value(pixel), opacity);
    out[1] = platform::OverWhite(channels.green.Value(pixel), opacity);
    out[2] = platform::OverWhite(channels.blue.Value(pixel), opacity);
  }
}

}  // namespace

std::optional<ColourPicture> BmpPictureDecoder::DecodeColour(const std::string& file) const {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return DecodeColourBytes(bytes);
}

std::optional<ColourPicture> BmpPictureDecoder::DecodeColourBytes(const std::string& b) {
  const std::optional<BmpLayout> layout = ReadLayout(b);
  if (!layout) return std::nullopt;
  const std::optional<Channels> channels = ReadChannels(b, *layout);
  if (!channels) return std::nullopt;
  const std::optional<std::vector<std::uint8_t>> palette = ReadPalette(b, *layout);
  if (!palette) return std::nullopt;

  // The rows the header claims must be in the file before anything is made for them.
  const std::int64_t width = layout->width, height = layout->height;
  const std::size_t pixels_at = layout->pixels_at;
  const std::size_t stride = (static_cast<std::size_t>(width) * layout->bits + 31) / 32 * 4;
  if (pixels_at > b.size() || (b.size() - pixels_at) / stride < static_cast<std::size_t>(height)) {
    return std::nullopt;
  }

  ColourPicture picture;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.rgb.resize(static_cast<std::size_t>(width * height) * 3);
  for (std::int64_t y = 0; y < height; ++y) {
    const std::size_t row =
        pixels_at + stride * static_cast<std::size_t>(layout->top_down ? y : height - 1 - y);
    for (std::int64_t x = 0; x < width; ++x) {
      ReadPixel(b, row, x, layout->bits, *palette, *channels,
                &picture.rgb[static_cast<std::size_t>(y * width + x) * 3]);
    }
  }
  return picture;
}

}  // namespace quillon::print
