// The lenient grammar of job texts and the exact error lines it produces.
#include <gtest/gtest.h>

#include <string>

#include "json/parser.h"
#include "parse_all_ways.h"
#include "platform/failure.h"

namespace quillon::json {
namespace {

const std::u16string kCrLf = u"\r\n";

std::u16string Text(const Value& v) { return v.ToText(); }

TEST(ParserRoot, TextsWithoutContainerGiveNothingAndInvalidJson) {
  for (const char16_t* text : {u"", u"   \r\n\t", u"\"x\"", u"42", u"true", u"null", u"}"}) {
    SCOPED_TRACE(std::u16string(text).size());
    const Value root = Parse(text);
    EXPECT_TRUE(root.IsEmpty());
    EXPECT_EQ(Errors(), u"Invalid JSON");  // replaces the text, no line end
  }
}

TEST(ParserRoot, RootIsObjectOrArrayAndTrailingTextIsIgnored) {
  EXPECT_TRUE(Parse(u"  {} xyz").IsDictionary());
  EXPECT_TRUE(Parse(u"[1] ]]] garbage").IsCollection());
  EXPECT_EQ(Errors(), u"");
}

TEST(ParserRoot, EachCallStartsWithAnEmptyErrorText) {
  Parse(u"[1,,2]");
  EXPECT_FALSE(Errors().empty());
  Parse(u"[1,2]");
  EXPECT_EQ(Errors(), u"");
  Parse(u"42");
  Parse(u"{}");
  EXPECT_EQ(Errors(), u"");
}

TEST(ParserIgnorable, ParenthesesAndCommentsAreBlanks) {
  Value root = Parse(u"({\"a\":1})");
  ASSERT_TRUE(root.IsDictionary());
  EXPECT_EQ(root[u"a"].ToDecimal(), Decimal(1));
  EXPECT_EQ(Errors(), u"");

  root = Parse(u"{/* x */ \"a\" : 1 // x\n}");
  ASSERT_TRUE(root.IsDictionary());
  EXPECT_EQ(root.AsDictionary().Count(), 1);
  EXPECT_EQ(root[u"a"].ToDecimal(), Decimal(1));
  EXPECT_EQ(Errors(), u"");

  root = Parse(u"[/* precio */ 5, // comentario\r\n 6, /7, *8]");
  ASSERT_EQ(root.AsCollection().Count(), 4);
  EXPECT_EQ(root[3].ToDecimal(), Decimal(7));  // a lone slash or star is skipped like a blank
  EXPECT_EQ(root[4].ToDecimal(), Decimal(8));
  EXPECT_EQ(Errors(), u"");
}

TEST(ParserIgnorable, CommentStateFollowsTheFlagTable) {
  // A star inside a block comment arms the flag, a second star disarms it: "**/" does not
  // close, so the block runs to the end and the array is left open.
  Value root = Parse(u"[/* a **/ 1]");
  EXPECT_EQ(root.AsCollection().Count(), 0);
  EXPECT_EQ(Errors(), u"Missing ']': [/* a **/ 1]" + kCrLf);
  // A block comment goes on over line ends; a line comment stops at one.
  root = Parse(u"[/* a\n b */ 2 // c\n ,3]");
  EXPECT_EQ(root.AsCollection().Count(), 2);
  EXPECT_EQ(Errors(), u"");
}

TEST(ParserObject, KeysQuotedSingleQuotedOrBare) {
  for (const char16_t* text : {u"{'a':'x'}", u"{a:'x'}", u"{\"a\":\"x\"}"}) {
    const Value root = Parse(text);
    ASSERT_TRUE(root.IsDictionary());
    EXPECT_EQ(root.AsDictionary().Keys(), std::vector<std::u16string>{u"a"});
    EXPECT_EQ(Text(root[u"a"]), u"x");
    EXPECT_EQ(Errors(), u"");
  }
}

TEST(ParserObject, KeyQuirks) {
  const Value root = Parse(u"{\"first name\":1, \"a\\b\":2, \"h:m\":3, abc :4, \"K\":5, \"k\":6}");
  EXPECT_EQ(root.AsDictionary().Keys(),
            (std::vector<std::u16string>{u"firstname", u"a\\b", u"h:m", u"abc", u"K", u"k"}));
  EXPECT_EQ(Errors(), u"");
}

TEST(ParserObject, MissingColonStoresTheValueAndReportsTheKey) {
  const Value root = Parse(u"{\"a\" 1}");
  EXPECT_EQ(root[u"a"].ToDecimal(), Decimal(1));
  EXPECT_EQ(Errors(), u"Invalid Key at position 6 : a" + kCrLf);
}

TEST(ParserObject, PositionsCountUtf16Units) {
  Parse(u"{\"ñandú😀\" 1}");  // the emoji takes two units
  EXPECT_EQ(Errors(), u"Invalid Key at position 12 : ñandú😀" + kCrLf);
}

TEST(ParserObject, SeparatorsAreOptionalAndALeadingCommaIsAccepted) {
  Value root = Parse(u"{\"a\":1 \"b\":2}");
  EXPECT_EQ(root.AsDictionary().Count(), 2);
  root = Parse(u"{,\"a\":1}");
  EXPECT_EQ(root.AsDictionary().Count(), 1);
  EXPECT_EQ(Errors(), u"");
}

TEST(ParserObject, AfterACommaAKeyIsAlwaysRead) {
  const Value root = Parse(u"{\"a\":1,}");
  EXPECT_EQ(root.AsDictionary().Keys(), (std::vector<std::u16string>{u"a", u"}"}));
  EXPECT_TRUE(root[u"}"].IsEmpty());
  EXPECT_EQ(Errors(), u"Missing '}': {\"a\":1,}" + kCrLf);
}

TEST(ParserObject, RepeatedKeyKeepsTheFirstValueAndStopsTheObject) {
  const Value root = Parse(u"{\"a\":1,\"a\":2,\"b\":3}");
  EXPECT_EQ(root.AsDictionary().Count(), 1);
  EXPECT_EQ(root[u"a"].ToDecimal(), Decimal(1));
  EXPECT_EQ(Errors(), platform::Failure::DuplicateKey().Description() + u": a" + kCrLf);
}

TEST(ParserObject, KeysAlikeInSizeAndFirstCharacterStayApartAndARepeatedLongKeyIsFound) {
  const Value root = Parse(u"{\"Cantidad\":1,\"Cantidaf\":2,\"ab\":3,\"ac\":4,\"Cantidad\":5}");
  EXPECT_EQ(root.AsDictionary().Keys(),
            (std::vector<std::u16string>{u"Cantidad", u"Cantidaf", u"ab", u"ac"}));
  EXPECT_EQ(root[u"Cantidad"].ToDecimal(), Decimal(1));
  EXPECT_EQ(Errors(), platform::Failure::DuplicateKey().Description() + u": Cantidad" + kCrLf);
}

TEST(ParserObject, ConversionFailureNamesTheKeyAndLeavesEarlierMembers) {
  Value root = Parse(u"{\"a\":x}");
  EXPECT_EQ(root.AsDictionary().Count(), 0);
  EXPECT_EQ(Errors(), u"No coinciden los tipos: a" + kCrLf);

  root = Parse(u"{\"ok\":1,\"b\":{\"c\":-}, \"d\":2}");
  EXPECT_EQ(root[u"ok"].ToDecimal(), Decimal(1));
  EXPECT_EQ(root[u"b"].AsDictionary().Count(), 0);  // the inner object caught its own failure
  // The outer object goes on at the inner "}" and so ends there.
  EXPECT_EQ(root.AsDictionary().Keys(), (std::vector<std::u16string>{u"ok", u"b"}));
  EXPECT_EQ(Errors(), u"No coinciden los tipos: c" + kCrLf);
}

TEST(ParserObject, TextEndingInsideGivesMissingBraceWithTheLastTwentyCharacters) {
  const Value root = Parse(u"{\"nombre\":\"Hamburguesa doble\",\"cantidad\":2");
  EXPECT_EQ(Text(root[u"nombre"]), u"Hamburguesa doble");
  EXPECT_TRUE(root[u"cantidad"].IsEmpty());  // the number ran into the end of the text
  EXPECT_EQ(Errors(), u"Missing '}':  doble\",\"cantidad\":2" + kCrLf);
}

TEST(ParserArray, SeparatorsAreOptional) {
  for (const char16_t* text : {u"[1 2]", u"[,1,2]", u"[1,2]"}) {
    const Value root = Parse(text);
    ASSERT_EQ(root.AsCollection().Count(), 2);
    EXPECT_EQ(root[1].ToDecimal(), Decimal(1));
    EXPECT_EQ(root[2].ToDecimal(), Decimal(2));
    EXPECT_EQ(Errors(), u"");
  }
}

TEST(ParserArray, EmptySlotFailsWithTheNextTwentyCharacters) {
  Value root = Parse(u"[1,,2]");
  EXPECT_EQ(root.AsCollection().Count(), 1);
  EXPECT_EQ(Errors(), u"No coinciden los tipos: ,2]" + kCrLf);

  root = Parse(u"[1,]");
  EXPECT_EQ(root.AsCollection().Count(), 1);
  EXPECT_EQ(Errors(), u"No coinciden los tipos: ]" + kCrLf);

  Parse(u"[1,,\"abcdefghijklmnopqrstuvwxyz\"]");
  EXPECT_EQ(Errors(), u"No coinciden los tipos: ,\"abcdefghijklmnopqr" + kCrLf);
}

TEST(ParserArray, NumberRunningIntoTheEndGivesEmpty) {
  const Value root = Parse(u"[1");
  ASSERT_EQ(root.AsCollection().Count(), 1);
  EXPECT_TRUE(root[1].IsEmpty());
  EXPECT_EQ(Errors(), u"Missing ']': [1" + kCrLf);
}

TEST(ParserArray, NestedFailureIsCaughtByTheInnerArrayAndReadingGoesOn) {
  const Value root = Parse(u"[[1,x],2]");
  // The inner array stops at x; the outer one then fails at the same x.
  EXPECT_EQ(root.AsCollection().Count(), 1);
  EXPECT_EQ(root[1].AsCollection().Count(), 1);
  EXPECT_EQ(Errors(),
            u"No coinciden los tipos: x],2]" + kCrLf + u"No coinciden los tipos: x],2]" + kCrLf);
}

TEST(ParserLiterals, BooleansAndNull) {
  const Value root = Parse(u"[true,false,null]");
  EXPECT_TRUE(root[1].ToBool());
  EXPECT_TRUE(root[2].IsBoolean());
  EXPECT_FALSE(root[2].ToBool());
  EXPECT_TRUE(root[3].IsNull());
  EXPECT_EQ(Errors(), u"");
}

TEST(ParserLiterals, MisspeltBooleanInObjectReportsAndReadingGoesOn) {
  const Value root = Parse(u"{\"a\":tru}");
  EXPECT_TRUE(root[u"a"].IsBoolean());
  EXPECT_EQ(Errors(),
            u"Invalid Boolean at position 6 : tru}" + kCrLf + u"Missing '}': {\"a\":tru}" + kCrLf);
}

TEST(ParserLiterals, MisspeltNullGivesEmpty) {
  const Value root = Parse(u"{\"a\":nul}");
  EXPECT_TRUE(root[u"a"].IsEmpty());
  EXPECT_EQ(Errors(), u"Invalid null value at position 6 : nul}" + kCrLf +
                          u"Missing '}': {\"a\":nul}" + kCrLf);
}

TEST(ParserLiterals, MisspeltLiteralInArrayStopsTheArray) {
  Value root = Parse(u"[1,tru,2]");
  ASSERT_EQ(root.AsCollection().Count(), 2);
  EXPECT_FALSE(root[2].ToBool());
  EXPECT_EQ(Errors(), u"Invalid Boolean at position 4 : tru,2]" + kCrLf);

  root = Parse(u"[n]");
  EXPECT_EQ(root.AsCollection().Count(), 1);
  EXPECT_EQ(Errors(), u"Invalid null value at position 2 : n]" + kCrLf);
}

TEST(ParserString, EscapesAndQuotes) {
  const Value root = Parse(
      u"[\"\\u00e9\", \"a\\qb\", 'it\"s', \"\\\"\\\\\\/\\'\", \"\\b\\f\\n\\r\\t\", "
      u"\"\\u00E9\\u20ac\"]");
  EXPECT_EQ(Text(root[1]), u"é");
  EXPECT_EQ(Text(root[2]), u"aqb");
  EXPECT_EQ(Text(root[3]), u"it\"s");
  EXPECT_EQ(Text(root[4]), u"\"\\/'");
  EXPECT_EQ(Text(root[5]), u"\b\f\n\r\t");
  EXPECT_EQ(Text(root[6]), u"é€");
  EXPECT_EQ(Errors(), u"");
}

TEST(ParserString, ShortUnicodeEscapeStillMovesFourCharacters) {
  Value root = Parse(u"[\"\\u41zzzb\"]");
  EXPECT_EQ(Text(root[1]), u"Azb");
  root = Parse(u"[\"\\uZZZZ!\"]");
  EXPECT_EQ(Text(root[1]), std::u16string(1, u'\0') + u"!");
  EXPECT_EQ(Errors(), u"");
}

// The four characters after \u are units of the decoded text: from UTF-8 bytes they can end in
// the middle of a character of two units, whose second half is then read as an ordinary one.
TEST(ParserString, UnicodeEscapeCanEndInsideACharacterOfTwoUnits) {
  const Value root = Parse(u"[\"\\u41b😀z\", \"\\u00😀!\"]");
  EXPECT_EQ(Text(root[1]), u"\u041B\xDE00z");
  EXPECT_EQ(Text(root[2]), std::u16string(1, u'\0') + u"!");
  EXPECT_EQ(Errors(), u"");
}

// Wire bytes that are not well-formed in their encoding read as their decoded text does:
// replacement characters, the unassigned Windows-1252 bytes, positions after them.
TEST(ParserBytes, MalformedBytesReadAsTheirDecodedText) {
  constexpr const char* kUtf8Cases[] = {"{\"\xE9\xFF\" 1}",
                                        "[\"a\xC0\200b\", tru]",
                                        "{\"k\":\"\xF0\x9F\x98\"}x",
                                        "[\"\xED\xA0\x80\", nul]",
                                        "[\"\\u12\xE2\x82\xAC\x80\"",
                                        "{'\xC3\xB1' : [1,,2]}",
                                        "{\"a\": \"\xF4\x90\x80\x80\"}",
                                        "[\"\xE2\x82\"\xAC]"};
  for (const char* bytes : kUtf8Cases) {
    SCOPED_TRACE(bytes);
    ParseBytesAsText(bytes, TextEncoding::kUtf8);
  }
  constexpr const char* kWindows1252Cases[] = {"{\"\x81\x8D\x80\" 1}", "[\"\x9F\xFF\", tru]"};
  for (const char* bytes : kWindows1252Cases) {
    SCOPED_TRACE(bytes);
    ParseBytesAsText(bytes, TextEncoding::kWindows1252);
  }
  const ParseResult key = ParseJson("{\"\xE9\xFF\" 1}", TextEncoding::kUtf8);
  EXPECT_EQ(key.errors, u"Invalid Key at position 7 : \xFFFD\xFFFD" + kCrLf);
}

TEST(ParserString, LineBreaksStayAndAnOpenStringEndsWithTheText) {
  Value root = Parse(u"[\"una\r\nlínea\"]");
  EXPECT_EQ(Text(root[1]), u"una\r\nlínea");
  root = Parse(u"[\"sin fin");
  EXPECT_EQ(Text(root[1]), u"sin fin");
  EXPECT_EQ(Errors(), u"Missing ']': [\"sin fin" + kCrLf);  // no line for the string
}

TEST(ParserString, AnEscapeCutByTheEndOfTheTextKeepsWhatWasRead) {
  Value root = Parse(u"[\"ab\\");
  EXPECT_EQ(Text(root[1]), u"ab");
  root = Parse(u"[\"ab\\u4");
  EXPECT_EQ(Text(root[1]), u"ab\u0004");
  EXPECT_EQ(Errors(), u"Missing ']': [\"ab\\u4" + kCrLf);
}

TEST(ParserString, LongTextsBeyondTheBuilderChunkAreKept) {
  std::u16string long_text(20000, u'x');
  long_text[10000] = u'ñ';
  const Value root = Parse(u"[\"" + long_text + u"\",\"corto\"]");
  EXPECT_EQ(Text(root[1]), long_text);
  EXPECT_EQ(Text(root[2]), u"corto");
}

TEST(ParserNesting, DeepButAllowedTextsReadFully) {
  const std::u16string text = std::u16string(512, u'[') + std::u16string(512, u']');
  Value value = Parse(text);
  EXPECT_EQ(Errors(), u"");
  int depth = 1;
  while (value.AsCollection().Count() == 1) {
    value = value[1];
    ++depth;
  }
  EXPECT_EQ(depth, 512);
}

TEST(ParserNesting, PastTheLimitOneLineAndReadingStops) {
  for (const int levels : {513, 100000}) {
    const std::u16string text = std::u16string(levels, u'[') + std::u16string(levels, u']');
    const Value root = Parse(text);
    ASSERT_TRUE(root.IsCollection());
    EXPECT_EQ(Errors(), u"Anidamiento demasiado profundo en la posición 513" + kCrLf);
  }
  std::u16string objects;
  for (int i = 0; i < 100000; ++i) objects += u"{\"a\":";
  const Value root = Parse(objects);
  ASSERT_TRUE(root.IsDictionary());
  // {"a": is five characters: the 513th brace is at 5 * 512 + 1.
  EXPECT_EQ(Errors(), u"Anidamiento demasiado profundo en la posición 2561" + kCrLf);
}

}  // namespace
}  // namespace quillon::json
