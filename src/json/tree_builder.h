#pragma once
// The parser's way of building a tree in its arena: values that refer to the arena's texts and
// containers without holding it, and containers made from the members read, moved once into
// blocks of their exact size.
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "json/value.h"

namespace quillon::json {

class TreeBuilder {
 public:
  // Whether a text of `size` units is kept in the arena; shorter ones are kept in the value.
  static bool InArena(std::size_t size) { return size > Value::kInlineUnits; }

  // A text of `size` units at `units`, where kInlineUnits + 1 units can be read whatever the
  // size; unless InArena(size), the units may be given back afterwards.
  static Value Text(const char16_t* units, std::uint32_t size) {
    Value value;
    if (InArena(size)) {
      value.SetPointer(units, size, static_cast<std::uint8_t>(Value::Kind::kText));
      return value;
    }
    std::uint64_t words[2];
    std::memcpy(words, units, sizeof words);
    value.SetWords(
        words[0],
        (words[1] & ~Value::kMetaMask) |
            Value::Meta(static_cast<std::uint8_t>(Value::Kind::kText) | Value::kInline, size));
    return value;
  }

  // magnitude / 10^scale, negated when `negative`.
  static Value Number(std::uint64_t magnitude, bool negative, int scale) {
    Value value;
    value.SetNumber(magnitude, 0, negative, scale);
    return value;
  }

  static Value Object(Arena& arena, Dictionary::Entry* members, std::uint32_t count) {
    auto* moved = arena.AllocateArray<Dictionary::Entry>(count);
    for (std::uint32_t i = 0; i < count; ++i) {
      new (moved + i) Dictionary::Entry{members[i].first, std::move(members[i].second)};
    }
    auto* object = new (arena.Allocate(sizeof(Dictionary))) Dictionary(&arena, moved, count);
    return Container(Value::Kind::kDictionary, object);
  }

  static Value Array(Arena& arena, Value* elements, std::uint32_t count) {
    auto* moved = arena.AllocateArray<Value>(count);
    for (std::uint32_t i = 0; i < count; ++i) new (moved + i) Value(std::move(elements[i]));
    auto* array = new (arena.Allocate(sizeof(Collection))) Collection(&arena, moved, count);
    return Container(Value::Kind::kCollection, array);
  }

  // `value` copied into the arena, its containers and long texts with it.
  static Value CopyInto(Arena& arena, const Value& value);

  // The root handed to the caller takes over the arena's first hold.
  static Value Root(Value&& value) {
    if (value.IsDictionary() || value.IsCollection()) value.SetTag(value.Tag() | Value::kOwned);
    return std::move(value);
  }

 private:
  static Value Container(Value::Kind kind, const void* container) {
    Value value;
    value.SetPointer(container, 0, static_cast<std::uint8_t>(kind));
    return value;
  }
};

}  // namespace quillon::json
