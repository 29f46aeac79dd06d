#include "print/picture_scaling.h"

#include <algorithm>

namespace quillon::print {

namespace {

// The mean of channel c over the source pixels [x0, x1) x [y0, y1), rows `width` pixels wide.
int BoxMean(const std::vector<std::uint8_t>& samples, std::int64_t width, int channels, int c,
            std::int64_t x0, std::int64_t x1, std::int64_t y0, std::int64_t y1) {
  std::int64_t sum = 0;
  for (std::int64_t y = y0; y < y1; ++y) {
    for (std::int64_t x = x0; x < x1; ++x) {
      sum += samples[static_cast<std::size_t>((y * width + x) * channels + c)];
    }
  }
  return static_cast<int>(sum / ((y1 - y0) * (x1 - x0)));
}

}  // namespace

std::vector<int> ScaleSamples(const std::vector<std::uint8_t>& samples, int width, int height,
                              int channels, int to_width, int to_height) {
  std::vector<int> out(static_cast<std::size_t>(to_width) * to_height * channels);
  const std::int64_t sw = width, sh = height;
  for (std::int64_t ty = 0; ty < to_height; ++ty) {
    const std::int64_t y0 = ty * sh / to_height;
    const std::int64_t y1 = std::max(y0 + 1, (ty + 1) * sh / to_height);
    for (std::int64_t tx = 0; tx < to_width; ++tx) {
      const std::int64_t x0 = tx * sw / to_width;
      const std::int64_t x1 = std::max(x0 + 1, (tx + 1) * sw / to_width);
      for (int c = 0; c < channels; ++c) {
        out[static_cast<std::size_t>((ty * to_width + tx) * channels + c)] =
            BoxMean(samples, sw, channels, c, x0, x1, y0, y1);
      }
    }
  }
  return out;
}

platform::ColourPicture ShrinkToWidth(const platform::ColourPicture& picture, int max_width) {
  if (picture.width <= max_width) return picture;
  const int height =
      std::max(1, static_cast<int>(std::int64_t{picture.height} * max_width / picture.width));
  const std::vector<int> rgb =
      ScaleSamples(picture.rgb, picture.width, picture.height, 3, max_width, height);
  return {max_width, height, std::vector<std::uint8_t>(rgb.begin(), rgb.end())};
}

}  // namespace quillon::print
