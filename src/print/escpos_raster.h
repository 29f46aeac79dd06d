#pragma once
// A grey picture as an ESC/POS raster (GS v 0): scaled to the dots it takes on paper and
// dithered to black and white.
#include <string>

#include "platform/picture_decoder.h"

namespace quillon::print {

// The command printing `picture` scaled to width x height dots, shifted right by offset dots.
// Rows are padded with white up to whole bytes.
std::string RasterCommand(const platform::GreyPicture& picture, int offset, int width, int height);

}  // namespace quillon::print
