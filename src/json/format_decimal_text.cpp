#include <algorithm>

#include "json/number_text.h"
#include "json/parser.h"

namespace quillon::json {
namespace {

// Digits with "." every three places from the right: 1234567 -> 1.234.567.
std::u16string Grouped(std::u16string_view digits) {
  std::u16string out;
  out.reserve(digits.size() + digits.size() / 3);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) out.push_back(kGroupSeparator);
    out.push_back(digits[i]);
  }
  return out;
}

// An integer part (blanks, sign, digits, grouping dots) rewritten as a grouped whole number.
// The sign of "-0" is kept, so "-0.5" stays negative.
std::u16string WholeNumber(std::u16string_view text) {
  bool negative = false;
  std::u16string digits;
  for (const char16_t c : text) {
    if (c == u'-') negative = true;
    if (c >= u'0' && c <= u'9' && !(digits.empty() && c == u'0')) digits.push_back(c);
  }
  if (digits.empty()) digits.push_back(u'0');
  std::u16string out = negative ? u"-" : u"";
  out += Grouped(digits);
  return out;
}

// An exact value written under the convention, cut (not rounded) to `decimals` places.
std::u16string CutText(const Decimal& value, int decimals) {
  const std::u16string plain = value.Truncate(decimals).ToText(kDecimalMark);
  const std::size_t mark = plain.find(kDecimalMark);
  std::u16string out = WholeNumber(std::u16string_view(plain).substr(0, mark));
  if (mark != std::u16string::npos) out += plain.substr(mark);
  return out;
}

}  // namespace

std::u16string FormatDecimalText(std::u16string_view value, int decimals) {
  if (!IsNumericText(value)) return {};
  decimals = std::max(decimals, 0);
  const char16_t mark = value.find(u',') != std::u16string_view::npos   ? u','
                        : value.find(u'.') != std::u16string_view::npos ? u'.'
                                                                        : 0;
  std::u16string_view whole = value;
  std::u16string_view fraction;
  if (mark != 0) {
    const std::size_t first = value.find(mark);
    whole = value.substr(0, first);
    fraction = value.substr(first + 1);
    fraction = fraction.substr(0, fraction.find(mark));
  }
  if (value.find_first_of(u"eE") != std::u16string_view::npos) {
    // An exponent would be cut off with the fraction digits: take the exact value instead.
    std::u16string plain(whole);
    if (mark != 0) plain.append(1, kDecimalMark).append(fraction);
    const auto exact = TextToDecimal(plain);
    return exact ? CutText(*exact, decimals) : std::u16string();
  }
  std::u16string out = WholeNumber(whole);
  const std::u16string_view cut = fraction.substr(0, static_cast<std::size_t>(decimals));
  if (!cut.empty()) out.append(1, kDecimalMark).append(cut);
  return out;
}

}  // namespace quillon::json
