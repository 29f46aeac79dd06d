#pragma once
// Pictures brought to the size they take on paper or in the logo file.
#include <cstdint>
#include <vector>

#include "platform/picture_decoder.h"

namespace quillon::print {

// Each new pixel takes the mean of the pixels under it (the nearest one when enlarging).
// `samples` holds `channels` values a pixel, rows from the top, and so does the result.
std::vector<int> ScaleSamples(const std::vector<std::uint8_t>& samples, int width, int height,
                              int channels, int to_width, int to_height);

// The picture at most `max_width` pixels wide with its proportions kept; a narrower one as it is.
platform::ColourPicture ShrinkToWidth(const platform::ColourPicture& picture, int max_width);

}  // namespace quillon::print
