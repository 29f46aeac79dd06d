#pragma once
// Black-and-white pictures as PNG files: one bit a pixel, compressed, marked with their
// resolution so a viewer can show the paper at its printed size.
#include <cstdint>
#include <string>
#include <vector>

namespace quillon::print {

// `black` holds width x height values, rows from the top, non-zero for black. Throws
// std::runtime_error when the picture cannot be compressed.
std::string EncodePng(int width, int height, const std::vector<std::uint8_t>& black,
                      int dots_per_inch);

}  // namespace quillon::print
