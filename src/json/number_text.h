#pragma once
// The deployment's number convention: decimal mark ",", digit grouping ".".
#include <optional>
#include <string>
#include <string_view>

#include "json/decimal.h"

namespace quillon::json {

inline constexpr char16_t kDecimalMark = u',';
inline constexpr char16_t kGroupSeparator = u'.';

// The numeric test: optional blanks, optional sign, digits with "." grouping tolerated, optional
// "," and digits, optional exponent (e/E, sign, digits), optional blanks. At least one digit.
bool IsNumericText(std::u16string_view text);

// Text to exact decimal under the convention (grouping dots dropped, "," as the mark, exponent
// applied). Empty optional when IsNumericText is false or the value leaves the decimal range.
std::optional<Decimal> TextToDecimal(std::u16string_view text);

// A whole number with "." grouping and a leading "-" when negative: 12500 -> "12.500".
// The value is rounded half to even first.
std::u16string FormatGroupedWhole(const Decimal& value);

}  // namespace quillon::json
