// Exact decimals: money never passes through floating point.
#include "json/decimal.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/failure.h"
#include "platform/text.h"
#include "support/error_number.h"

namespace quillon::json {
namespace {

Decimal D(const char* text) { return *Decimal::Parse(platform::Utf8ToUtf16(text), u'.'); }

using test::ErrorNumberOf;

constexpr char kMax[] = "79228162514264337593543950335";  // 2^96 - 1

TEST(DecimalArithmetic, SumsAndProductsAreExact) {
  EXPECT_EQ(D("0.1") + D("0.2"), D("0.3"));
  EXPECT_EQ((D("0.1") + D("0.2")).ToText(), u"0,3");
  EXPECT_EQ(D("19.99") * D("3"), D("59.97"));
  EXPECT_EQ(D("1250.50") - D("1250.5"), Decimal(0));
  EXPECT_EQ((D("-2.5") * D("-4")).ToText(u'.'), u"10");
  Decimal total;
  for (int i = 0; i < 1000; ++i) total += D("0.01");
  EXPECT_EQ(total, Decimal(10));
}

TEST(DecimalArithmetic, DivisionRoundsHalfEvenAtTwentyEightPlaces) {
  EXPECT_EQ((Decimal(1) / Decimal(3)).ToText(u'.'), u"0.3333333333333333333333333333");
  EXPECT_EQ((Decimal(2) / Decimal(3)).ToText(u'.'), u"0.6666666666666666666666666667");
  EXPECT_EQ(Decimal(10) / Decimal(4), D("2.5"));
  EXPECT_EQ((Decimal(-1) / Decimal(8)).ToText(u'.'), u"-0.125");
  EXPECT_EQ(ErrorNumberOf([] { Decimal(1) / Decimal(0); }), 11);
}

TEST(DecimalRounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(D("2.5").RoundHalfEven(), Decimal(2));
  EXPECT_EQ(D("3.5").RoundHalfEven(), Decimal(4));
  EXPECT_EQ(D("-2.5").RoundHalfEven(), Decimal(-2));
  EXPECT_EQ(D("2.51").RoundHalfEven(), Decimal(3));
  EXPECT_EQ(D("2.345").RoundHalfEven(2), D("2.34"));
  EXPECT_EQ(D("2.355").RoundHalfEven(2), D("2.36"));
  EXPECT_EQ(D("12500.5").ToInt64(), 12500);
  EXPECT_EQ(D("1.999").Truncate(2), D("1.99"));
  EXPECT_EQ(D("-1.999").Truncate(2), D("-1.99"));
}

TEST(DecimalRange, LeavingNinetySixBitsIsAnOverflow) {
  const Decimal max = D(kMax);
  EXPECT_EQ(max.ToText(), platform::Utf8ToUtf16(kMax));
  EXPECT_EQ(ErrorNumberOf([&] { max + Decimal(1); }), 6);
  EXPECT_EQ(ErrorNumberOf([&] { -max - Decimal(1); }), 6);
  EXPECT_EQ(ErrorNumberOf([&] { max* Decimal(2); }), 6);
  EXPECT_EQ(ErrorNumberOf([&] { max.ToInt64(); }), 6);
  EXPECT_FALSE(Decimal::Parse(u"79228162514264337593543950336", u'.').has_value());
  // Fraction digits give way before the whole part does.
  EXPECT_EQ(max + D("0.4"), max);
  EXPECT_EQ(D("7922816251426433759354395033.5") + D("0.5"), D("7922816251426433759354395034"));
}

TEST(DecimalCompare, ByValueWhateverTheScale) {
  EXPECT_EQ(D("1.50"), D("1.5"));
  EXPECT_LT(D("-1"), D("0.5"));
  EXPECT_LT(D("-1.25"), D("-1.2"));
  EXPECT_GT(D("100"), D("99.999"));
  EXPECT_EQ(D("1.50").ToText(), u"1,5");
  EXPECT_EQ(D("-0.25").ToText(), u"-0,25");
}

TEST(DecimalParse, AcceptsOnlyPlainNumbers) {
  EXPECT_EQ(Decimal::Parse(u"-12,5", u','), D("-12.5"));
  EXPECT_FALSE(Decimal::Parse(u"1.000,5", u',').has_value());
  EXPECT_FALSE(Decimal::Parse(u"", u',').has_value());
  EXPECT_FALSE(Decimal::Parse(u"-", u',').has_value());
  EXPECT_FALSE(Decimal::Parse(u"1e3", u',').has_value());
}

}  // namespace
}  // namespace quillon::json
