#include "json/decimal.h"

#include <algorithm>

#include "platform/failure.h"

namespace quillon::json {
namespace {

constexpr Int128 kMax96 = (static_cast<Int128>(1) << 96) - 1;

Int128 Pow10(int n) {
  Int128 p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}

Int128 Abs128(Int128 v) { return v < 0 ? -v : v; }

// Divides by 10^n rounding half to even, or half away from zero.
Int128 DivRound(Int128 m, int n, bool half_to_even) {
  if (n <= 0) return m;
  const Int128 p = Pow10(n);
  Int128 q = m / p;
  const Int128 r = Abs128(m % p);
  const Int128 twice = r * 2;
  if (twice > p || (twice == p && (!half_to_even || q % 2 != 0))) q += (m < 0 ? -1 : 1);
  return q;
}

Int128 DivRoundHalfEven(Int128 m, int n) { return DivRound(m, n, true); }

// Scales m up by 10^n; false on overflow.
bool ScaleUp(Int128 m, int n, Int128* out) {
  for (int i = 0; i < n; ++i) {
    if (__builtin_mul_overflow(m, 10, &m)) return false;
  }
  *out = m;
  return true;
}

}  // namespace

// Brings (mantissa, scale) into 96 bits and scale 0..28, losing fraction digits if needed.
Decimal Decimal::FromParts(Int128 mantissa, int scale) {
  if (scale > kMaxScale) {
    mantissa = DivRoundHalfEven(mantissa, scale - kMaxScale);
    scale = kMaxScale;
  }
  while (Abs128(mantissa) > kMax96 && scale > 0) {
    mantissa = DivRoundHalfEven(mantissa, 1);
    --scale;
  }
  for (; scale < 0; ++scale) {
    if (__builtin_mul_overflow(mantissa, 10, &mantissa)) throw platform::Failure::Overflow();
  }
  if (Abs128(mantissa) > kMax96) throw platform::Failure::Overflow();
  Decimal d;
  d.mantissa_ = mantissa;
  d.scale_ = scale;
  return d;
}

std::optional<Decimal> Decimal::Parse(std::u16string_view text, char16_t mark) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  Int128 m = 0;
  int scale = 0;
  int digits = 0;
  bool in_fraction = false;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == mark && !in_fraction) {
      in_fraction = true;
      continue;
    }
    if (c < u'0' || c > u'9') return std::nullopt;
    ++digits;
    if (in_fraction && scale == kMaxScale) continue;  // digits beyond 28 places are dropped
    if (__builtin_mul_overflow(m, 10, &m) || Abs128(m) > kMax96 * 10) return std::nullopt;
    m += c - u'0';
    if (in_fraction) ++scale;
  }
  if (digits == 0) return std::nullopt;
  try {
    return Decimal::FromParts(negative ? -m : m, scale);
  } catch (const platform::Failure&) {
    return std::nullopt;
  }
}

Decimal Decimal::operator-() const { return FromParts(-mantissa_, scale_); }

Decimal operator+(const Decimal& a, const Decimal& b) {
  int scale = std::max(a.scale_, b.scale_);
  for (;; --scale) {
    Int128 ma, mb, sum;
    const bool ok_a = scale >= a.scale_
                          ? ScaleUp(a.mantissa_, scale - a.scale_, &ma)
                          : (ma = DivRoundHalfEven(a.mantissa_, a.scale_ - scale), true);
    const bool ok_b = scale >= b.scale_
                          ? ScaleUp(b.mantissa_, scale - b.scale_, &mb)
                          : (mb = DivRoundHalfEven(b.mantissa_, b.scale_ - scale), true);
    if (ok_a && ok_b && !__builtin_add_overflow(ma, mb, &sum))
      return Decimal::FromParts(sum, scale);
    if (scale == 0) throw platform::Failure::Overflow();
  }
}

Decimal operator-(const Decimal& a, const Decimal& b) { return a + (-b); }

Decimal operator*(const Decimal& a, const Decimal& b) {
  const Decimal x = a.Normalized();
  const Decimal y = b.Normalized();
  Int128 product;
  if (__builtin_mul_overflow(x.mantissa_, y.mantissa_, &product))
    throw platform::Failure::Overflow();
  return Decimal::FromParts(product, x.scale_ + y.scale_);
}

Decimal operator/(const Decimal& a, const Decimal& b) {
  if (b.mantissa_ == 0) throw platform::Failure::DivisionByZero();
  const Int128 divisor = Abs128(b.mantissa_);
  Int128 q = Abs128(a.mantissa_) / divisor;
  Int128 r = Abs128(a.mantissa_) % divisor;
  int scale = a.scale_ - b.scale_;
  while (r != 0 && scale < Decimal::kMaxScale) {
    const Int128 digit = (r * 10) / divisor;
    Int128 next;
    if (__builtin_mul_overflow(q, 10, &next) || next + digit > kMax96) break;
    q = next + digit;
    r = (r * 10) % divisor;
    ++scale;
  }
  if (r * 2 > divisor || (r * 2 == divisor && q % 2 != 0)) ++q;
  const bool negative = (a.mantissa_ < 0) != (b.mantissa_ < 0);
  return Decimal::FromParts(negative ? -q : q, scale);
}

bool operator==(const Decimal& a, const Decimal& b) { return std::is_eq(a <=> b); }

std::strong_ordering operator<=>(const Decimal& a, const Decimal& b) {
  const Int128 ia = a.mantissa_ / Pow10(a.scale_);
  const Int128 ib = b.mantissa_ / Pow10(b.scale_);
  if (ia != ib) return ia <=> ib;
  const int scale = std::max(a.scale_, b.scale_);
  const Int128 fa = (a.mantissa_ % Pow10(a.scale_)) * Pow10(scale - a.scale_);
  const Int128 fb = (b.mantissa_ % Pow10(b.scale_)) * Pow10(scale - b.scale_);
  return fa <=> fb;
}

Decimal Decimal::RoundHalfEven(int decimals) const {
  if (decimals >= scale_) return *this;
  return FromParts(DivRoundHalfEven(mantissa_, scale_ - decimals), decimals);
}

Decimal Decimal::RoundHalfAwayFromZero(int decimals) const {
  if (decimals >= scale_) return *this;
  return FromParts(DivRound(mantissa_, scale_ - decimals, false), decimals);
}

Decimal Decimal::Truncate(int decimals) const {
  if (decimals >= scale_) return *this;
  return FromParts(mantissa_ / Pow10(scale_ - decimals), decimals);
}

long long Decimal::ToInt64() const {
  const Int128 whole = RoundHalfEven(0).mantissa_;
  if (whole > INT64_MAX || whole < INT64_MIN) throw platform::Failure::Overflow();
  return static_cast<long long>(whole);
}

Decimal Decimal::Normalized() const {
  Decimal d = *this;
  while (d.scale_ > 0 && d.mantissa_ % 10 == 0) {
    d.mantissa_ /= 10;
    --d.scale_;
  }
  return d;
}

std::u16string Decimal::ToText(char16_t mark) const {
  const Decimal d = Normalized();
  Int128 m = Abs128(d.mantissa_);
  std::u16string digits;
  do {
    digits.push_back(static_cast<char16_t>(u'0' + static_cast<int>(m % 10)));
    m /= 10;
  } while (m != 0);
  while (static_cast<int>(digits.size()) <= d.scale_) digits.push_back(u'0');
  std::u16string out;
  if (d.mantissa_ < 0) out.push_back(u'-');
  for (int i = static_cast<int>(digits.size()) - 1; i >= 0; --i) {
    out.push_back(digits[i]);
    if (i == d.scale_ && i != 0) out.push_back(mark);
  }
  return out;
}

}  // namespace quillon::json
