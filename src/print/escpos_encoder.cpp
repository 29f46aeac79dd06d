#include "print/escpos_encoder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/text.h"
#include "print/bmp_picture_decoder.h"
#include "print/escpos_raster.h"

namespace quillon::print {
namespace {

constexpr char kEsc = 0x1B, kGs = 0x1D;
constexpr int kNarrowRollDots = 384, kNarrowRollColumns = 32;
constexpr char kCutFeed = 3;  // extra dots fed past the cutter

std::uint8_t SizeCode(double points) {
  if (points >= 15) return 0x11;  // double width and height
  if (points >= 12) return 0x01;  // double height
  return 0x00;
}

int ColumnsPerCharacter(std::uint8_t size_code) { return size_code & 0x10 ? 2 : 1; }

// Calls visit(run, blanks) for each run with text, with the blanks that bring the line to the
// column where the run starts on paper; returns the column after the line.
template <typename Visit>
int WalkLine(const platform::TicketLine& line, Visit visit) {
  int position = 1;
  for (const auto& run : line.runs) {
    if (run.text.empty()) continue;
    const int column = std::max(position, run.column);
    visit(run, column - position);
    position =
        column + static_cast<int>(run.text.size()) * ColumnsPerCharacter(SizeCode(run.font.size));
  }
  return position;
}

class Writer {
 public:
  void Command(std::initializer_list<char> bytes) { out_.append(bytes); }
  void Bold(bool bold) {
    if (bold == bold_) return;
    bold_ = bold;
    Command({kEsc, 'E', static_cast<char>(bold ? 1 : 0)});
  }
  void Size(std::uint8_t code) {
    if (code == size_) return;
    size_ = code;
    Command({kGs, '!', static_cast<char>(code)});
  }
  void Text(std::u16string_view text) {
    for (const char16_t c : text) {
      out_.push_back(c < 0x20 || c == 0x7F ? ' ' : platform::Cp1252Byte(c));
    }
  }
  void Blanks(int count) { out_.append(static_cast<std::size_t>(count), ' '); }
  void Raw(const std::string& bytes) { out_ += bytes; }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
  bool bold_ = false;
  std::uint8_t size_ = 0;
};

void WriteLine(Writer& writer, const platform::TicketLine& line) {
  WalkLine(line, [&](const platform::TicketRun& run, int blanks) {
    if (blanks > 0) {
      writer.Size(0);
      writer.Blanks(blanks);
    }
    writer.Size(SizeCode(run.font.size));
    writer.Bold(run.font.bold);
    writer.Text(run.text);
  });
  writer.Raw("\n");
}

int Dots(double twips) { return static_cast<int>(std::lround(twips * kDotsPerTwip)); }

// The raster of a picture on a roll of `paper` dots, or nothing when it cannot be read.
std::string PictureRaster(const platform::TicketPicture& drawn, int paper,
                          const platform::PictureDecoder& decoder) {
  int offset = std::max(0, Dots(drawn.x));
  double width = Dots(drawn.width), height = Dots(drawn.height);
  if (width < 1 || height < 1) return {};
  if (width > paper) {
    height = height * paper / width;
    width = paper;
  }
  if (height > kMaxPictureRows) {
    width = width * kMaxPictureRows / height;
    height = kMaxPictureRows;
  }
  const int w = std::max(1, static_cast<int>(std::lround(width)));
  const int h = std::max(1, static_cast<int>(std::lround(height)));
  offset = std::min(offset, paper - w);
  const auto picture = decoder.Decode(drawn.file);
  if (!picture || picture->width < 1 || picture->height < 1) return {};
  return RasterCommand(*picture, offset, w, h);
}

// Top of each line and of the line after the last, in twips from the top of the ticket.
std::vector<double> LineTops(const platform::Ticket& ticket) {
  std::vector<double> tops{0};
  for (const auto& line : ticket.lines) tops.push_back(tops.back() + 1.2 * line.height_points * 20);
  return tops;
}

}  // namespace

int TicketColumns(const platform::Ticket& ticket) {
  int columns = 0;
  for (const auto& line : ticket.lines) {
    columns = std::max(columns, WalkLine(line, [](const platform::TicketRun&, int) {}) - 1);
  }
  return columns;
}

int RollDotsFor(const platform::Ticket& ticket) {
  return TicketColumns(ticket) > kNarrowRollColumns ? kWideRollDots : kNarrowRollDots;
}

std::string EncodeEscPos(const platform::Ticket& ticket) { return EncodeEscPos(ticket, {}); }

std::string EncodeEscPos(const platform::Ticket& ticket, const EscPosOptions& options) {
  const print::BmpPictureDecoder bmp;
  const platform::PictureDecoder& decoder = options.pictures ? *options.pictures : bmp;
  const int paper = options.paper_dots > 0 ? options.paper_dots : RollDotsFor(ticket);
  const std::vector<double> tops = LineTops(ticket);

  Writer writer;
  writer.Command({kEsc, '@', kEsc, 't', 16});
  std::size_t next_line = 0;
  // Lines up to `line` (exclusive), then the pictures drawn while `line` was current.
  auto pictures_at = [&](std::size_t line) {
    for (const auto& drawn : ticket.pictures) {
      const std::size_t at =
          std::min<std::size_t>(std::max(drawn.line_index, 0), ticket.lines.size());
      if (at != line) continue;
      const std::string raster = PictureRaster(drawn, paper, decoder);
      if (raster.empty()) continue;
      writer.Raw(raster);
      const double bottom = drawn.y + drawn.height;
      while (next_line < ticket.lines.size() && ticket.lines[next_line].runs.empty() &&
             tops[next_line] < bottom) {
        ++next_line;
      }
    }
  };
  for (std::size_t line = 0; line <= ticket.lines.size(); ++line) {
    pictures_at(line);
    if (line < ticket.lines.size() && line >= next_line) {
      WriteLine(writer, ticket.lines[line]);
      next_line = line + 1;
    }
  }
  writer.Command({kGs, 'V', 66, kCutFeed});
  return writer.Take();
}

}  // namespace quillon::print
