#pragma once
// A text reaches the parser three ways: as text (the script evaluator), and as the bytes of the
// wire in UTF-8 or in Windows-1252. ParseAllWays reads it every way it can be written and checks
// that all give the same tree and the same error lines; it returns the reading of the text.
#include <gtest/gtest.h>

#include <string>

#include "json/parser.h"
#include "platform/text.h"

namespace quillon::json {

// The tree written out with its kinds, number scales and key lengths, so that two trees compare.
inline void WriteTreeForComparison(const Value& value, std::u16string& out) {
  const auto length = [&out](std::size_t size) {
    for (const char c : std::to_string(size)) out += static_cast<char16_t>(c);
    out += u':';
  };
  switch (value.kind()) {
    case Value::Kind::kEmpty:
      out += u"~";
      break;
    case Value::Kind::kNull:
      out += u"n";
      break;
    case Value::Kind::kBoolean:
      out += value.ToBool() ? u"t" : u"f";
      break;
    case Value::Kind::kNumber: {
      const Decimal number = value.ToDecimal();
      out += u"#" + number.ToText(u'.') + u"/";
      length(static_cast<std::size_t>(number.Scale()));
      break;
    }
    case Value::Kind::kText: {
      const std::u16string text = value.ToText();
      out += u"\"";
      length(text.size());
      out += text;
      break;
    }
    case Value::Kind::kDictionary:
      out += u"{";
      for (const auto& entry : value.AsDictionary().Entries()) {
        length(entry.first.View().size());
        out += entry.first.View();
        WriteTreeForComparison(entry.second, out);
      }
      out += u"}";
      break;
    case Value::Kind::kCollection:
      out += u"[";
      for (const Value& element : value.AsCollection()) WriteTreeForComparison(element, out);
      out += u"]";
      break;
  }
}

inline std::u16string TreeForComparison(const Value& value) {
  std::u16string out;
  WriteTreeForComparison(value, out);
  return out;
}

inline ParseResult ParseAllWays(std::u16string_view text) {
  ParseResult result = ParseJson(text);
  const std::u16string tree = TreeForComparison(result.root);
  const std::string utf8 = platform::Utf16ToUtf8(text);
  if (platform::Utf8ToUtf16(utf8) == text) {  // no lone surrogate
    const ParseResult from_utf8 = ParseJson(utf8, TextEncoding::kUtf8);
    EXPECT_EQ(from_utf8.errors, result.errors) << "UTF-8";
    EXPECT_EQ(TreeForComparison(from_utf8.root), tree) << "UTF-8";
  }
  const std::string cp1252 = platform::Utf16ToCp1252(text);
  if (platform::Cp1252ToUtf16(cp1252) == text) {
    const ParseResult from_cp1252 = ParseJson(cp1252, TextEncoding::kWindows1252);
    EXPECT_EQ(from_cp1252.errors, result.errors) << "Windows-1252";
    EXPECT_EQ(TreeForComparison(from_cp1252.root), tree) << "Windows-1252";
  }
  return result;
}

// The bytes read in `encoding` give what their decoded text gives, also where they are not
// well-formed in that encoding; returns the reading of the text.
inline ParseResult ParseBytesAsText(const std::string& bytes, TextEncoding encoding) {
  ParseResult from_text =
      ParseAllWays(encoding == TextEncoding::kUtf8 ? platform::Utf8ToUtf16(bytes)
                                                   : platform::Cp1252ToUtf16(bytes));
  const ParseResult from_bytes = ParseJson(bytes, encoding);
  EXPECT_EQ(from_bytes.errors, from_text.errors);
  EXPECT_EQ(TreeForComparison(from_bytes.root), TreeForComparison(from_text.root));
  return from_text;
}

// The latest reading of Parse: the cases look at its error lines after its tree.
inline ParseResult last_reading;
inline Value Parse(std::u16string_view text) {
  last_reading = ParseAllWays(text);
  return last_reading.root;
}
inline const std::u16string& Errors() { return last_reading.errors; }

}  // namespace quillon::json
