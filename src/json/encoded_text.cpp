#include "json/encoded_text.h"

#include "platform/text.h"

namespace quillon::json {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::string EncodedText::EncodeUnits(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (const char16_t unit : text) {
    if (unit < 0x80) {
      out.push_back(static_cast<char>(unit));
    } else if (unit < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (unit >> 6)));
      out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (unit >> 12)));
      out.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    }
  }
  return out;
}

std::size_t EncodedText::DecodeOne(std::size_t at, char16_t* out, std::size_t* units) const {
  *units = 1;
  switch (encoding_) {
    case Encoding::kWindows1252:
      out[0] = platform::Cp1252Unit(s_[at]);
      return 1;
    case Encoding::kUtf8: {
      char32_t code = 0;
      const int length = platform::ReadUtf8Sequence(s_, n_, at, &code);
      if (length < 0) {
        out[0] = 0xFFFD;
        return static_cast<std::size_t>(-length);
      }
      if (code < 0x10000) {
        out[0] = static_cast<char16_t>(code);
      } else {
        code -= 0x10000;
        out[0] = static_cast<char16_t>(0xD800 + (code >> 10));
        out[1] = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        *units = 2;
      }
      return static_cast<std::size_t>(length);
    }
    case Encoding::kUnits:
      break;
  }
  const unsigned char lead = s_[at];
  if ((lead & 0xE0) == 0xC0) {
    out[0] = static_cast<char16_t>(((lead & 0x1F) << 6) | (s_[at + 1] & 0x3F));
    return 2;
  }
  out[0] = static_cast<char16_t>(((lead & 0x0F) << 12) | ((s_[at + 1] & 0x3F) << 6) |
                                 (s_[at + 2] & 0x3F));
  return 3;
}

std::size_t EncodedText::DecodeAny(std::size_t from, std::size_t to, char16_t* out) const {
  char16_t* next = out;
  std::size_t at = from;
  while (at < to) {
#if defined(__SSE2__)
    if (at + 16 <= n_) {
      // Sixteen bytes widened at once; those past `to` or past the first byte outside ASCII
      // land in the slack and are written over.
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s_ + at));
      const __m128i zero = _mm_setzero_si128();
      _mm_storeu_si128(reinterpret_cast<__m128i*>(next), _mm_unpacklo_epi8(block, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(next + 8), _mm_unpackhi_epi8(block, zero));
      const auto high = static_cast<unsigned>(_mm_movemask_epi8(block));
      const std::size_t ascii = high == 0 ? 16 : static_cast<std::size_t>(__builtin_ctz(high));
      const std::size_t taken = ascii < to - at ? ascii : to - at;
      at += taken;
      next += taken;
      if (ascii == 16 || at == to) continue;
    }
#endif
    const unsigned char byte = s_[at];
    if (byte < 0x80) {
      *next++ = byte;
      ++at;
      continue;
    }
    std::size_t units;
    at += DecodeOne(at, next, &units);
    next += units;
  }
  return static_cast<std::size_t>(next - out);
}

void EncodedText::AppendDecoded(std::size_t from, std::size_t to, std::u16string& out) const {
  const std::size_t start = out.size();
  out.resize(start + (to - from) + kDecodeSlack);
  out.resize(start + Decode(from, to, out.data() + start));
}

std::size_t EncodedText::SkipUnits(std::size_t from, std::size_t count,
                                   char16_t* second_half) const {
  *second_half = 0;
  std::size_t at = from;
  while (count > 0 && at < n_) {
    if (s_[at] < 0x80 || encoding_ == Encoding::kWindows1252) {
      ++at;
      --count;
      continue;
    }
    char16_t units[2];
    std::size_t decoded;
    at += DecodeOne(at, units, &decoded);
    if (decoded > count) {
      *second_half = units[1];
      return at;
    }
    count -= decoded;
  }
  return at;
}

std::size_t EncodedText::UnitsBefore(std::size_t at) const {
  if (encoding_ == Encoding::kWindows1252) return at;
  if (at < counted_bytes_) counted_bytes_ = counted_units_ = 0;
  std::size_t i = counted_bytes_;
  std::size_t units = counted_units_;
  while (i < at && i < n_) {
    if (s_[i] < 0x80) {
      ++i;
      ++units;
      continue;
    }
    char16_t decoded[2];
    std::size_t count;
    i += DecodeOne(i, decoded, &count);
    units += count;
  }
  counted_bytes_ = i;
  counted_units_ = units;
  return units;
}

std::u16string EncodedText::UnitsFrom(std::size_t at, std::size_t count) const {
  std::u16string out;
  while (at < n_ && out.size() < count) {
    char16_t decoded[2] = {s_[at], 0};
    std::size_t units = 1;
    at += s_[at] < 0x80 ? 1 : DecodeOne(at, decoded, &units);
    out.append(decoded, units);
  }
  if (out.size() > count) out.resize(count);
  return out;
}

std::u16string EncodedText::Rest(std::size_t at) const {
  std::u16string out;
  if (at < n_) AppendDecoded(at, n_, out);
  return out;
}

std::u16string EncodedText::LastUnits(std::size_t count) const {
  // A character takes at most four bytes, and decoding may start at any byte that does not
  // continue a character before it.
  std::size_t from = n_ > 4 * count ? n_ - 4 * count : 0;
  if (encoding_ != Encoding::kWindows1252) {
    while (from > 0 && IsContinuation(s_[from])) --from;
  } else {
    from = n_ > count ? n_ - count : 0;
  }
  std::u16string out = Rest(from);
  if (out.size() > count) out.erase(0, out.size() - count);
  return out;
}

}  // namespace quillon::json
