#pragma once
// The lenient JSON reader of print jobs. Never raises: problems become lines of the error text.
#include <string>
#include <string_view>

#include "json/value.h"

namespace quillon::json {

// The root object or array; an Empty value when the text holds neither.
Value ParseJson(std::u16string_view text);
// The errors of the last ParseJson call (empty when it found nothing wrong).
const std::u16string& ParseErrorText();

// `value` rewritten under the number convention, with at most `decimals` fraction digits cut.
std::u16string FormatDecimalText(std::u16string_view value, int decimals);

}  // namespace quillon::json
