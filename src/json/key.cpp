#include "json/key.h"

#include <algorithm>

namespace quillon::json {

Key::Key(std::u16string_view text) {
  if (text.size() <= kCapacity) {
    length_ = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), units_);
    return;
  }
  const Heap heap{new char16_t[text.size()], text.size()};
  std::copy(text.begin(), text.end(), heap.units);
  std::memcpy(units_, &heap, sizeof heap);
  length_ = kOnHeap;
}

Key& Key::operator=(const Key& other) {
  if (this != &other) *this = Key(other.View());
  return *this;
}

Key& Key::operator=(Key&& other) noexcept {
  if (this != &other) {
    Release();
    TakeFrom(other);
  }
  return *this;
}

}  // namespace quillon::json
