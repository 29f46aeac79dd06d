#include "json/parser.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "json/arena.h"
#include "json/encoded_text.h"
#include "json/number_text.h"
#include "json/tree_builder.h"
#include "platform/failure.h"

namespace quillon::json {
namespace {

// Containers nested deeper than this are not read: the recursion must not exhaust the stack.
constexpr int kMaxDepth = 512;
// Longest text or key: beyond it a text no longer fits the 32-bit sizes of the string builder
// whose limit the error line reports.
constexpr std::size_t kLongestText = (std::size_t{1} << 30) - 8192;
// Up to this many members an object being read is searched for a repeated key one by one.
constexpr std::size_t kUnindexed = 8;
// The parser's lists are kept from one job to the next up to this many bytes each.
constexpr std::size_t kKeptScratchBytes = 1u << 20;

// What the grammar makes of each byte; every character it looks at is ASCII.
enum CharClass : std::uint8_t {
  kIgnorable = 1,   // TAB, LF, CR, space, "(", ")", "*", "/": what SkipIgnorable acts upon
  kBlank = 2,       // TAB, LF, CR, space
  kKeySpecial = 4,  // what ends a run of plain key characters: quotes, ":" and the blanks
  kNumberChar = 8,  // "+-0123456789.eE"
};

constexpr std::array<std::uint8_t, 256> MakeClasses() {
  std::array<std::uint8_t, 256> classes{};
  for (const unsigned char c : {'\t', '\n', '\r', ' '}) {
    classes[c] |= kIgnorable | kBlank | kKeySpecial;
  }
  for (const unsigned char c : {'(', ')', '*', '/'}) classes[c] |= kIgnorable;
  for (const unsigned char c : {'"', '\'', ':'}) classes[c] |= kKeySpecial;
  for (const unsigned char c : {'+', '-', '.', 'e', 'E'}) classes[c] |= kNumberChar;
  for (unsigned char c = '0'; c <= '9'; ++c) classes[c] |= kNumberChar;
  return classes;
}
constexpr std::array<std::uint8_t, 256> kClasses = MakeClasses();

inline bool Is(unsigned char c, CharClass what) { return (kClasses[c] & what) != 0; }
inline bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

int HexDigit(unsigned char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The lists a parse builds its containers in, kept by the thread for the next parse.
struct Scratch {
  std::vector<Dictionary::Entry> members;  // members of the open objects, innermost last
  std::vector<Value> elements;             // elements of the open arrays, innermost last
  std::vector<std::uint32_t> key_slots;    // lookup tables of the large open objects
  std::u16string text;                     // a text or key read piece by piece

  void Reset() {
    members.clear();
    elements.clear();
    key_slots.clear();
  }
  void Trim() {
    if (members.capacity() * sizeof(Dictionary::Entry) > kKeptScratchBytes) {
      members = std::vector<Dictionary::Entry>();
    }
    if (elements.capacity() * sizeof(Value) > kKeptScratchBytes) elements = std::vector<Value>();
    if (key_slots.capacity() * sizeof(std::uint32_t) > kKeptScratchBytes) {
      key_slots = std::vector<std::uint32_t>();
    }
    if (text.capacity() * sizeof(char16_t) > kKeptScratchBytes) text = std::u16string();
  }
};

thread_local Scratch t_scratch;

class Reader {
 public:
  Reader(const EncodedText& text, Arena& arena, std::u16string& errors, Scratch& scratch)
      : text_(text),
        s_(text.Bytes()),
        n_(text.Size()),
        arena_(arena),
        errors_(errors),
        scratch_(scratch) {}

  Value ReadRoot() {
    SkipIgnorable();
    if (At('{')) return ReadObject();
    if (At('[')) return ReadArray();
    errors_ = u"Invalid JSON";
    return Value();
  }

 private:
  enum class Outcome { kRead, kFailed, kStopped };

  // The lookup table of an object being read, once it has more than a few members.
  struct KeyTable {
    std::size_t offset = 0;  // in scratch_.key_slots
    std::size_t slots = 0;   // 0 while the object has none
    // Until then, a bit for each key read (KeyBit): a key whose bit is not set yet is new
    // without comparing it with the others.
    std::uint64_t seen = 0;
  };

  // One of 64 bits for a key, from its size and first unit.
  static std::uint64_t KeyBit(const Key& key) {
    const std::u16string_view units = key.View();
    const std::size_t mix = units.size() * 5 + (units.empty() ? 0 : units.front());
    return std::uint64_t{1} << (mix & 63);
  }

  bool At(unsigned char c) const { return pos_ < n_ && s_[pos_] == c; }

  void AppendPosition() {
    const std::string digits = std::to_string(text_.UnitsBefore(pos_) + 1);
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
  void MissingLine(std::u16string_view what) {
    if (last_twenty_.empty()) last_twenty_ = text_.LastUnits(20);
    errors_ += what;
    errors_ += last_twenty_;
    EndLine();
  }
  void FailureLine(std::u16string_view context) {
    errors_ += failure_;
    errors_ += u": ";
    errors_ += context;
    EndLine();
  }

  void SkipIgnorable() {
    if (pos_ >= n_ || !Is(s_[pos_], kIgnorable)) return;
    // The one blank after a separator.
    if (s_[pos_] == ' ' && (++pos_ >= n_ || !Is(s_[pos_], kIgnorable))) return;
    // Runs of blanks, the bulk of an indented text, before any comment character.
    while (pos_ + 8 <= n_) {
      std::uint64_t eight;
      std::memcpy(&eight, s_ + pos_, sizeof eight);
      if (eight != 0x2020202020202020ULL) break;
      pos_ += 8;
    }
    while (pos_ < n_ && Is(s_[pos_], kBlank)) ++pos_;
    if (pos_ >= n_ || !Is(s_[pos_], kIgnorable)) return;
    bool seen = false;  // a "/" or "*" that may open or close a comment
    bool in_comment = false;
    bool in_block = false;
    for (; pos_ < n_; ++pos_) {
      switch (s_[pos_]) {
        case '\r':
        case '\n':
          if (!in_block) seen = in_comment = false;
          break;
        case '\t':
        case ' ':
        case '(':
        case ')':
          break;
        case '/':
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
        case '*':
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
    return ReadValueHere(outcome);
  }
  // The same where nothing ignorable is left before the value. The readers below start there.
  Value ReadValueHere(Outcome& outcome) {
    if (pos_ >= n_) return ReadNumber(outcome);
    switch (s_[pos_]) {
      case '{':
        if (depth_ >= kMaxDepth) {
          outcome = TooDeep();
          return Value();
        }
        return ReadObject();
      case '[':
        if (depth_ >= kMaxDepth) {
          outcome = TooDeep();
          return Value();
        }
        return ReadArray();
      case '"':
      case '\'':
        return ReadString();
      case 't':
      case 'f':
        return ReadBoolean();
      case 'n':
        return ReadNull();
      default:
        return ReadNumber(outcome);
    }
  }

  // Called at "{".
  Value ReadObject() {
    ++pos_;
    ++depth_;
    std::vector<Dictionary::Entry>& members = scratch_.members;
    const std::size_t base = members.size();
    KeyTable table;
    for (;;) {
      SkipIgnorable();
      if (At('}')) {
        ++pos_;
        break;
      }
      if (At(',')) {
        ++pos_;
        SkipIgnorable();
      } else if (pos_ >= n_) {
        MissingLine(u"Missing '}': ");
        break;
      }
      const Key key = ReadKey();
      Outcome outcome = Outcome::kRead;
      Value value = ReadValue(outcome);
      if (outcome == Outcome::kStopped) break;
      if (outcome == Outcome::kFailed) {
        FailureLine(key);
        break;
      }
      if (!AddMember(base, table, key, std::move(value))) {
        failure_ = platform::Failure::DuplicateKey().Description();
        FailureLine(key);
        break;
      }
      if (stopped_) break;
    }
    if (table.slots != 0) scratch_.key_slots.resize(table.offset);
    --depth_;
    Value object = TreeBuilder::Object(arena_, members.data() + base,
                                       static_cast<std::uint32_t>(members.size() - base));
    members.erase(members.begin() + static_cast<std::ptrdiff_t>(base), members.end());
    return object;
  }

  // Adds the member unless the object read from `base` holds its key already. Past a few
  // members the keys are looked up in a table, so that a large object costs linear time.
  bool AddMember(std::size_t base, KeyTable& table, Key key, Value&& value) {
    std::vector<Dictionary::Entry>& members = scratch_.members;
    const std::size_t count = members.size() - base;
    if (table.slots == 0) {
      const std::uint64_t bit = KeyBit(key);
      if ((table.seen & bit) != 0) {
        for (std::size_t i = base; i < members.size(); ++i) {
          if (members[i].first == key) return false;
        }
      }
      table.seen |= bit;
    } else {
      std::uint32_t* slots = scratch_.key_slots.data() + table.offset;
      const std::size_t mask = table.slots - 1;
      for (std::size_t slot = HashKey(key) & mask; slots[slot] != 0; slot = (slot + 1) & mask) {
        if (members[base + slots[slot] - 1].first == key) return false;
      }
    }
    members.push_back({key, std::move(value)});
    if (count + 1 > kUnindexed && (count + 1) * 2 > table.slots) {
      IndexKeys(base, table, table.slots == 0 ? 64 : table.slots * 2);
    } else if (table.slots != 0) {
      IndexKey(base, table, count);
    }
    return true;
  }

  // The table of the object being read is the last one in key_slots: objects opened inside it
  // have dropped theirs when they ended.
  void IndexKeys(std::size_t base, KeyTable& table, std::size_t slots) {
    if (table.slots == 0) table.offset = scratch_.key_slots.size();
    table.slots = slots;
    scratch_.key_slots.resize(table.offset);
    scratch_.key_slots.resize(table.offset + slots, 0);
    for (std::size_t i = 0; i < scratch_.members.size() - base; ++i) IndexKey(base, table, i);
  }
  void IndexKey(std::size_t base, const KeyTable& table, std::size_t member) {
    std::uint32_t* slots = scratch_.key_slots.data() + table.offset;
    const std::size_t mask = table.slots - 1;
    std::size_t slot = HashKey(scratch_.members[base + member].first) & mask;
    while (slots[slot] != 0) slot = (slot + 1) & mask;
    slots[slot] = static_cast<std::uint32_t>(member + 1);
  }

  // Called at "[".
  Value ReadArray() {
    ++pos_;
    ++depth_;
    std::vector<Value>& elements = scratch_.elements;
    const std::size_t base = elements.size();
    for (;;) {
      SkipIgnorable();
      if (At(']')) {
        ++pos_;
        break;
      }
      if (At(',')) {
        ++pos_;
        SkipIgnorable();
      } else if (pos_ >= n_) {
        MissingLine(u"Missing ']': ");
        break;
      }
      const std::size_t start = pos_;
      Outcome outcome = Outcome::kRead;
      Value value = ReadValueHere(outcome);
      if (outcome == Outcome::kStopped) break;
      if (outcome == Outcome::kFailed) {
        FailureLine(text_.UnitsFrom(pos_, 20));
        break;
      }
      elements.push_back(std::move(value));
      if (stopped_) break;
      // A misspelt true, false or null leaves the position where it was; reading it again would
      // repeat its error line forever.
      if (pos_ == start && pos_ < n_) break;
    }
    --depth_;
    Value array = TreeBuilder::Array(arena_, elements.data() + base,
                                     static_cast<std::uint32_t>(elements.size() - base));
    elements.erase(elements.begin() + static_cast<std::ptrdiff_t>(base), elements.end());
    return array;
  }

  // The first quote or backslash from `from`, or the end of the text.
  std::size_t FindQuoteOrBackslash(std::size_t from, unsigned char quote) const {
#if defined(__SSE2__)
    const __m128i quotes = _mm_set1_epi8(static_cast<char>(quote));
    const __m128i backslashes = _mm_set1_epi8('\\');
    for (; from + 16 <= n_; from += 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s_ + from));
      const int found = _mm_movemask_epi8(
          _mm_or_si128(_mm_cmpeq_epi8(block, quotes), _mm_cmpeq_epi8(block, backslashes)));
      if (found != 0) return from + static_cast<std::size_t>(__builtin_ctz(found));
    }
#endif
    while (from < n_ && s_[from] != quote && s_[from] != '\\') ++from;
    return from;
  }

  // Units in the arena for a text of at most `bytes` bytes (every byte gives at most one unit).
  char16_t* Room(std::size_t bytes) {
    return arena_.AllocateArray<char16_t>(bytes + EncodedText::kDecodeSlack);
  }
  // The text decoded into `room` (of Room(bytes)), `size` units of it used.
  Value TextIn(char16_t* room, std::size_t bytes, std::size_t size) {
    if (size > kLongestText) throw platform::Failure::Overflow();
    const std::size_t room_bytes = (bytes + EncodedText::kDecodeSlack) * sizeof(char16_t);
    Value text = TreeBuilder::Text(room, static_cast<std::uint32_t>(size));
    arena_.Shrink(room, room_bytes, TreeBuilder::InArena(size) ? size * sizeof(char16_t) : 0);
    return text;
  }

  Value ReadString() {
    const unsigned char quote = s_[pos_++];
    const std::size_t end = FindQuoteOrBackslash(pos_, quote);
    if (end < n_ && s_[end] == quote) return ReadUnescaped(end);  // the usual text
    return ReadEscaped(quote);
  }

  // The text from pos_ to its closing quote at `end`, with no escape inside.
  Value ReadUnescaped(std::size_t end) {
    if (!TreeBuilder::InArena(end - pos_)) {
      char16_t units[Key::kInlineUnits + EncodedText::kDecodeSlack];
      const std::size_t size = text_.Decode(pos_, end, units);
      pos_ = end + 1;
      return TreeBuilder::Text(units, static_cast<std::uint32_t>(size));
    }
    char16_t* room = Room(end - pos_);
    const std::size_t size = text_.Decode(pos_, end, room);
    Value text = TextIn(room, end - pos_, size);
    pos_ = end + 1;
    return text;
  }

  // The text from pos_ to its closing quote (or the end of the text), escapes read.
  Value ReadEscaped(unsigned char quote) {
    std::u16string& out = scratch_.text;
    out.clear();
    while (pos_ < n_) {
      const std::size_t stop = FindQuoteOrBackslash(pos_, quote);
      if (stop != pos_) {
        text_.AppendDecoded(pos_, stop, out);
        pos_ = stop;
      }
      if (pos_ >= n_) break;
      if (s_[pos_] == quote) {
        ++pos_;
        break;
      }
      ++pos_;  // the backslash
      if (pos_ >= n_) break;
      ReadEscape(out);
    }
    return InArena(out);
  }

  // The escape whose letter is at pos_, added to `out`. A letter that starts no escape is left
  // to be read as an ordinary character.
  void ReadEscape(std::u16string& out) {
    if (s_[pos_] == 'u') {
      ReadUnicodeEscape(out);
    } else if (const char16_t unit = EscapedUnit(s_[pos_]); unit != 0) {
      out.push_back(unit);
      ++pos_;
    } else {
      return;
    }
    if (out.size() > kLongestText) throw platform::Failure::Overflow();
  }

  // What a one-letter escape stands for; 0 when the letter starts none.
  static char16_t EscapedUnit(unsigned char letter) {
    switch (letter) {
      case '"':
      case '\\':
      case '/':
      case '\'':
        return letter;
      case 'b':
        return 8;
      case 'f':
        return 12;
      case 'n':
        return 10;
      case 'r':
        return 13;
      case 't':
        return 9;
      default:
        return 0;
    }
  }

  // "u" and up to four hex digits at pos_.
  void ReadUnicodeEscape(std::u16string& out) {
    unsigned code = 0;
    for (std::size_t i = pos_ + 1; i < n_ && i < pos_ + 5 && HexDigit(s_[i]) >= 0; ++i) {
      code = code * 16 + static_cast<unsigned>(HexDigit(s_[i]));
    }
    out.push_back(static_cast<char16_t>(code % 65536));
    // The four characters after the "u" are passed whatever they were; when the fourth is the
    // first half of a pair, the second half is the next character read.
    char16_t second_half;
    pos_ = text_.SkipUnits(pos_ + 1, 4, &second_half);
    if (second_half != 0) out.push_back(second_half);
  }

  Value InArena(std::u16string_view text) {
    char16_t* room = Room(text.size());
    std::copy(text.begin(), text.end(), room);
    return TextIn(room, text.size(), text.size());
  }

  // The common number shape (optional "-", 1 to 17 digits, optional "." and digits, of which
  // two are kept) read in place; the result is what the general conversion gives for it.
  // Anything else, or a number that runs into the end of the text, is left to that conversion.
  std::optional<Value> ReadPlainNumber() {
    std::size_t i = pos_;
    const bool negative = i < n_ && s_[i] == '-';
    if (negative) ++i;
    const std::size_t first_digit = i;
    std::uint64_t mantissa = 0;
    for (; i < n_ && IsDigit(s_[i]); ++i) mantissa = mantissa * 10 + (s_[i] - '0');
    const std::size_t digits = i - first_digit;
    if (digits == 0 || digits > 17) return std::nullopt;
    int scale = 0;
    if (i < n_ && s_[i] == '.') {
      for (++i; i < n_ && IsDigit(s_[i]); ++i) {
        if (scale < 2) {
          mantissa = mantissa * 10 + (s_[i] - '0');
          ++scale;
        }
      }
    }
    if (i >= n_ || Is(s_[i], kNumberChar)) return std::nullopt;
    pos_ = i;
    return TreeBuilder::Number(mantissa, negative, scale);
  }

  Value ReadNumber(Outcome& outcome) {
    if (std::optional<Value> plain = ReadPlainNumber()) return std::move(*plain);
    const std::size_t start = pos_;
    while (pos_ < n_ && Is(s_[pos_], kNumberChar)) ++pos_;
    if (pos_ >= n_) return Value();  // the number ran into the end of the text
    const std::u16string collected(s_ + start, s_ + pos_);
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

  bool Matches(std::string_view word) const {
    return n_ - pos_ >= word.size() && std::memcmp(s_ + pos_, word.data(), word.size()) == 0;
  }

  Value ReadBoolean() {
    if (Matches("true")) {
      pos_ += 4;
      return Value(true);
    }
    if (Matches("false")) {
      pos_ += 5;
      return Value(false);
    }
    PositionLine(u"Invalid Boolean at position ", text_.Rest(pos_));
    return Value(false);
  }

  Value ReadNull() {
    if (Matches("null")) {
      pos_ += 4;
      return Value::Null();
    }
    PositionLine(u"Invalid null value at position ", text_.Rest(pos_));
    return Value();
  }

  // A key of the units; a long one is kept in the arena.
  Key KeyIn(std::u16string_view units) {
    if (units.size() > kLongestText) throw platform::Failure::Overflow();
    const auto size = static_cast<std::uint32_t>(units.size());
    if (size <= Key::kInlineUnits) {
      char16_t short_key[Key::kInlineUnits + 1] = {};
      units.copy(short_key, Key::kInlineUnits);
      return Key(short_key, size);
    }
    char16_t* room = arena_.AllocateArray<char16_t>(size);
    std::copy(units.begin(), units.end(), room);
    return Key(room, size);
  }

  // The key of bytes [from, to), which hold no character that a key drops.
  Key DecodedKey(std::size_t from, std::size_t to) {
    if (to - from <= Key::kInlineUnits) {
      char16_t units[Key::kInlineUnits + EncodedText::kDecodeSlack];
      return Key(units, static_cast<std::uint32_t>(text_.Decode(from, to, units)));
    }
    char16_t* room = Room(to - from);
    const std::size_t size = text_.Decode(from, to, room);
    if (size > kLongestText) throw platform::Failure::Overflow();
    const Key key(room, static_cast<std::uint32_t>(size));
    arena_.Shrink(room, (to - from + EncodedText::kDecodeSlack) * sizeof(char16_t),
                  key.Outside() != nullptr ? size * sizeof(char16_t) : 0);
    return key;
  }

  // The first character from `from` that ends a run of plain key characters, or the end.
  std::size_t FindKeySpecial(std::size_t from) const {
#if defined(__SSE2__)
    const __m128i double_quotes = _mm_set1_epi8('"');
    const __m128i single_quotes = _mm_set1_epi8('\'');
    const __m128i colons = _mm_set1_epi8(':');
    const __m128i spaces = _mm_set1_epi8(' ');
    for (; from + 16 <= n_; from += 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s_ + from));
      // Quotes, colons and every byte up to the space: the blanks are among these.
      const __m128i found = _mm_or_si128(
          _mm_or_si128(_mm_cmpeq_epi8(block, double_quotes), _mm_cmpeq_epi8(block, single_quotes)),
          _mm_or_si128(_mm_cmpeq_epi8(block, colons),
                       _mm_cmpeq_epi8(_mm_max_epu8(block, spaces), spaces)));
      for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(found)); mask != 0;
           mask &= mask - 1) {
        const std::size_t at = from + static_cast<std::size_t>(__builtin_ctz(mask));
        if (Is(s_[at], kKeySpecial)) return at;
      }
    }
#endif
    while (from < n_ && !Is(s_[from], kKeySpecial)) ++from;
    return from;
  }

  Key ReadKey() {
    // The usual key: quoted, with nothing to drop inside, followed by its colon.
    if (At('"') || At('\'')) {
      const std::size_t end = FindKeySpecial(pos_ + 1);
      if (end < n_ && s_[end] == s_[pos_]) {
        const Key key = DecodedKey(pos_ + 1, end);
        pos_ = end + 1;
        SkipIgnorable();
        if (At(':')) {
          ++pos_;
        } else {
          PositionLine(u"Invalid Key at position ", key);
        }
        return key;
      }
    }
    return ReadLooseKey();
  }

  // Any other key: quotes open and close quoted parts and are dropped, blanks are dropped, and
  // a colon outside the quoted parts ends it.
  Key ReadLooseKey() {
    std::u16string& key = scratch_.text;
    key.clear();
    bool in_double = false;
    bool in_single = false;
    while (pos_ < n_) {
      const unsigned char c = s_[pos_];
      switch (c) {
        case '"':
        case '\'': {
          bool& quoted = c == '"' ? in_double : in_single;
          quoted = !quoted;
          ++pos_;
          if (!quoted && !ColonFollows(key)) return KeyIn(key);
          break;
        }
        case ':':
          ++pos_;
          if (!in_double && !in_single) return KeyIn(key);
          key.push_back(u':');
          break;
        case '\r':
        case '\n':
        case '\t':
        case ' ':
          ++pos_;
          break;
        default: {
          const std::size_t end = FindKeySpecial(pos_ + 1);
          text_.AppendDecoded(pos_, end, key);
          pos_ = end;
        }
      }
    }
    return KeyIn(key);
  }

  // After a quoted part of a key: whether its colon follows (past the ignorable characters);
  // when not, the key is reported as invalid.
  bool ColonFollows(std::u16string_view key) {
    SkipIgnorable();
    if (At(':')) return true;
    PositionLine(u"Invalid Key at position ", key);
    return false;
  }

  const EncodedText& text_;
  const unsigned char* s_;
  std::size_t n_;
  std::size_t pos_ = 0;
  Arena& arena_;
  std::u16string& errors_;
  Scratch& scratch_;
  int depth_ = 0;
  bool stopped_ = false;
  std::u16string failure_;      // description of the failure being reported
  std::u16string last_twenty_;  // the end of the text, for the missing-bracket lines
};

ParseResult Parse(const EncodedText& text) {
  ParseResult result;
  Scratch& scratch = t_scratch;
  scratch.Reset();
  Arena* arena = Arena::Create(text.Size() * 3 + 256);
  try {
    Reader reader(text, *arena, result.errors, scratch);
    result.root = TreeBuilder::Root(reader.ReadRoot());
  } catch (const platform::Failure& error) {  // a text too long for the sizes of a text
    result.errors += error.Description();
    result.errors += u"\r\n";
  } catch (const std::exception&) {  // out of memory
    result.errors += u"Memoria insuficiente para leer el texto\r\n";
  }
  if (!result.root.IsDictionary() && !result.root.IsCollection()) arena->Release();
  scratch.Reset();
  scratch.Trim();
  return result;
}

}  // namespace

ParseResult ParseJson(std::string_view bytes, TextEncoding encoding) {
  return Parse(EncodedText(bytes, encoding == TextEncoding::kUtf8
                                      ? EncodedText::Encoding::kUtf8
                                      : EncodedText::Encoding::kWindows1252));
}

ParseResult ParseJson(std::u16string_view text) {
  const std::string units = EncodedText::EncodeUnits(text);
  return Parse(EncodedText(units, EncodedText::Encoding::kUnits));
}

}  // namespace quillon::json
