#pragma once
// The bytes of a text as the parser reads them: the grammar's characters are all ASCII, which
// every encoding here writes as one byte of its own, so only the contents of texts and keys and
// the pieces quoted in error lines are decoded. Positions handed out count UTF-16 units of the
// decoded text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon::json {

class EncodedText {
 public:
  enum class Encoding {
    kWindows1252,
    kUtf8,
    kUnits,  // UTF-16 text, each unit written alone as by UTF-8 (see EncodeUnits)
  };

  EncodedText(std::string_view bytes, Encoding encoding)
      : s_(reinterpret_cast<const unsigned char*>(bytes.data())),
        n_(bytes.size()),
        encoding_(encoding) {}

  // UTF-16 text as bytes for kUnits: every unit on its own, as UTF-8 writes a character of that
  // value (surrogates included), so that no unit is lost and each counts as one character.
  static std::string EncodeUnits(std::u16string_view text);

  const unsigned char* Bytes() const { return s_; }
  std::size_t Size() const { return n_; }

  // Decodes [from, to), which holds no escape, into `out`, and returns the units written. `out`
  // has room for to - from + kDecodeSlack units: whole blocks are written past the end.
  static constexpr std::size_t kDecodeSlack = 16;
  std::size_t Decode(std::size_t from, std::size_t to, char16_t* out) const {
#if defined(__SSE2__)
    // Most texts and keys are short and plain ASCII: one block widened in place.
    if (to - from <= 16 && from + 16 <= n_) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s_ + from));
      const unsigned run = (1u << (to - from)) - 1;
      if ((static_cast<unsigned>(_mm_movemask_epi8(block)) & run) == 0) {
        const __m128i zero = _mm_setzero_si128();
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(block, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(block, zero));
        return to - from;
      }
    }
#endif
    return DecodeAny(from, to, out);
  }
  void AppendDecoded(std::size_t from, std::size_t to, std::u16string& out) const;

  // The position `count` units after `from`, or the end of the text. When the last unit is the
  // first half of a character of two, *second_half receives the other half (else 0).
  std::size_t SkipUnits(std::size_t from, std::size_t count, char16_t* second_half) const;

  // Units before the character at `at`.
  std::size_t UnitsBefore(std::size_t at) const;
  // Up to `count` units of the text from `at`.
  std::u16string UnitsFrom(std::size_t at, std::size_t count) const;
  // The text from `at` to its end.
  std::u16string Rest(std::size_t at) const;
  // The last `count` units of the text.
  std::u16string LastUnits(std::size_t count) const;

 private:
  std::size_t DecodeAny(std::size_t from, std::size_t to, char16_t* out) const;
  // The character at s_[at], not ASCII: its units into out (one or two); returns bytes taken.
  std::size_t DecodeOne(std::size_t at, char16_t* out, std::size_t* units) const;

  const unsigned char* s_;
  std::size_t n_;
  Encoding encoding_;
  // Where UnitsBefore last counted to, so that errors further on count on from there.
  mutable std::size_t counted_bytes_ = 0;
  mutable std::size_t counted_units_ = 0;
};

}  // namespace quillon::json
