#pragma once
// Exact decimal numbers for money and quantities: a signed integer mantissa of at most 96 bits
// with a decimal scale of 0 to 28. No floating point anywhere near an amount.
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::json {

__extension__ typedef __int128 Int128;  // holds the 96-bit mantissa with room for carries

class Decimal {
 public:
  static constexpr int kMaxScale = 28;

  constexpr Decimal() = default;
  constexpr Decimal(long long whole) : mantissa_(whole) {}  // implicit on purpose

  // mantissa / 10^scale. Throws platform::Failure (6, overflow) when it leaves 96 bits or scale 28.
  static Decimal FromParts(Int128 mantissa, int scale);

  // Plain text: optional sign, digits, optional `mark` and digits. No grouping, no exponent.
  static std::optional<Decimal> Parse(std::u16string_view text, char16_t mark);

  Int128 Mantissa() const { return mantissa_; }
  int Scale() const { return scale_; }
  bool IsZero() const { return mantissa_ == 0; }
  bool IsNegative() const { return mantissa_ < 0; }

  Decimal operator-() const;
  Decimal Abs() const { return IsNegative() ? -*this : *this; }
  friend Decimal operator+(const Decimal& a, const Decimal& b);
  friend Decimal operator-(const Decimal& a, const Decimal& b);
  friend Decimal operator*(const Decimal& a, const Decimal& b);
  // Quotient rounded half to even at up to 28 decimals. Division by zero throws
  // platform::Failure 11.
  friend Decimal operator/(const Decimal& a, const Decimal& b);
  Decimal& operator+=(const Decimal& b) { return *this = *this + b; }
  Decimal& operator-=(const Decimal& b) { return *this = *this - b; }

  friend bool operator==(const Decimal& a, const Decimal& b);
  friend std::strong_ordering operator<=>(const Decimal& a, const Decimal& b);

  // Rounded to `decimals` places, halves to the even neighbour.
  Decimal RoundHalfEven(int decimals = 0) const;
  // Rounded to `decimals` places, halves away from zero (commercial rounding: 2,5 -> 3).
  Decimal RoundHalfAwayFromZero(int decimals = 0) const;
  // Cut to `decimals` places, towards zero.
  Decimal Truncate(int decimals = 0) const;
  // The whole number after RoundHalfEven(0); throws platform::Failure 6 outside 64 bits.
  long long ToInt64() const;

  // Digits with `mark` before the fraction; no trailing fraction zeros, no grouping, "-" for
  // negatives: 12,5  -0,25  1000.
  std::u16string ToText(char16_t mark = u',') const;

 private:
  Decimal Normalized() const;  // without trailing fraction zeros
  Int128 mantissa_ = 0;
  int scale_ = 0;
};

}  // namespace quillon::json
