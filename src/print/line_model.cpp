#include <cmath>
#include <functional>
#include <limits>

#include "json/number_text.h"
#include "platform/text.h"
#include "print/print_engine.h"

namespace quillon::print {
namespace {

constexpr char16_t kRoll55[] = u"rollo 55mm";
constexpr char16_t kRoll75[] = u"rollo 75mm";

// Layout numbers are 16-bit whole numbers; a result outside that range is a failure.
int Checked16(long long value) {
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    throw platform::Failure::Overflow();
  }
  return static_cast<int>(value);
}

// Whole number nearest to numerator / denominator, halves to the even neighbour.
long long DivideHalfEven(long long numerator, long long denominator) {
  return (json::Decimal(numerator) / json::Decimal(denominator)).ToInt64();
}

// A font size remembered as a whole number of points (halves to even, as the layouts expect).
double WholePoints(double points) { return std::nearbyint(points); }

std::vector<std::u16string> SplitAt(std::u16string_view text, std::u16string_view separator) {
  std::vector<std::u16string> parts;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(separator, start)) != std::u16string_view::npos;
       start = at + separator.size()) {
    parts.emplace_back(text.substr(start, at - start));
  }
  parts.emplace_back(text.substr(start));
  return parts;
}

// Six passes of "two blanks become one": a run of up to 64 blanks ends as one.
std::u16string CollapseBlanks(std::u16string text) {
  for (int pass = 0; pass < 6; ++pass) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
      out.push_back(text[i]);
      if (text[i] == u' ' && i + 1 < text.size() && text[i + 1] == u' ') ++i;
    }
    text = std::move(out);
  }
  return text;
}

struct WrapRule {
  std::function<double(const std::u16string&)> measure;
  double blank = 1;
  double limit = 0;
  int centring_width = 40;
};

// The last of the words from `start` that fit on one queue.
std::size_t LastWordOfLine(const std::vector<std::u16string>& words, std::size_t start,
                           const WrapRule& rule) {
  double acc = 0;
  std::size_t last = start;
  for (std::size_t j = start; j < words.size(); ++j) {
    const double measure = rule.measure(words[j]);
    if (measure < rule.limit) {
      if (acc + measure > rule.limit) break;
      acc += measure + rule.blank;
    }
    // A word at or above the limit is taken without counting, so the line always moves on.
    last = j;
  }
  return last;
}

// Words first to last, a blank between each two.
std::u16string JoinedWords(const std::vector<std::u16string>& words, std::size_t first,
                           std::size_t last) {
  std::u16string line;
  for (std::size_t j = first; j <= last; ++j) {
    if (j != first) line.push_back(u' ');
    line += words[j];
  }
  return line;
}

void Wrap(TicketRecorder& recorder, std::u16string_view text, const WrapRule& rule, Align align,
          int indent) {
  const std::u16string upper = platform::ToUpper(text);
  if (upper.empty()) return;
  for (const std::u16string& paragraph : SplitAt(upper, u"\r\n")) {
    if (paragraph.empty()) continue;
    const std::vector<std::u16string> words = SplitAt(CollapseBlanks(paragraph), u" ");
    std::size_t start = 0;
    while (start < words.size()) {
      const std::size_t last = LastWordOfLine(words, start, rule);
      std::u16string line = JoinedWords(words, start, last);
      line = platform::TrimBlanks(line);
      const int length = static_cast<int>(line.size());
      if (align == Align::kCentre) {
        const int column = Checked16(DivideHalfEven(rule.centring_width - length, 2));
        recorder.Print({PrintItem::Tab(column), PrintItem::Text(line)});
      } else if (indent >= 1) {
        recorder.Print({PrintItem::Tab(indent), PrintItem::Text(line)});
      } else {
        recorder.Print({PrintItem::Text(line)});
      }
      start = last + 1;
    }
  }
}

}  // namespace

int PrintEngine::CharsPerLine() const {
  return ConfigValue(u"Tamaño de Factura") == kRoll55 ? 32 : 40;
}

bool PrintEngine::IsRoll55() const { return ConfigValue(u"Tamano de Factura") == kRoll55; }
bool PrintEngine::IsRoll75() const { return ConfigValue(u"Tamano de Factura") == kRoll75; }
int PrintEngine::RollFontSize() const { return IsRoll55() ? 7 : 10; }

int PrintEngine::ScaleColumn(int column) const {
  return Checked16(DivideHalfEven(static_cast<long long>(column) * CharsPerLine(), 40));
}

int PrintEngine::RightAlignColumn(std::u16string_view text, int width) {
  return Checked16(static_cast<long long>(width) -
                   static_cast<long long>(platform::TrimBlanks(text).size()));
}

int PrintEngine::FittingLength(std::u16string_view text, int limit) {
  long long acc = 0;
  for (const std::u16string& word : SplitAt(text, u" ")) {
    const auto length = static_cast<long long>(word.size());
    if (acc + length >= limit) break;
    acc += length + 1;
  }
  return Checked16(acc);
}

void PrintEngine::PrintSeparator(std::u16string_view kind) {
  TicketRecorder& recorder = recorder_;
  const double remembered = WholePoints(recorder.FontSize());
  recorder.SetFontSize(RollFontSize());
  // The length follows "Tamaño de Factura"; the size above follows "Tamano de Factura".
  const bool wide = CharsPerLine() == 40;
  if (kind == u"=") {
    recorder.Print({PrintItem::Text(std::u16string(wide ? 37 : 30, u'='))});
  } else if (kind == u"-") {
    recorder.Print({PrintItem::Text(std::u16string(wide ? 39 : 30, u'-'))});
  }
  recorder.SetFontSize(remembered);
}

int PrintEngine::SeparatorWidth() {
  TicketRecorder& recorder = recorder_;
  const double remembered = WholePoints(recorder.FontSize());
  std::size_t length = 35;
  if (IsRoll55()) {
    recorder.SetFontSize(7);
    length = 30;
  } else {
    recorder.SetFontSize(10);
    if (IsRoll75()) length = 34;
  }
  const double width = recorder.TextWidth(std::u16string(length, u'='));
  recorder.SetFontSize(remembered);
  return Checked16(static_cast<long long>(WholePoints(width)));
}

void PrintEngine::PrintWrapped(std::u16string_view text, int max_chars, Align align, int indent) {
  const WrapRule rule{[](const std::u16string& word) { return static_cast<double>(word.size()); },
                      1, static_cast<double>(max_chars), max_chars};
  Wrap(recorder_, text, rule, align, indent);
}

void PrintEngine::PrintWrappedToSeparator(std::u16string_view text, Align align) {
  TicketRecorder& recorder = recorder_;
  const int width = SeparatorWidth();  // leaves the font size as whole points
  const WrapRule rule{[&recorder](const std::u16string& word) { return recorder.TextWidth(word); },
                      recorder.TextWidth(u" "), static_cast<double>(width), CharsPerLine()};
  Wrap(recorder, text, rule, align, 0);
}

// Amounts are whole numbers rounded as a cashier does, halves away from zero (12.500,5 prints
// as 12.501, -4.500,5 as -4.501), so a printed tip of 10% on 12.345 reads 1.235.
std::u16string AmountText(const json::Decimal& value) {
  return json::FormatGroupedWhole(value.RoundHalfAwayFromZero(0));
}

}  // namespace quillon::print
