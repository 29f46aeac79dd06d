// Numbers in job texts: cut (never rounded) to two decimals under the "," decimal mark.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "json/number_text.h"
#include "json/parser.h"
#include "parse_all_ways.h"
#include "platform/text.h"

namespace quillon::json {
namespace {

using platform::Utf8ToUtf16;

// The single element of "[text]" as read by the parser.
Value ReadNumberText(const std::u16string& text) {
  const Value root = Parse(u"[" + text + u"]");
  return root.AsCollection().Count() == 1 ? root[1] : Value();
}

Decimal Dec(const char* text) { return *Decimal::Parse(Utf8ToUtf16(text), u'.'); }

TEST(ParserNumbers, CutToTwoDecimals) {
  const std::pair<const char*, const char*> cases[] = {
      {"1.999", "1.99"},
      {"12345.678", "12345.67"},
      {"-7.5", "-7.5"},
      {"0.129", "0.12"},
      {"3", "3"},
      {"1e3", "1000"},
      {"-0.5", "-0.5"},
      {"-0.009", "0"},
      {"007.50", "7.5"},
      {"1.", "1"},
      {"1.2.3", "1.2"},
      {".5", "0.5"},
      {"-.25", "-0.25"},
      {"1.5e3", "1500"},
      {"1.2345E2", "123.45"},
      {"5e-1", "0.5"},
      {"1e-999", "0"},
      {"+4", "4"},
      {"79228162514264337593543950335", "79228162514264337593543950335"}};
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    const Value value = ReadNumberText(Utf8ToUtf16(text));
    EXPECT_EQ(Errors(), u"");
    ASSERT_TRUE(value.IsNumber());
    EXPECT_EQ(value.ToDecimal(), Dec(expected));
  }
  EXPECT_TRUE(ReadNumberText(u"-0.5").ToDecimal().IsNegative());
}

TEST(ParserNumbers, RejectedNumberTextsNameTheirFailure) {
  Parse(u"{\"n\": 1-2}");
  EXPECT_EQ(Errors(), u"No coinciden los tipos: n\r\n");
  Parse(u"{\"n\": e5,\"m\":1}");
  EXPECT_EQ(Errors(), u"No coinciden los tipos: n\r\n");
  // Numbers that do not fit the decimal range are overflows, however they are written.
  for (const char16_t* text :
       {u"{\"n\": 79228162514264337593543950336}", u"{\"n\": 123e65}", u"{\"n\": -123.456e78}"}) {
    Parse(text);
    EXPECT_EQ(Errors(), u"Desbordamiento: n\r\n");
  }
}

TEST(ParserNumbers, NumberAtTheEndOfTheTextIsEmptyWithoutItsOwnLine) {
  const Value root = Parse(u"{\"n\": 12");
  EXPECT_TRUE(root[u"n"].IsEmpty());
  EXPECT_EQ(Errors(), u"Missing '}': {\"n\": 12\r\n");
}

TEST(ParserNumbers, ANumberEndsAtTheFirstCharacterOutsideItsSet) {
  // Both the common shape and one left to the general conversion stop before a letter...
  Value root = Parse(u"[12.345x]");
  ASSERT_EQ(root.AsCollection().Count(), 1);
  EXPECT_EQ(root[1].ToDecimal(), Dec("12.34"));
  EXPECT_EQ(Errors(), u"No coinciden los tipos: x]\r\n");
  root = Parse(u"[-1.5e1x]");
  ASSERT_EQ(root.AsCollection().Count(), 1);
  EXPECT_EQ(root[1].ToDecimal(), Dec("-15"));
  // ...and both give Empty when they run into the end of the text.
  for (const char16_t* text : {u"[7.25", u"[+7"}) {
    root = Parse(text);
    ASSERT_EQ(root.AsCollection().Count(), 1);
    EXPECT_TRUE(root[1].IsEmpty());
  }
}

// The parser reads the common shapes directly; whatever it reads must equal the general
// conversion, which is FormatDecimalText with 2 decimals followed by TextToDecimal.
TEST(ParserNumbers, ParserAgreesWithTheGeneralConversion) {
  std::mt19937 random(20240611);
  const std::u16string alphabet = u"-0123456789.+e";
  for (int i = 0; i < 20000; ++i) {
    std::u16string text;
    const int length = 1 + static_cast<int>(random() % 24);
    for (int k = 0; k < length; ++k) {
      // Mostly digits, so that most texts are numbers.
      const auto pick = random() % 20;
      text.push_back(pick < 13 ? static_cast<char16_t>(u'0' + pick % 10)
                               : alphabet[pick % alphabet.size()]);
    }
    SCOPED_TRACE(platform::Utf16ToUtf8(text));
    const Value read = ReadNumberText(text);
    const std::u16string cut = FormatDecimalText(text, 2);
    const auto expected = TextToDecimal(cut);
    if (expected) {
      ASSERT_EQ(Errors(), u"");
      ASSERT_TRUE(read.IsNumber());
      ASSERT_EQ(read.ToDecimal(), *expected);
      ASSERT_EQ(read.ToDecimal().ToText(), expected->ToText());
    } else {
      ASSERT_FALSE(Errors().empty());
    }
  }
}

TEST(FormatDecimalTextTest, RewritesUnderTheConvention) {
  const std::pair<const char*, const char*> cases[] = {{"12345", "12.345"},
                                                       {"1e3", "1.000"},
                                                       {"12345.678", "12.345,67"},
                                                       {"1.234,5678", "1.234,56"},
                                                       {"-1234567", "-1.234.567"},
                                                       {"0.129", "0,12"},
                                                       {"1.50", "1,50"},
                                                       {"007", "7"},
                                                       {"-0.5", "-0,5"},
                                                       {"abc", ""},
                                                       {"", ""},
                                                       {"1-2", ""},
                                                       {" 42 ", "42"},
                                                       {"1,5e2", "150"}};
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(FormatDecimalText(Utf8ToUtf16(value), 2), Utf8ToUtf16(expected)) << value;
  }
  EXPECT_EQ(FormatDecimalText(u"3.999", 0), u"3");  // cut, not rounded
  EXPECT_EQ(FormatDecimalText(u"3.14159", 4), u"3,1415");
}

}  // namespace
}  // namespace quillon::json
