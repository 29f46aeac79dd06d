#include "print/bmp_writer.h"

#include <cstdint>

namespace quillon::print {
namespace {

void Put16(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace

std::string BmpFileBytes(const platform::ColourPicture& picture) {
  constexpr std::uint32_t kHeaders = 14 + 40;
  constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 dots per inch, as the window shows it
  const auto width = static_cast<std::uint32_t>(picture.width);
  const auto height = static_cast<std::uint32_t>(picture.height);
  const std::uint32_t stride = (width * 3 + 3) / 4 * 4;
  std::string out;
  out.reserve(kHeaders + stride * height);
  out += "BM";
  Put32(out, kHeaders + stride * height);
  Put32(out, 0);
  Put32(out, kHeaders);
  Put32(out, 40);
  Put32(out, width);
  Put32(out, height);
  Put16(out, 1);   // planes
  Put16(out, 24);  // bits a pixel
  Put32(out, 0);   // no compression
  Put32(out, stride * height);
  Put32(out, kPixelsPerMetre);
  Put32(out, kPixelsPerMetre);
  Put32(out, 0);
  Put32(out, 0);
  for (std::uint32_t row = height; row-- > 0;) {
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::uint8_t* rgb = &picture.rgb[(std::size_t{row} * width + x) * 3];
      out.push_back(static_cast<char>(rgb[2]));
      out.push_back(static_cast<char>(rgb[1]));
      out.push_back(static_cast<char>(rgb[0]));
    }
    out.append(stride - width * 3, '\0');
  }
  return out;
}

}  // namespace quillon::print
