#include "print/escpos_raster.h"

#include <cstdint>
#include <vector>

#include "print/picture_scaling.h"

namespace quillon::print {
namespace {

// Floyd-Steinberg: each dot's rounding error goes to its unvisited neighbours (7, 3, 5, 1 of 16).
std::vector<bool> Dither(std::vector<int> levels, int width, int height) {
  std::vector<bool> black(levels.size());
  auto at = [&](int x, int y) -> int& { return levels[static_cast<std::size_t>(y) * width + x]; };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int old = at(x, y);
      const int now = old < 128 ? 0 : 255;
      black[static_cast<std::size_t>(y) * width + x] = now == 0;
      const int error = old - now;
      if (x + 1 < width) at(x + 1, y) += error * 7 / 16;
      if (y + 1 < height) {
        if (x > 0) at(x - 1, y + 1) += error * 3 / 16;
        at(x, y + 1) += error * 5 / 16;
        if (x + 1 < width) at(x + 1, y + 1) += error / 16;
      }
    }
  }
  return black;
}

}  // namespace

std::string RasterCommand(const platform::GreyPicture& picture, int offset, int width, int height) {
  const std::vector<bool> black = Dither(
      ScaleSamples(picture.levels, picture.width, picture.height, 1, width, height), width, height);
  const int row_bytes = (offset + width + 7) / 8;
  std::string out = {0x1D,
                     'v',
                     '0',
                     0,
                     static_cast<char>(row_bytes & 0xFF),
                     static_cast<char>(row_bytes >> 8),
                     static_cast<char>(height & 0xFF),
                     static_cast<char>(height >> 8)};
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(row_bytes) * height, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!black[static_cast<std::size_t>(y) * width + x]) continue;
      const int dot = offset + x;
      char& cell = out[start + static_cast<std::size_t>(y) * row_bytes + dot / 8];
      cell = static_cast<char>(cell | (0x80 >> (dot % 8)));
    }
  }
  return out;
}

}  // namespace quillon::print
