#pragma once
// The receipt renderer's own bitmap font, drawn like a receipt printer's font A: a 12 x 24 dot
// cell holding a glyph of 5 x 11 font pixels, each 2 x 2 dots, one dot of space at the sides.
// Rows 0 and 1 carry the accents of capitals, rows 2 to 8 the body (capitals and digits fill
// it, small letters take rows 4 to 8), rows 9 and 10 the descenders.
#include <array>
#include <cstdint>

namespace quillon::print {

inline constexpr int kGlyphColumns = 5;
inline constexpr int kGlyphRows = 11;

// One bit a font pixel; bit 4 of a row is its leftmost pixel.
using Glyph = std::array<std::uint8_t, kGlyphRows>;

// The glyph of a character: ASCII, the letters of Spanish and other Western languages with their
// accents, and the usual signs of Windows-1252. Other characters get a hollow box, so a byte
// the printer would not know shows on the picture.
const Glyph& GlyphFor(char16_t character);

}  // namespace quillon::print
