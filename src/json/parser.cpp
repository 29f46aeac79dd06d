#include "json/parser.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "json/number_text.h"
#include "json/string_builder.h"
#include "platform/failure.h"

namespace quillon::json {
namespace {

// Containers nested deeper than this are not read: the recursion must not exhaust the stack.
constexpr int kMaxDepth = 512;
// Longest text read without the string builder.
constexpr std::size_t kDirectText = 1 << 20;

// The module's error text; the agent parses on one thread, each thread keeps its own.
thread_local std::u16string t_errors;
// The string builder of the texts read, kept from one parse to the next so that its first
// chunk is not allocated again for every job.
thread_local StringBuilder t_builder;

// TAB, LF, CR, space, "(", ")", "*", "/": the characters SkipIgnorable acts upon.
constexpr std::uint64_t kIgnorableMask = (1ULL << 9) | (1ULL << 10) | (1ULL << 13) |
                                         (1ULL << 32) | (1ULL << 40) | (1ULL << 41) |
                                         (1ULL << 42) | (1ULL << 47);

inline bool MayBeIgnorable(char16_t c) { return c < 64 && ((kIgnorableMask >> c) & 1) != 0; }

inline bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

inline bool IsNumberChar(char16_t c) {
  return IsDigit(c) || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E';
}

// Characters that end a run of plain key characters.
inline bool IsKeySpecial(char16_t c) {
  return c == u'"' || c == u'\'' || c == u':' || c == u'\r' || c == u'\n' || c == u'\t' ||
         c == u' ';
}

int HexDigit(char16_t c) {
  if (IsDigit(c)) return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

class Reader {
 public:
  Reader(std::u16string_view text, std::u16string& errors, StringBuilder& builder)
      : s_(text.data()), n_(text.size()), errors_(errors), builder_(builder) {}

  Value ReadRoot() {
    SkipIgnorable();
    if (At(u'{')) return ReadObject();
    if (At(u'[')) return ReadArray();
    errors_ = u"Invalid JSON";
    return Value();
  }

 private:
  enum class Outcome { kRead, kFailed, kStopped };

  bool At(char16_t c) const { return pos_ < n_ && s_[pos_] == c; }
  // Up to `count` characters from the position (a \u escape can move it past the end).
  std::u16string_view From(std::size_t count) const {
    const std::size_t at = std::min(pos_, n_);
    return std::u16string_view(s_ + at, std::min(count, n_ - at));
  }
  std::u16string_view Rest() const { return From(n_); }
  std::u16string_view LastTwenty() const {
    return std::u16string_view(s_ + n_ - std::min<std::size_t>(n_, 20), std::min<std::size_t>(n_, 20));
  }

  void AppendPosition() {
    const std::string digits = std::to_string(pos_ + 1);
    errors_.append(digits.begin(), digits.end());
  }
  void EndLine() { errors_ += u"\r\n"; }
  void PositionLine(std::u16string_view what, std::u16string_view tail) {
    errors_ += what;
    AppendPosition();
    errors_ += u" : ";
    errors_ += tail;
    EndLine();
  }
  void PiecesLine(std::u16string_view first, std::u16string_view second) {
    errors_ += first;
    errors_ += second;
    EndLine();
  }
  void FailureLine(std::u16string_view context) {
    errors_ += failure_;
    errors_ += u": ";
    errors_ += context;
    EndLine();
  }

  void SkipIgnorable() {
    if (pos_ >= n_ || !MayBeIgnorable(s_[pos_])) return;
    bool seen = false;  // a "/" or "*" that may open or close a comment
    bool in_comment = false;
    bool in_block = false;
    for (; pos_ < n_; ++pos_) {
      switch (s_[pos_]) {
        case u'\r':
        case u'\n':
          if (!in_block) seen = in_comment = false;
          break;
        case u'\t':
        case u' ':
        case u'(':
        case u')':
          break;
        case u'/':
          if (in_block) {
            if (seen) seen = in_comment = in_block = false;
          } else if (seen) {
            in_comment = true;
            seen = false;
          } else {
            seen = true;
            in_comment = in_block = false;
          }
          break;
        case u'*':
          if (seen) {
            in_comment = in_block = true;
            seen = false;
          } else {
            seen = true;
          }
          break;
        default:
          if (!in_comment) return;
      }
    }
  }

  // Stops the whole reading when a container would open past kMaxDepth.
  Outcome TooDeep() {
    errors_ += u"Anidamiento demasiado profundo en la posición ";
    AppendPosition();
    EndLine();
    stopped_ = true;
    return Outcome::kStopped;
  }

  // The value at the position; `outcome` tells whether it was read (it is left as it was then).
  Value ReadValue(Outcome& outcome) {
    SkipIgnorable();
    if (pos_ >= n_) return ReadNumber(outcome);
    switch (s_[pos_]) {
      case u'{':
        if (depth_ >= kMaxDepth) {
          outcome = TooDeep();
          return Value();
        }
        return ReadObject();
      case u'[':
        if (depth_ >= kMaxDepth) {
          outcome = TooDeep();
          return Value();
        }
        return ReadArray();
      case u'"':
      case u'\'':
        return ReadString();
      case u't':
      case u'f':
        return ReadBoolean();
      case u'n':
        return ReadNull();
      default:
        return ReadNumber(outcome);
    }
  }

  Value ReadObject() {
    auto object = MakeDictionary();
    Dictionary& members = *object;
    SkipIgnorable();
    if (!At(u'{')) {
      PositionLine(u"Invalid Object at position ", Rest());
      return Value(std::move(object));
    }
    ++pos_;
    ++depth_;
    members.Reserve(object_sizes_[static_cast<std::size_t>(depth_)]);
    for (;;) {
      SkipIgnorable();
      if (At(u'}')) {
        ++pos_;
        break;
      }
      if (At(u',')) {
        ++pos_;
        SkipIgnorable();
      } else if (pos_ >= n_) {
        PiecesLine(u"Missing '}': ", LastTwenty());
        break;
      }
      Key key = ReadKey();
      Outcome outcome = Outcome::kRead;
      Value value = ReadValue(outcome);
      if (outcome == Outcome::kStopped) break;
      if (outcome == Outcome::kFailed) {
        FailureLine(key);
        break;
      }
      if (!members.TryAdd(std::move(key), std::move(value))) {
        failure_ = platform::Failure::DuplicateKey().Description();
        // A refused key is not moved from.
        FailureLine(key);  // NOLINT(bugprone-use-after-move)
        break;
      }
      if (stopped_) break;
    }
    object_sizes_[static_cast<std::size_t>(depth_)] = members.Count();
    --depth_;
    return Value(std::move(object));
  }

  Value ReadArray() {
    auto array = MakeCollection();
    Collection& elements = *array;
    SkipIgnorable();
    if (!At(u'[')) {
      PositionLine(u"Invalid Array at position ", From(20));
      return Value(std::move(array));
    }
    ++pos_;
    ++depth_;
    elements.Reserve(array_sizes_[static_cast<std::size_t>(depth_)]);
    for (;;) {
      SkipIgnorable();
      if (At(u']')) {
        ++pos_;
        break;
      }
      if (At(u',')) {
        ++pos_;
        SkipIgnorable();
      } else if (pos_ >= n_) {
        PiecesLine(u"Missing ']': ", LastTwenty());
        break;
      }
      const std::size_t start = pos_;
      Outcome outcome = Outcome::kRead;
      Value value = ReadValue(outcome);
      if (outcome == Outcome::kStopped) break;
      if (outcome == Outcome::kFailed) {
        FailureLine(From(20));
        break;
      }
      elements.Add(std::move(value));
      if (stopped_) break;
      // A misspelt true, false or null leaves the position where it was; reading it again would
      // repeat its error line forever.
      if (pos_ == start && pos_ < n_) break;
    }
    array_sizes_[static_cast<std::size_t>(depth_)] = elements.Count();
    --depth_;
    return Value(std::move(array));
  }

  Value ReadString() {
    SkipIgnorable();
    const char16_t quote = s_[pos_++];
    // Most texts hold no escape: taken straight from the source. Very long ones go through the
    // builder, which enforces the size limit of a text.
    std::size_t end = pos_;
    while (end < n_ && s_[end] != quote && s_[end] != u'\\') ++end;
    if (end < n_ && s_[end] == quote && end - pos_ <= kDirectText) {
      const std::u16string_view text(s_ + pos_, end - pos_);
      pos_ = end + 1;
      return Value::FromText(text);
    }
    builder_.Remove(0, builder_.Length());
    while (pos_ < n_) {
      std::size_t end = pos_;
      while (end < n_ && s_[end] != quote && s_[end] != u'\\') ++end;
      if (end != pos_) {
        builder_.Append(std::u16string_view(s_ + pos_, end - pos_));
        pos_ = end;
      }
      if (pos_ >= n_) break;
      if (s_[pos_] == quote) {
        ++pos_;
        return Value(builder_.toString());
      }
      ++pos_;  // the backslash
      if (pos_ >= n_) break;
      char16_t unit;
      switch (s_[pos_]) {
        case u'"':
        case u'\\':
        case u'/':
        case u'\'':
          unit = s_[pos_];
          break;
        case u'b': unit = 8; break;
        case u'f': unit = 12; break;
        case u'n': unit = 10; break;
        case u'r': unit = 13; break;
        case u't': unit = 9; break;
        case u'u': {
          unsigned code = 0;
          for (std::size_t i = pos_ + 1; i < n_ && i < pos_ + 5 && HexDigit(s_[i]) >= 0; ++i) {
            code = code * 16 + static_cast<unsigned>(HexDigit(s_[i]));
          }
          unit = static_cast<char16_t>(code % 65536);
          pos_ += 4;
          break;
        }
        default:
          continue;  // not an escape: the character is read as an ordinary one
      }
      builder_.Append(std::u16string_view(&unit, 1));
      ++pos_;
    }
    return Value(builder_.toString());
  }

  // The common number shape (optional "-", 1 to 17 digits, optional "." and digits, of which
  // two are kept) read in place; the result is what the general conversion gives for it.
  // Anything else, or a number that runs into the end of the text, is left to that conversion.
  std::optional<Decimal> ReadPlainNumber() {
    std::size_t i = pos_;
    const bool negative = i < n_ && s_[i] == u'-';
    if (negative) ++i;
    const std::size_t first_digit = i;
    std::uint64_t mantissa = 0;
    for (; i < n_ && IsDigit(s_[i]); ++i) mantissa = mantissa * 10 + (s_[i] - u'0');
    const std::size_t digits = i - first_digit;
    if (digits == 0 || digits > 17) return std::nullopt;
    int scale = 0;
    if (i < n_ && s_[i] == u'.') {
      for (++i; i < n_ && IsDigit(s_[i]); ++i) {
        if (scale < 2) {
          mantissa = mantissa * 10 + (s_[i] - u'0');
          ++scale;
        }
      }
    }
    if (i >= n_ || IsNumberChar(s_[i])) return std::nullopt;
    pos_ = i;
    const Int128 m = static_cast<Int128>(mantissa);
    return Decimal::FromParts(negative ? -m : m, scale);
  }

  Value ReadNumber(Outcome& outcome) {
    SkipIgnorable();
    if (const auto plain = ReadPlainNumber()) return Value(*plain);
    const std::size_t start = pos_;
    while (pos_ < n_ && IsNumberChar(s_[pos_])) ++pos_;
    if (pos_ >= n_) return Value();  // the number ran into the end of the text
    const std::u16string_view collected(s_ + start, pos_ - start);
    const std::u16string text = FormatDecimalText(collected, 2);
    if (text.empty() && !IsNumericText(collected)) {
      failure_ = platform::Failure::TypeMismatch().Description();
      outcome = Outcome::kFailed;
      return Value();
    }
    const auto number = TextToDecimal(text);
    if (!number) {  // a number, but beyond the decimal range
      failure_ = platform::Failure::Overflow().Description();
      outcome = Outcome::kFailed;
      return Value();
    }
    return Value(*number);
  }

  bool Matches(std::u16string_view word) const {
    return pos_ <= n_ && n_ - pos_ >= word.size() && std::u16string_view(s_ + pos_, word.size()) == word;
  }

  Value ReadBoolean() {
    SkipIgnorable();
    if (Matches(u"true")) {
      pos_ += 4;
      return Value(true);
    }
    if (Matches(u"false")) {
      pos_ += 5;
      return Value(false);
    }
    PositionLine(u"Invalid Boolean at position ", Rest());
    return Value(false);
  }

  Value ReadNull() {
    SkipIgnorable();
    if (Matches(u"null")) {
      pos_ += 4;
      return Value::Null();
    }
    PositionLine(u"Invalid null value at position ", Rest());
    return Value();
  }

  Key ReadKey() {
    SkipIgnorable();
    std::u16string& key = key_;
    key.clear();
    bool in_double = false;
    bool in_single = false;
    while (pos_ < n_) {
      const char16_t c = s_[pos_];
      switch (c) {
        case u'"':
        case u'\'': {
          bool& quoted = c == u'"' ? in_double : in_single;
          quoted = !quoted;
          ++pos_;
          if (!quoted) {
            SkipIgnorable();
            if (!At(u':')) {
              PositionLine(u"Invalid Key at position ", key);
              return Key(key);
            }
          }
          break;
        }
        case u':':
          ++pos_;
          if (!in_double && !in_single) return Key(key);
          key.push_back(u':');
          break;
        case u'\r':
        case u'\n':
        case u'\t':
        case u' ':
          ++pos_;
          break;
        default: {
          std::size_t end = pos_ + 1;
          while (end < n_ && !IsKeySpecial(s_[end])) ++end;
          key.append(s_ + pos_, end - pos_);
          pos_ = end;
        }
      }
    }
    return Key(key);
  }

  const char16_t* s_;
  std::size_t n_;
  std::size_t pos_ = 0;
  std::u16string& errors_;
  int depth_ = 0;
  bool stopped_ = false;
  std::u16string failure_;   // description of the failure being reported
  StringBuilder& builder_;  // one for all the strings of the text, emptied before each
  std::u16string key_;       // the key being read, its room kept from one key to the next
  // Sizes of the last object and array closed at each depth: siblings tend to be alike, so
  // their room is reserved at once instead of growing step by step.
  std::array<int, kMaxDepth + 1> object_sizes_{};
  std::array<int, kMaxDepth + 1> array_sizes_{};
};

}  // namespace

Value ParseJson(std::u16string_view text) {
  t_errors.clear();
  try {
    Reader reader(text, t_errors, t_builder);
    Value root = reader.ReadRoot();
    t_builder.HeapMinimize();  // a long text read gives its room back
    return root;
  } catch (const platform::Failure& error) {  // a text too large for the string builder
    t_errors += error.Description();
    t_errors += u"\r\n";
  } catch (const std::exception&) {  // out of memory
    t_errors += u"Memoria insuficiente para leer el texto\r\n";
  }
  return Value();
}

const std::u16string& ParseErrorText() { return t_errors; }

}  // namespace quillon::json
