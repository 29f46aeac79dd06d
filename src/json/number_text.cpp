#include "json/number_text.h"

namespace quillon::json {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

struct NumberParts {
  bool negative = false;
  std::u16string whole;     // digits only, grouping removed
  std::u16string fraction;  // digits only
  int exponent = 0;
};

// Reads the convention's number shape; nullopt when the text is not one.
std::optional<NumberParts> Split(std::u16string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == u' ') ++i;
  NumberParts parts;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) parts.negative = text[i++] == u'-';
  for (; i < n && (IsDigit(text[i]) || text[i] == kGroupSeparator); ++i) {
    if (text[i] != kGroupSeparator) parts.whole.push_back(text[i]);
  }
  if (i < n && text[i] == kDecimalMark) {
    for (++i; i < n && IsDigit(text[i]); ++i) parts.fraction.push_back(text[i]);
  }
  if (parts.whole.empty() && parts.fraction.empty()) return std::nullopt;
  if (i < n && (text[i] == u'e' || text[i] == u'E')) {
    ++i;
    bool negative_exponent = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) negative_exponent = text[i++] == u'-';
    if (i >= n || !IsDigit(text[i])) return std::nullopt;
    for (; i < n && IsDigit(text[i]); ++i) {
      if (parts.exponent < 10000) parts.exponent = parts.exponent * 10 + (text[i] - u'0');
    }
    if (negative_exponent) parts.exponent = -parts.exponent;
  }
  while (i < n && text[i] == u' ') ++i;
  if (i != n) return std::nullopt;
  return parts;
}

}  // namespace

bool IsNumericText(std::u16string_view text) { return Split(text).has_value(); }

std::optional<Decimal> TextToDecimal(std::u16string_view text) {
  auto parts = Split(text);
  if (!parts) return std::nullopt;
  std::u16string digits = parts->whole + parts->fraction;
  int scale = static_cast<int>(parts->fraction.size()) - parts->exponent;
  if (scale < 0) {
    if (-scale > 40) return std::nullopt;
    digits.append(static_cast<std::size_t>(-scale), u'0');
    scale = 0;
  }
  // Leading zeros would only waste the mantissa's room.
  std::size_t first = digits.find_first_not_of(u'0');
  digits = first == std::u16string::npos ? u"0" : digits.substr(first);
  if (scale > Decimal::kMaxScale) {
    const int drop = scale - Decimal::kMaxScale;
    if (static_cast<int>(digits.size()) <= drop) return Decimal(0);
    digits.resize(digits.size() - static_cast<std::size_t>(drop));
    scale = Decimal::kMaxScale;
  }
  std::u16string plain = parts->negative ? u"-" : u"";
  if (scale == 0) {
    plain += digits;
  } else {
    if (static_cast<int>(digits.size()) <= scale) {
      digits.insert(0, static_cast<std::size_t>(scale) - digits.size() + 1, u'0');
    }
    plain += digits.substr(0, digits.size() - static_cast<std::size_t>(scale));
    plain.push_back(u',');
    plain += digits.substr(digits.size() - static_cast<std::size_t>(scale));
  }
  return Decimal::Parse(plain, u',');
}

std::u16string FormatGroupedWhole(const Decimal& value) {
  const std::u16string digits = value.RoundHalfEven(0).Abs().ToText();
  std::u16string out;
  if (value.RoundHalfEven(0).IsNegative()) out.push_back(u'-');
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) out.push_back(kGroupSeparator);
    out.push_back(digits[i]);
  }
  return out;
}

}  // namespace quillon::json
