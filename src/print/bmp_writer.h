#pragma once
// Pictures saved as Windows bitmaps, the one format every printer path and window reads.
#include <string>

#include "platform/picture_decoder.h"

namespace quillon::print {

// The bytes of a 24-bit uncompressed bitmap of `picture`, rows stored from the bottom.
std::string BmpFileBytes(const platform::ColourPicture& picture);

}  // namespace quillon::print
