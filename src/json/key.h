#pragma once
// The key of an object member. Nearly every key of a job fits in place, so reading an object
// allocates no block per key; longer keys get a block of their own.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace quillon::json {

class Key {
 public:
  explicit Key(std::u16string_view text);
  Key(const Key& other) : Key(other.View()) {}
  Key(Key&& other) noexcept { TakeFrom(other); }
  Key& operator=(const Key& other);
  Key& operator=(Key&& other) noexcept;
  ~Key() { Release(); }

  std::u16string_view View() const {
    if (length_ != kOnHeap) return std::u16string_view(units_, length_);
    const Heap heap = HeapPart();
    return std::u16string_view(heap.units, heap.size);
  }
  operator std::u16string_view() const { return View(); }  // NOLINT: read as a text
  bool operator==(std::u16string_view text) const { return View() == text; }
  bool operator==(const Key& other) const { return View() == other.View(); }

 private:
  static constexpr std::size_t kCapacity = 15;
  static constexpr std::uint8_t kOnHeap = 0xFF;

  // A longer key's block and size, kept in the room of the units.
  struct Heap {
    char16_t* units;
    std::size_t size;
  };
  static_assert(sizeof(Heap) <= sizeof(char16_t) * kCapacity);
  Heap HeapPart() const {
    Heap heap;
    std::memcpy(&heap, units_, sizeof heap);
    return heap;
  }
  void Release() noexcept {
    if (length_ == kOnHeap) delete[] HeapPart().units;
  }
  void TakeFrom(Key& other) noexcept {
    std::memcpy(units_, other.units_, sizeof units_);
    length_ = other.length_;
    other.length_ = 0;
  }

  char16_t units_[kCapacity];
  std::uint8_t length_;  // kOnHeap when the units are in a block of their own
};

}  // namespace quillon::json
