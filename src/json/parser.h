#pragma once
// The lenient JSON reader of print jobs. Never raises: problems become lines of the error text
// that comes back with the tree.
#include <string>
#include <string_view>

#include "json/value.h"

namespace quillon::json {

// How the bytes of a job text stand for its characters.
enum class TextEncoding { kWindows1252, kUtf8 };

struct ParseResult {
  Value root;  // the root object or array; Empty when the text holds neither
  // The error lines, each ended by CR LF, or "Invalid JSON" alone; empty when nothing was wrong.
  // Positions in them count the characters (UTF-16 units) of the decoded text.
  std::u16string errors;
};

// Reads the bytes as they came off the wire; only the contents of texts and keys are decoded.
// The result is the one the decoded text gives.
ParseResult ParseJson(std::string_view bytes, TextEncoding encoding);
ParseResult ParseJson(std::u16string_view text);

// `value` rewritten under the number convention, with at most `decimals` fraction digits cut.
std::u16string FormatDecimalText(std::u16string_view value, int decimals);

}  // namespace quillon::json
