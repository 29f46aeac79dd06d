#pragma once
// The elements of a container, in blocks that never move: adding an element never invalidates a
// reference to one already held, so a value read from a tree stays valid while later reads add
// members to it. The first block is the one the parser fills, exactly sized; elements added
// later go to blocks of growing size, from the tree's arena or, for a container of its own,
// from the heap.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <new>
#include <utility>

#include "json/arena.h"

namespace quillon::json {

template <class T>
class StableList {
  struct Block;

 public:
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = const T*;
    using reference = const T&;

    Iterator() = default;
    const T& operator*() const { return *at_; }
    const T* operator->() const { return at_; }
    Iterator& operator++() {
      if (++at_ == end_) *this = Iterator(next_);
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const Iterator& other) const { return at_ == other.at_; }

   private:
    friend class StableList;
    Iterator(T* items, std::uint32_t count, Block* next)
        : at_(count == 0 ? nullptr : items), end_(items + count), next_(next) {
      if (count == 0 && next != nullptr) *this = Iterator(next);
    }
    explicit Iterator(Block* block) {
      if (block != nullptr) *this = Iterator(block->Items(), block->used, block->next);
    }
    T* at_ = nullptr;  // nullptr past the last element
    T* end_ = nullptr;
    Block* next_ = nullptr;
  };

  StableList() = default;
  // Takes `count` elements already built in `items`, which the caller keeps alive.
  StableList(T* items, std::uint32_t count) : first_(items), first_count_(count), size_(count) {}
  StableList(StableList&& other) noexcept { *this = std::move(other); }
  StableList& operator=(StableList&& other) noexcept {
    first_ = std::exchange(other.first_, nullptr);
    first_count_ = std::exchange(other.first_count_, 0);
    size_ = std::exchange(other.size_, 0);
    more_ = std::exchange(other.more_, nullptr);
    last_ = std::exchange(other.last_, nullptr);
    return *this;
  }
  StableList(const StableList&) = delete;
  StableList& operator=(const StableList&) = delete;

  std::size_t size() const { return size_; }
  const T& operator[](std::size_t index) const { return *Locate(index); }
  const T& front() const { return *Locate(0); }
  Iterator begin() const { return Iterator(first_, first_count_, more_); }
  Iterator end() const { return Iterator(); }

  // A new last element made from `value`, in a block of `arena`, or of the heap when it is null.
  T& Append(Arena* arena, T&& value) {
    if (last_ == nullptr || last_->used == last_->capacity) AddBlock(arena);
    T* room = last_->Items() + last_->used;
    new (room) T(std::move(value));
    ++last_->used;
    ++size_;
    return *room;
  }

  // Destroys the elements and frees the blocks, for a list whose blocks came from the heap.
  void DestroyOnHeap() noexcept {
    for (std::uint32_t i = 0; i < first_count_; ++i) first_[i].~T();
    for (Block* block = more_; block != nullptr;) {
      for (std::uint32_t i = 0; i < block->used; ++i) block->Items()[i].~T();
      Block* next = block->next;
      ::operator delete(block);
      block = next;
    }
    *this = StableList();
  }

 private:
  struct Block {
    Block* next;
    std::uint32_t used;
    std::uint32_t capacity;
    T* Items() { return reinterpret_cast<T*>(this + 1); }
  };
  static_assert(alignof(T) <= alignof(Block));

  T* Locate(std::size_t index) const {
    if (index < first_count_) return first_ + index;
    index -= first_count_;
    Block* block = more_;
    while (index >= block->used) {
      index -= block->used;
      block = block->next;
    }
    return block->Items() + index;
  }

  void AddBlock(Arena* arena) {
    const std::uint32_t capacity = size_ < 4 ? 4 : size_;
    const std::size_t bytes = sizeof(Block) + capacity * sizeof(T);
    void* memory = arena != nullptr ? arena->Allocate(bytes) : ::operator new(bytes);
    Block* block = new (memory) Block{nullptr, 0, capacity};
    (last_ == nullptr ? more_ : last_->next) = block;
    last_ = block;
  }

  T* first_ = nullptr;
  std::uint32_t first_count_ = 0;
  std::uint32_t size_ = 0;
  Block* more_ = nullptr;
  Block* last_ = nullptr;
};

}  // namespace quillon::json
