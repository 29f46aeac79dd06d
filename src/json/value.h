#pragma once
// The value tree of a job: Empty, Null, booleans, exact decimals, texts, objects (Dictionary,
// insertion-ordered, exact keys) and arrays (Collection, positions from 1). A parsed tree lives
// in one arena; a value that refers to one of its containers keeps the whole tree alive, as the
// documents pass sub-objects around. Reads hand out references that stay valid while the tree
// lives: members never move, also when a read adds one. Conversions follow the loose rules the
// job senders rely on: Empty reads as "" and as 0; Null converts to nothing and raises.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "json/arena.h"
#include "json/decimal.h"
#include "json/key.h"
#include "json/stable_list.h"
#include "platform/failure.h"

namespace quillon::json {

class Dictionary;
class Collection;
class TreeBuilder;

class Value {
 public:
  enum class Kind : std::uint8_t {
    kEmpty,
    kNull,
    kBoolean,
    kNumber,
    kText,
    kDictionary,
    kCollection
  };

  Value() = default;  // Empty
  static Value Null();
  // Implicit, so that code and tests write a value as its literal.
  Value(bool b);
  Value(Decimal d);
  Value(long long n) : Value(Decimal(n)) {}
  Value(int n) : Value(Decimal(n)) {}
  Value(const std::u16string& s) : Value(std::u16string_view(s)) {}
  Value(const char16_t* s) : Value(std::u16string_view(s)) {}
  explicit Value(std::u16string_view text);

  Value(const Value& other) { CopyFrom(other); }
  Value(Value&& other) noexcept { TakeFrom(other); }
  Value& operator=(const Value& other);
  Value& operator=(Value&& other) noexcept;
  ~Value() {
    if ((Tag() & kOwned) != 0) ReleaseOwned();
  }

  Kind kind() const { return static_cast<Kind>(Tag() & kKindMask); }
  bool IsEmpty() const { return kind() == Kind::kEmpty; }
  bool IsNull() const { return kind() == Kind::kNull; }
  bool IsBoolean() const { return kind() == Kind::kBoolean; }
  bool IsNumber() const { return kind() == Kind::kNumber; }
  bool IsText() const { return kind() == Kind::kText; }
  bool IsDictionary() const { return kind() == Kind::kDictionary; }
  bool IsCollection() const { return kind() == Kind::kCollection; }

  // Text form: Empty "", booleans "True"/"False", numbers with the "," mark (12,5), texts as
  // they are. Null and containers raise (94, 13).
  std::u16string ToText() const;
  // Number: Empty 0, true -1, false 0, texts numeric under the "," mark with "." grouping.
  // Anything else raises 13 (94 for Null).
  Decimal ToDecimal() const;
  // Yes/no: Empty false, numbers non-zero, texts "True"/"False" (any case) or numeric.
  bool ToBool() const;

  // The container itself; raises 424 when the value is not that container.
  const Dictionary& AsDictionary() const;
  const Collection& AsCollection() const;
  Dictionary& AsDictionary();
  Collection& AsCollection();

  // Member of an object (an absent key reads as Empty and is not added); raises 424 on a
  // non-object.
  const Value& operator[](std::u16string_view key) const;
  // Element of an array, positions from 1; raises 424 on a non-array, 9 outside 1..Count.
  const Value& operator[](int position) const;

  // Loose equality of the job senders' comparisons: Null equals nothing; Empty equals "" and 0;
  // a text equals exactly the same text; numbers compare by value; mixed number and text compare
  // by text form; containers are equal only to themselves.
  bool LooseEquals(const Value& other) const;
  bool operator==(std::u16string_view text) const { return LooseEquals(Value(text)); }

 private:
  friend class TreeBuilder;
  friend class Dictionary;
  friend class Collection;

  static constexpr std::uint8_t kKindMask = 0x07;
  static constexpr std::uint8_t kInline = 0x08;  // a text held in the value itself
  static constexpr std::uint8_t kOwned = 0x10;   // a text block or a hold on a tree to let go
  static constexpr std::size_t kInlineUnits = 7;

  // The value's 16 bytes are two words. The first holds a pointer (text, container), a number's
  // low 64 bits, a boolean, or the first inline text units; the second a text's size, or a
  // number's high 32 bits with its scale (bits 32-39) and sign (bit 40), or the last inline text
  // units, and always, in its top 16 bits, the tag (Kind | kInline | kOwned) above the size of an
  // inline text. A value is written and copied as whole words, so that one just built is read
  // back without waiting for its parts.
  static std::uint64_t Meta(std::uint8_t tag, std::size_t inline_size) {
    return (std::uint64_t{tag} << 56) | (std::uint64_t{inline_size} << 48);
  }
  static constexpr std::uint64_t kMetaMask = 0xFFFF000000000000ULL;
  explicit Value(Kind kind) { SetWords(0, Meta(static_cast<std::uint8_t>(kind), 0)); }

  void SetWords(std::uint64_t first, std::uint64_t second) {
    const std::uint64_t words[2] = {first, second};
    std::memcpy(units_, words, sizeof units_);
  }
  std::uint64_t Word(int index) const {
    std::uint64_t word;
    std::memcpy(&word, units_ + 4 * index, sizeof word);
    return word;
  }
  std::uint8_t Tag() const { return static_cast<std::uint8_t>(units_[7] >> 8); }
  void SetTag(std::uint8_t tag) {
    units_[7] = static_cast<char16_t>((units_[7] & 0xFF) | (tag << 8));
  }
  template <class T>
  T* LoadPointer() const {
    static_assert(sizeof(T*) == sizeof(void*));
    T* pointer;
    std::memcpy(&pointer, units_, sizeof(void*));
    return pointer;
  }
  // A pointer and a size with the tag.
  void SetPointer(const void* pointer, std::uint32_t size, std::uint8_t tag) {
    SetWords(reinterpret_cast<std::uintptr_t>(pointer), size | Meta(tag, 0));
  }
  void SetNumber(std::uint64_t low, std::uint32_t high, bool negative, int scale);

  std::u16string_view TextView() const {
    if ((Tag() & kInline) != 0) return std::u16string_view(units_, units_[7] & 0xFF);
    return std::u16string_view(LoadPointer<const char16_t>(), static_cast<std::uint32_t>(Word(1)));
  }
  Arena* TreeArena() const;
  // Stored in `arena`'s tree: texts copied into the arena, containers of that tree no longer
  // held, containers of another tree kept alive by the arena.
  void MoveIntoArena(Arena* arena);

  void CopyFrom(const Value& other);
  void TakeFrom(Value& other) noexcept {
    std::memcpy(units_, other.units_, sizeof units_);
    other.units_[7] = 0;  // Empty
  }
  void ReleaseOwned() noexcept;

  alignas(8) char16_t units_[kInlineUnits + 1] = {};
};
static_assert(sizeof(Value) == 16);
static_assert(std::endian::native == std::endian::little);

class Dictionary {
 public:
  struct Entry {
    Entry(Key key, Value&& value) : first(key), second(std::move(value)) {}
    Key first;
    Value second;
  };

  // An object of its own, outside any parsed tree.
  Dictionary() = default;
  Dictionary(const Dictionary& other);
  Dictionary& operator=(const Dictionary& other);
  ~Dictionary();

  // Reading an absent key adds it with Empty, so later enumeration sees it too. The other
  // members do not move.
  const Value& Item(std::u16string_view key);
  // Looks without adding; nullptr when absent.
  const Value* Find(std::u16string_view key) const;
  bool Exists(std::u16string_view key) const { return Find(key) != nullptr; }
  // Adds a new member; raises 457 when the key is already present (nothing changes).
  void Add(std::u16string key, Value value);
  // Adds a new member and returns true; false when the key is already present, and then neither
  // argument is moved from.
  bool TryAdd(std::u16string&& key, Value&& value);
  // Adds or replaces.
  void Set(std::u16string_view key, Value value);
  int Count() const { return static_cast<int>(entries_.size()); }
  std::vector<std::u16string> Keys() const;
  const StableList<Entry>& Entries() const { return entries_; }

 private:
  friend class TreeBuilder;
  friend class Value;
  static constexpr std::size_t kUnindexed = 8;  // up to this many keys a scan beats hashing

  Dictionary(Arena* arena, Entry* entries, std::uint32_t count)
      : arena_(arena), entries_(entries, count) {}
  Entry* FindEntry(std::u16string_view key) const;
  Entry& AddEntry(std::u16string_view key, Value&& value);
  void BuildIndex(std::size_t slot_count) const;
  void Index(Entry* entry) const;
  struct Slot {
    Entry* entry;
  };
  void Clear() noexcept;

  Arena* arena_ = nullptr;  // the tree's; nullptr for an object of its own
  StableList<Entry> entries_;
  // Open addressing over the entries, built once the object has more than kUnindexed keys and
  // is searched.
  mutable Slot* slots_ = nullptr;
  mutable std::uint32_t slot_count_ = 0;
};

class Collection {
 public:
  Collection(const Collection&) = delete;
  Collection& operator=(const Collection&) = delete;

  // Positions from 1; raises 9 outside 1..Count.
  const Value& Item(int position) const;
  // A new last element; the others do not move.
  void Add(Value value);
  int Count() const { return static_cast<int>(items_.size()); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  friend class TreeBuilder;
  friend class Value;
  Collection(Arena* arena, Value* items, std::uint32_t count)
      : arena_(arena), items_(items, count) {}

  Arena* arena_;
  StableList<Value> items_;
};

// A new empty object or array in a tree of its own, for trees made in code.
Value NewObject();
Value NewArray();
// The value with a copy of its containers in a tree of their own: holding the copy does not
// keep the rest of the tree it came from.
Value CopyTree(const Value& value);

}  // namespace quillon::json
