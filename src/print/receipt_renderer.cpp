#include "print/receipt_renderer.h"

#include <algorithm>
#include <string>

#include "platform/text.h"
#include "print/png_writer.h"
#include "print/receipt_font.h"

namespace quillon::print {
namespace {

constexpr char kEsc = 0x1B, kGs = 0x1D, kLineFeed = 0x0A;
constexpr int kCellWidth = 12, kCellHeight = 24;  // font A
constexpr int kPixelDots = 2;                     // a font pixel at normal size
constexpr int kDefaultSpacing = 30;
constexpr int kCutDash = 8;
constexpr int kMeasuringPaper = 1 << 16;  // wide enough that no line wraps
constexpr int kWindowsCodePage = 16;
constexpr char16_t kUnknown = 0xFFFF;  // not in the font: drawn as a box

struct Placed {
  char16_t character;
  int x;
  int width, height;  // times the normal size
  bool bold;
};

class Renderer {
 public:
  // Without drawing it only measures the widest line and picture.
  Renderer(int paper, bool drawing) : paper_(paper), drawing_(drawing) {}

  void Run(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
      const char byte = bytes[i];
      if (byte == kEsc) {
        i += Escape(bytes.substr(i));
      } else if (byte == kGs) {
        i += GroupSeparator(bytes.substr(i));
      } else {
        if (byte == kLineFeed) {
          Feed(DrawLine());
        } else if (static_cast<unsigned char>(byte) >= 0x20 && byte != 0x7F) {
          Character(static_cast<unsigned char>(byte));
        }
        ++i;
      }
    }
    FlushLine();
  }

  int Widest() const { return widest_; }

  ReceiptPaper Take() {
    ReceiptPaper paper;
    paper.width = paper_;
    paper.height = std::max({1, y_, rows_});
    dots_.resize(static_cast<std::size_t>(paper.width) * paper.height, 0);
    paper.dots = std::move(dots_);
    return paper;
  }

 private:
  static int Byte(std::string_view command, std::size_t at) {
    return static_cast<unsigned char>(command[at]);
  }

  // ESC and its arguments; returns the bytes taken (all that is left when they run short).
  std::size_t Escape(std::string_view command) {
    if (command.size() < 2) return command.size();
    const char name = command[1];
    if (name == '@') {
      Reset();
      return 2;
    }
    if (name == '2') {
      spacing_ = kDefaultSpacing;
      return 2;
    }
    if (name == 'p') return std::min<std::size_t>(command.size(), 5);  // drawer kick
    if (std::string_view("3EG!adJt-M").find(name) == std::string_view::npos) return 2;
    if (command.size() < 3) return command.size();
    const int n = Byte(command, 2);
    switch (name) {
      case '3':
        spacing_ = n;
        break;
      case 'E':
      case 'G':  // double strike prints as bold does
        bold_ = (n & 1) != 0;
        break;
      case '!':
        bold_ = (n & 0x08) != 0;
        height_ = n & 0x10 ? 2 : 1;
        width_ = n & 0x20 ? 2 : 1;
        break;
      case 'a':
        justification_ = n & 3;
        break;
      case 'd': {
        const int natural = DrawLine();
        Feed(n == 0 ? 0 : natural + (n - 1) * spacing_);
        break;
      }
      case 'J':
        DrawLine();
        Feed(n);
        break;
      case 't':
        code_page_ = n;
        break;
      default:  // underline and font choice: not drawn
        break;
    }
    return 3;
  }

  std::size_t GroupSeparator(std::string_view command) {
    if (command.size() < 3) return command.size();
    const int n = Byte(command, 2);
    switch (command[1]) {
      case '!':
        width_ = ((n >> 4) & 7) + 1;
        height_ = (n & 7) + 1;
        return 3;
      case 'B':  // reverse printing: not drawn
        return 3;
      case 'V':
        if (n < 65) {
          Cut(0);
          return 3;
        }
        if (command.size() < 4) return command.size();
        Cut(n <= 66 ? Byte(command, 3) : 0);
        return 4;
      case 'v':
        return n == '0' ? Raster(command) : 2;
      default:
        return 2;
    }
  }

  void Reset() {
    bold_ = false;
    width_ = height_ = 1;
    code_page_ = 0;
    justification_ = 0;
    spacing_ = kDefaultSpacing;
    line_.clear();
    x_ = 0;
  }

  void Character(unsigned char byte) {
    char16_t character = byte;
    if (byte >= 0x80) {
      character = code_page_ == kWindowsCodePage
                      ? platform::Cp1252ToUtf16(std::string(1, static_cast<char>(byte)))[0]
                      : kUnknown;
    }
    const int advance = kCellWidth * width_;
    if (x_ + advance > paper_ && !line_.empty()) FlushLine();
    line_.push_back({character, x_, width_, height_, bold_});
    x_ += advance;
    widest_ = std::max(widest_, x_);
  }

  // Prints the buffered line, characters on one baseline; returns the feed it calls for.
  int DrawLine() {
    int tallest = kCellHeight * height_;  // an empty line feeds one line of the current size
    if (!line_.empty()) {
      tallest = 0;
      for (const Placed& placed : line_) tallest = std::max(tallest, kCellHeight * placed.height);
    }
    const int shift = Shift(x_);
    for (const Placed& placed : line_) {
      DrawGlyph(placed, shift + placed.x, y_ + tallest - kCellHeight * placed.height);
    }
    line_.clear();
    x_ = 0;
    return std::max(spacing_, tallest);
  }

  void FlushLine() {
    if (!line_.empty()) Feed(DrawLine());
  }

  void DrawGlyph(const Placed& placed, int left, int top) {
    const Glyph& glyph = GlyphFor(placed.character);
    const int pixel_width = kPixelDots * placed.width, pixel_height = kPixelDots * placed.height;
    const int stroke = pixel_width + (placed.bold ? 1 : 0);  // bold thickens every stroke a dot
    for (int row = 0; row < kGlyphRows; ++row) {
      for (int column = 0; column < kGlyphColumns; ++column) {
        if (((glyph[row] >> (kGlyphColumns - 1 - column)) & 1) == 0) continue;
        Fill(left + placed.width + column * pixel_width, top + row * pixel_height, stroke,
             pixel_height);
      }
    }
  }

  // GS v 0 m xL xH yL yH, then the rows of dots, eight a byte, the leftmost in the high bit.
  std::size_t Raster(std::string_view command) {
    constexpr std::size_t kHeader = 8;
    if (command.size() < kHeader) return command.size();
    FlushLine();
    const int mode = Byte(command, 3);
    const int row_bytes = Byte(command, 4) | (Byte(command, 5) << 8);
    const int rows = Byte(command, 6) | (Byte(command, 7) << 8);
    const int scale_x = mode & 1 ? 2 : 1, scale_y = mode & 2 ? 2 : 1;
    const std::size_t size = static_cast<std::size_t>(row_bytes) * rows;
    const std::string_view data = command.substr(kHeader, size);
    widest_ = std::max(widest_, row_bytes * 8 * scale_x);
    const int shift = Shift(row_bytes * 8 * scale_x);
    for (std::size_t i = 0; i < data.size(); ++i) {
      const int row = static_cast<int>(i / row_bytes), first = static_cast<int>(i % row_bytes) * 8;
      for (int bit = 0; bit < 8; ++bit) {
        if (((Byte(data, i) >> (7 - bit)) & 1) == 0) continue;
        Fill(shift + (first + bit) * scale_x, y_ + row * scale_y, scale_x, scale_y);
      }
    }
    Feed(rows * scale_y);
    return kHeader + data.size();
  }

  void Cut(int feed) {
    FlushLine();
    Feed(feed);
    for (int x = 0; x < paper_; x += 2 * kCutDash) Fill(x, y_, kCutDash, 1);
    Feed(1);
  }

  // How far right justification moves something `width` dots wide.
  int Shift(int width) const {
    if (justification_ == 1) return std::max(0, (paper_ - width) / 2);
    if (justification_ == 2) return std::max(0, paper_ - width);
    return 0;
  }

  void Feed(int dots) { y_ = std::min(kMaxPaperRows, y_ + dots); }

  void Fill(int left, int top, int width, int height) {
    if (!drawing_) return;
    const int right = std::min(left + width, paper_),
              bottom = std::min(top + height, kMaxPaperRows);
    if (bottom > rows_) {
      rows_ = bottom;
      dots_.resize(static_cast<std::size_t>(rows_) * paper_, 0);
    }
    for (int y = std::max(0, top); y < bottom; ++y) {
      for (int x = std::max(0, left); x < right; ++x) {
        dots_[static_cast<std::size_t>(y) * paper_ + x] = 1;
      }
    }
  }

  const int paper_;
  const bool drawing_;
  std::vector<std::uint8_t> dots_;
  int rows_ = 0;  // rows that dots_ holds
  int y_ = 0;     // top of the line being printed
  int x_ = 0;     // where the next character goes
  std::vector<Placed> line_;
  bool bold_ = false;
  int width_ = 1, height_ = 1;
  int code_page_ = 0;
  int justification_ = 0;  // 0 left, 1 centre, 2 right
  int spacing_ = kDefaultSpacing;
  int widest_ = 0;
};

}  // namespace

ReceiptPaper RenderEscPos(std::string_view bytes, int paper_dots) {
  if (paper_dots <= 0) {
    Renderer measure(kMeasuringPaper, false);
    measure.Run(bytes);
    paper_dots = measure.Widest() > kNarrowPaperDots ? kWidePaperDots : kNarrowPaperDots;
  }
  Renderer renderer(paper_dots, true);
  renderer.Run(bytes);
  return renderer.Take();
}

std::string RenderEscPosPng(std::string_view bytes, int paper_dots) {
  const ReceiptPaper paper = RenderEscPos(bytes, paper_dots);
  return EncodePng(paper.width, paper.height, paper.dots, kPaperDotsPerInch);
}

}  // namespace quillon::print
