#pragma once
// Small Windows bitmaps built in memory for the ESC/POS tests, and the twips that give a
// whole number of printer dots (8 dots a millimetre).
#include <cstdint>
#include <string>
#include <vector>

namespace quillon::test {

inline constexpr double kTwipsPerDot = 1440.0 / 203.2;

inline void Put16(std::string& b, std::uint32_t v) {
  b.push_back(static_cast<char>(v & 0xFF));
  b.push_back(static_cast<char>(v >> 8 & 0xFF));
}
inline void Put32(std::string& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// Pixel x of a bitmap row of `bits` bits a pixel: grey level g, and alpha a with 32 bits.
inline void PutPixel(std::string& row, int x, int bits, std::uint8_t g, std::uint8_t a) {
  if (bits == 1) {
    char& cell = row[static_cast<std::size_t>(x / 8)];
    if (g) cell = static_cast<char>(cell | (0x80 >> (x % 8)));
    return;
  }
  if (bits == 8) {
    row[static_cast<std::size_t>(x)] = static_cast<char>(g);
    return;
  }
  const std::size_t p = static_cast<std::size_t>(x) * (bits / 8);
  row[p] = row[p + 1] = row[p + 2] = static_cast<char>(g);
  if (bits == 32) row[p + 3] = static_cast<char>(a);
}

// A bitmap of grey levels (rows from the top). bits: 1 (levels 0 or 255), 8 (grey palette),
// 24, or 32 with bit fields and an alpha mask (`alpha` per pixel, 255 opaque).
inline std::string MakeBmp(int width, int height, int bits, const std::vector<std::uint8_t>& levels,
                           bool top_down = false, const std::vector<std::uint8_t>& alpha = {}) {
  const std::uint32_t header = bits == 32 ? 56 : 40;
  const std::uint32_t palette = bits == 1 ? 2 : bits == 8 ? 256 : 0;
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
  const std::uint32_t offset = 14 + header + palette * 4;
  std::string b = "BM";
  Put32(b, offset + stride * height);
  Put32(b, 0);
  Put32(b, offset);
  Put32(b, header);
  Put32(b, static_cast<std::uint32_t>(width));
  Put32(b, static_cast<std::uint32_t>(top_down ? -height : height));
  Put16(b, 1);
  Put16(b, static_cast<std::uint32_t>(bits));
  Put32(b, bits == 32 ? 6 : 0);  // alpha bit fields
  Put32(b, stride * height);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, palette);
  Put32(b, 0);
  if (bits == 32) {
    Put32(b, 0x00FF0000);
    Put32(b, 0x0000FF00);
    Put32(b, 0x000000FF);
    Put32(b, 0xFF000000);
  }
  for (std::uint32_t i = 0; i < palette; ++i) {
    const auto g = static_cast<std::uint8_t>(bits == 1 ? i * 255 : i);
    b.push_back(static_cast<char>(g));
    b.push_back(static_cast<char>(g));
    b.push_back(static_cast<char>(g));
    b.push_back(0);
  }
  for (int r = 0; r < height; ++r) {
    const int y = top_down ? r : height - 1 - r;
    std::string row(stride, '\0');
    for (int x = 0; x < width; ++x) {
      const std::size_t at = static_cast<std::size_t>(y) * width + x;
      PutPixel(row, x, bits, levels[at], bits == 32 && !alpha.empty() ? alpha[at] : 255);
    }
    b += row;
  }
  return b;
}

}  // namespace quillon::test
