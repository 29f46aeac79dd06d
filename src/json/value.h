#pragma once
// The value tree of a job: Empty, Null, booleans, exact decimals, texts, objects (Dictionary,
// insertion-ordered, exact keys) and arrays (Collection, positions from 1). Containers are shared
// by reference, as the documents pass sub-objects around. Conversions follow the loose rules the
// job senders rely on: Empty reads as "" and as 0; Null converts to nothing and raises.
#include <memory>
#include <string>
#include <cstdint>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "json/decimal.h"
#include "json/key.h"
#include "json/recycling_allocator.h"
#include "platform/failure.h"

namespace quillon::json {

class Dictionary;
class Collection;

class Value {
 public:
  enum class Kind { Empty, Null, Boolean, Number, Text, Dictionary, Collection };

  Value() = default;  // Empty
  static Value Null();
  Value(bool b) : data_(b) {}                                     // NOLINT
  Value(Decimal d) : data_(d) {}                                  // NOLINT
  Value(long long n) : data_(Decimal(n)) {}                       // NOLINT
  Value(int n) : data_(Decimal(n)) {}                             // NOLINT
  Value(std::u16string s) { SetText(std::move(s)); }              // NOLINT
  Value(const char16_t* s) { SetText(std::u16string_view(s)); }   // NOLINT
  Value(std::shared_ptr<Dictionary> d) : data_(std::move(d)) {}   // NOLINT
  Value(std::shared_ptr<Collection> c) : data_(std::move(c)) {}   // NOLINT

  // A text held in one piece or in place.
  static Value FromText(std::u16string_view text);

  Kind kind() const {
    const std::size_t index = data_.index();
    return index == kShortTextIndex ? Kind::Text : static_cast<Kind>(index);
  }
  bool IsEmpty() const { return kind() == Kind::Empty; }
  bool IsNull() const { return kind() == Kind::Null; }
  bool IsBoolean() const { return kind() == Kind::Boolean; }
  bool IsNumber() const { return kind() == Kind::Number; }
  bool IsText() const { return kind() == Kind::Text; }
  bool IsDictionary() const { return kind() == Kind::Dictionary; }
  bool IsCollection() const { return kind() == Kind::Collection; }

  // Text form: Empty "", booleans "True"/"False", numbers with the "," mark (12,5), texts as
  // they are. Null and containers raise (94, 13).
  std::u16string ToText() const;
  // Number: Empty 0, true -1, false 0, texts numeric under the "," mark with "." grouping.
  // Anything else raises 13 (94 for Null).
  Decimal ToDecimal() const;
  // Yes/no: Empty false, numbers non-zero, texts "True"/"False" (any case) or numeric.
  bool ToBool() const;

  // The container itself; raises 424 when the value is not that container.
  Dictionary& AsDictionary() const;
  Collection& AsCollection() const;
  std::shared_ptr<Dictionary> DictionaryPtr() const;
  std::shared_ptr<Collection> CollectionPtr() const;

  // Member of an object (absent keys are added holding Empty); raises 424 on a non-object.
  Value& operator[](std::u16string_view key) const;
  // Element of an array, positions from 1; raises 424 on a non-array, 9 outside 1..Count.
  Value& operator[](int position) const;

  // Loose equality of the job senders' comparisons: Null equals nothing; Empty equals "" and 0;
  // a text equals exactly the same text; numbers compare by value; mixed number and text compare
  // by text form.
  bool LooseEquals(const Value& other) const;
  bool operator==(std::u16string_view text) const { return LooseEquals(Value(std::u16string(text))); }

 private:
  struct NullTag {
    bool operator==(const NullTag&) const = default;
  };
  // Short texts, the bulk of a job's texts, kept in the value itself: no block of their own to
  // allocate and free. Same room as a std::u16string, so the value does not grow.
  struct ShortText {
    static constexpr std::size_t kCapacity = 15;
    char16_t units[kCapacity];
    std::uint8_t length;
    bool operator==(const ShortText& other) const { return View() == other.View(); }
    std::u16string_view View() const { return std::u16string_view(units, length); }
  };
  static_assert(sizeof(ShortText) <= sizeof(std::u16string));
  static constexpr std::size_t kShortTextIndex = 7;  // the alternative after the Kind ones

  void SetText(std::u16string&& text);
  void SetText(std::u16string_view text);
  std::u16string_view TextView() const;

  std::variant<std::monostate, NullTag, bool, Decimal, std::u16string, std::shared_ptr<Dictionary>,
               std::shared_ptr<Collection>, ShortText>
      data_;
};

class Dictionary {
 public:
  // Reading an absent key adds it with Empty, so later enumeration sees it too.
  Value& Item(std::u16string_view key);
  // Looks without adding; nullptr when absent.
  const Value* Find(std::u16string_view key) const;
  bool Exists(std::u16string_view key) const { return Find(key) != nullptr; }
  // Adds a new member; raises 457 when the key is already present (nothing changes).
  void Add(std::u16string key, Value value);
  // Adds a new member and returns true; false when the key is already present, and then neither
  // argument is moved from.
  bool TryAdd(std::u16string&& key, Value&& value);
  bool TryAdd(Key&& key, Value&& value);
  // Adds or replaces.
  void Set(std::u16string_view key, Value value);
  // Room for `count` members without moving the ones already held.
  void Reserve(int count) { entries_.reserve(static_cast<std::size_t>(count)); }
  int Count() const { return static_cast<int>(entries_.size()); }
  std::vector<std::u16string> Keys() const;
  using Entry = std::pair<Key, Value>;
  const std::vector<Entry, RecyclingAllocator<Entry>>& Entries() const { return entries_; }

 private:
  static constexpr std::size_t kUnindexed = 8;  // up to this many keys a scan beats hashing
  std::size_t FindIndex(std::u16string_view key) const;  // entries_.size() when absent
  void Index(std::size_t entry);
  void Rehash(std::size_t slot_count);

  std::vector<Entry, RecyclingAllocator<Entry>> entries_;
  // Open addressing over entry numbers plus one (0 marks a free slot); built past kUnindexed.
  std::vector<std::uint32_t, RecyclingAllocator<std::uint32_t>> slots_;
};

class Collection {
 public:
  // Positions from 1; raises 9 outside 1..Count.
  Value& Item(int position);
  const Value& Item(int position) const;
  void Add(Value value) { items_.push_back(std::move(value)); }
  // Room for `count` elements without moving the ones already held.
  void Reserve(int count) { items_.reserve(static_cast<std::size_t>(count)); }
  int Count() const { return static_cast<int>(items_.size()); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<Value, RecyclingAllocator<Value>> items_;
};

std::shared_ptr<Dictionary> MakeDictionary();
std::shared_ptr<Collection> MakeCollection();

}  // namespace quillon::json
