// Text at the edges: Windows-1252 from the wire, UTF-8 for files and the terminal, case mapping.
#include "platform/text.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon::platform {
namespace {

TEST(Cp1252, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::u16string text = Cp1252ToUtf16(all);
  ASSERT_EQ(text.size(), 256u);
  EXPECT_EQ(Utf16ToCp1252(text), all);
}

TEST(Cp1252, HighBytesMapToTheirCharacters) {
  EXPECT_EQ(Cp1252ToUtf16("\x80\x93\x94\xF1\xE9\xD1"), u"€“”ñéÑ");
  EXPECT_EQ(Cp1252ToUtf16("\x81"), std::u16string(1, char16_t{0x81}));  // unassigned stays
  EXPECT_EQ(Utf16ToCp1252(u"Señor €5 – café"),
            "Se\xF1or \x80"
            "5 \x96 caf\xE9");
  EXPECT_EQ(Utf16ToCp1252(u"日本😀"), "????");  // each unit outside the code page is one "?"
  EXPECT_EQ(Cp1252Byte(u'Ÿ'), '\x9F');
}

TEST(Utf8, DecodesAndEncodesAllPlanes) {
  const std::string utf8 = "a\xC3\xB1\xE2\x82\xAC\xF0\x9F\x98\x80";  // a ñ € 😀
  EXPECT_EQ(Utf8ToUtf16(utf8), u"añ€😀");
  EXPECT_EQ(Utf16ToUtf8(u"añ€😀"), utf8);
  EXPECT_EQ(Utf8ToUtf16("Comanda ñ"), u"Comanda ñ");
}

TEST(Utf8, InvalidSequencesBecomeReplacementCharactersWithoutLosingText) {
  EXPECT_EQ(Utf8ToUtf16("x\xFFy"), u"x\uFFFDy");
  EXPECT_EQ(Utf8ToUtf16("\xE2\x82"
                        "A"),
            u"\uFFFDA");  // cut short by another byte
  EXPECT_EQ(Utf8ToUtf16("\xC3"
                        "A"),
            u"\uFFFDA");
  EXPECT_EQ(Utf8ToUtf16("ab\xE2\x82"), u"ab\uFFFD");  // cut short by the end
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"
                        "z"),
            u"\uFFFDz");  // overlong
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"
                        "z"),
            u"\uFFFDz");  // encoded surrogate
  EXPECT_EQ(Utf8ToUtf16("\x80"
                        "q"),
            u"\uFFFDq");
}

TEST(Utf8, ValidityTellsUtf8FromWindows1252) {
  EXPECT_TRUE(IsValidUtf8("Bogot\xC3\xA1 \xE2\x82\xAC \xF0\x9F\x8D\x95"));
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_FALSE(IsValidUtf8("Bogot\xE1"));  // the same word in Windows-1252
  EXPECT_FALSE(
      IsValidUtf8("Pi\xF1"
                  "a"));
  EXPECT_FALSE(IsValidUtf8("ab\xE2\x82"));    // cut short by the end
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // encoded surrogate
}

TEST(Utf8, LoneSurrogatesAreReplacedOnOutput) {
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t{0xD800}) + u"a"),
            "\xEF\xBF\xBD"
            "a");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t{0xDC00})), "\xEF\xBF\xBD");
}

TEST(CaseAndBlanks, SpanishLettersChangeCase) {
  EXPECT_EQ(ToUpper(u"señor café ñandú"), u"SEÑOR CAFÉ ÑANDÚ");
  EXPECT_EQ(ToLower(u"ÁRBOL Ñ"), u"árbol ñ");
  EXPECT_EQ(TrimBlanks(u"  total  "), u"total");
  EXPECT_EQ(TrimBlanks(u"\ttab "), u"\ttab");  // only spaces are blanks here
  EXPECT_EQ(TrimBlanks(u"   "), u"");
}

}  // namespace
}  // namespace quillon::platform
