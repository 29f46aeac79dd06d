#include "print/ticket_recorder.h"

#include <algorithm>

#include "json/number_text.h"

namespace quillon::print {
namespace {

// Fixed pitch in twips: every backend measures alike, whatever fonts are installed.
constexpr double kCharWidthPerPoint = 0.6 * 20;
constexpr double kLineHeightPerPoint = 1.2 * 20;

std::u16string NumberText(const json::Decimal& number) {
  std::u16string text = number.ToText(json::kDecimalMark);
  if (!number.IsNegative()) text.insert(text.begin(), u' ');
  text.push_back(u' ');
  return text;
}

}  // namespace

platform::TicketFont TicketRecorder::DefaultFont() { return {u"Courier", 10, false, false}; }

void TicketRecorder::Print(const std::vector<PrintItem>& items, bool stay_on_line) {
  for (const PrintItem& item : items) {
    switch (item.kind) {
      case PrintItem::Kind::kText:
        Write(item.text);
        break;
      case PrintItem::Kind::kTab:
        TabTo(item.column);
        break;
      case PrintItem::Kind::kNumber:
        Write(NumberText(item.number));
        break;
    }
  }
  if (!stay_on_line) EndLine();
}

void TicketRecorder::Write(const std::u16string& text) {
  if (text.empty()) return;
  if (!line_.runs.empty()) {
    platform::TicketRun& last = line_.runs.back();
    if (last.font == font_ && last.column + static_cast<int>(last.text.size()) == column_) {
      last.text += text;
      column_ += static_cast<int>(text.size());
      return;
    }
  }
  line_.runs.push_back({column_, text, font_});
  column_ += static_cast<int>(text.size());
}

void TicketRecorder::TabTo(int column) {
  column = std::max(column, 1);
  if (column_ > column) EndLine();
  column_ = column;
}

void TicketRecorder::EndLine() {
  double height = line_.runs.empty() ? font_.size : 0;
  for (const auto& run : line_.runs) height = std::max(height, run.font.size);
  line_.height_points = height;
  ticket_.lines.push_back(std::move(line_));
  line_ = {};
  column_ = 1;
}

double TicketRecorder::TextWidth(const std::u16string& text) const {
  return kCharWidthPerPoint * font_.size * static_cast<double>(text.size());
}

double TicketRecorder::TextHeight(const std::u16string& text) const {
  const auto lines = 1 + std::count(text.begin(), text.end(), u'\n');
  return kLineHeightPerPoint * font_.size * static_cast<double>(lines);
}

void TicketRecorder::DrawPicture(const std::string& file, double x, double y, double width,
                                 double height) {
  ticket_.pictures.push_back({file, x, y, width, height, static_cast<int>(ticket_.lines.size())});
}

platform::Ticket TicketRecorder::Finish() {
  if (!line_.runs.empty()) EndLine();
  platform::Ticket finished = std::move(ticket_);
  Drop();
  return finished;
}

void TicketRecorder::Drop() {
  ticket_ = {};
  line_ = {};
  column_ = 1;
}

}  // namespace quillon::print
