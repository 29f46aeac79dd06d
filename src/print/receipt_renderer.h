#pragma once
// The paper a receipt printer would print from ESC/POS bytes, dot for dot at 203 dpi (8 dots a
// millimetre), so a ticket can be looked at without a printer and the encoder checked by eye.
//
// What it understands, as a printer does:
// - Text through the code page chosen with ESC t: page 16 is Windows-1252; on any other page
//   (ESC @ selects page 0) bytes from 0x80 up show as hollow boxes. Font A, 12 x 24 dots a
//   character, in the renderer's own bitmap font.
// - ESC E and ESC ! (bold, double width, double height), GS ! (width and height 1 to 8 times),
//   ESC a (left, centre, right), ESC 2 and ESC 3 (line spacing, 30 dots by default),
//   ESC d and ESC J (feed lines, dots), LF, ESC @ (reset).
// - GS v 0 raster pictures, GS V cuts (drawn as a dashed line across the paper).
// - A line prints on LF, when the next character no longer fits on the paper, before a picture
//   or a cut, and at the end of the bytes. Characters of one line stand on a common baseline;
//   the paper feeds the line spacing or the tallest character, whichever is more.
// Other control bytes and unknown ESC or GS commands are skipped (the command byte pair only).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::print {

inline constexpr int kNarrowPaperDots = 384;  // 58 mm roll
inline constexpr int kWidePaperDots = 576;    // 80 mm roll
inline constexpr int kMaxPaperRows = 40000;   // five metres; anything past it is left out
inline constexpr int kPaperDotsPerInch = 203;

struct ReceiptPaper {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> dots;  // width x height, rows from the top; 1 black, 0 white

  bool Black(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height &&
           dots[static_cast<std::size_t>(y) * width + x] != 0;
  }
};

// paper_dots 0: 384 dots, or 576 when a line of text or a picture needs more than 384.
ReceiptPaper RenderEscPos(std::string_view bytes, int paper_dots = 0);

// The same paper as a PNG file. Throws std::runtime_error when it cannot be made.
std::string RenderEscPosPng(std::string_view bytes, int paper_dots = 0);

}  // namespace quillon::print
