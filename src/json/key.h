#pragma once
// The key of an object member. Most keys of a job are short and are held in the key itself;
// a longer one is a view of units that its object keeps (in the tree's arena, or on the heap
// for an object of its own).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quillon::json {

class Key {
 public:
  static constexpr std::size_t kInlineUnits = 7;

  Key() = default;
  // A key of `size` units at `units`, where kInlineUnits + 1 units can be read whatever the
  // size: short keys are copied, longer ones stay at `units`, which must then outlive the key.
  // Like a value, a key is written as whole words.
  Key(const char16_t* units, std::uint32_t size) {
    std::uint64_t words[2];
    if (size <= kInlineUnits) {
      std::memcpy(words, units, sizeof words);
      words[1] = (words[1] & ~kSizeMask) | (std::uint64_t{size} << kSizeShift);
    } else {
      words[0] = reinterpret_cast<std::uintptr_t>(units);
      words[1] = size | (std::uint64_t{kOutside} << kSizeShift);
    }
    std::memcpy(units_, words, sizeof units_);
  }

  std::u16string_view View() const {
    if (units_[7] != kOutside) return std::u16string_view(units_, units_[7]);
    return std::u16string_view(Outside(), static_cast<std::uint32_t>(Word(1)));
  }
  operator std::u16string_view() const { return View(); }  // implicit: read as a text
  bool operator==(std::u16string_view text) const { return View() == text; }
  bool operator==(const Key& other) const { return View() == other.View(); }
  // The units kept outside the key, or nullptr for a key held in itself.
  const char16_t* Outside() const {
    if (units_[7] != kOutside) return nullptr;
    const char16_t* units;
    std::memcpy(&units, units_, sizeof units);
    return units;
  }

 private:
  static constexpr char16_t kOutside = 0xFFFF;  // in the last unit, for a key kept outside
  static constexpr int kSizeShift = 48;
  static constexpr std::uint64_t kSizeMask = 0xFFFFULL << kSizeShift;
  std::uint64_t Word(int index) const {
    std::uint64_t word;
    std::memcpy(&word, units_ + 4 * index, sizeof word);
    return word;
  }

  // Seven units of a short key and its size in the last one; or a pointer and a size.
  alignas(8) char16_t units_[kInlineUnits + 1] = {};
};
static_assert(sizeof(Key) == 16);

// The hash of a key for the lookup tables of large objects.
inline std::size_t HashKey(std::u16string_view key) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char16_t unit : key) hash = (hash ^ unit) * 0x100000001b3ULL;
  return static_cast<std::size_t>(hash ^ (hash >> 29));
}

}  // namespace quillon::json
