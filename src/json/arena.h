#pragma once
// The memory of one parsed job. Its containers, member lists and texts are carved out of a few
// large blocks, and the blocks go back together when the last value that refers to the tree is
// dropped: reading a job costs a handful of allocations instead of one per text and container,
// and dropping it as few frees.
#include <atomic>
#include <cstddef>

namespace quillon::json {

class Arena {
 public:
  // A new arena with one holder; `expected_bytes` sizes its first block.
  static Arena* Create(std::size_t expected_bytes);
  Arena(const Arena&) = delete;
  Arena& operator=(const Arena&) = delete;

  void Hold() noexcept { holders_.fetch_add(1, std::memory_order_relaxed); }
  // Frees every block when the last holder lets go.
  void Release() noexcept;

  // Room for `bytes`, aligned for any part of a tree.
  void* Allocate(std::size_t bytes) {
    bytes = (bytes + kAlign - 1) & ~(kAlign - 1);
    if (static_cast<std::size_t>(end_ - top_) < bytes) return AllocateInNewBlock(bytes);
    void* room = top_;
    top_ += bytes;
    return room;
  }
  template <class T>
  T* AllocateArray(std::size_t count) {
    return static_cast<T*>(Allocate(count * sizeof(T)));
  }
  // Cuts the latest allocation, `room` of `bytes`, down to `kept` bytes.
  void Shrink(void* room, std::size_t bytes, std::size_t kept) noexcept {
    char* start = static_cast<char*>(room);
    if (start + ((bytes + kAlign - 1) & ~(kAlign - 1)) == top_) {
      top_ = start + ((kept + kAlign - 1) & ~(kAlign - 1));
    }
  }

  // Keeps `other` alive as long as this arena: a value of another tree was stored in this one.
  void Keep(Arena* other);

 private:
  static constexpr std::size_t kAlign = 8;
  struct Block {
    Block* next;
    std::size_t bytes;
  };
  struct Kept {
    Kept* next;
    Arena* arena;
  };

  Arena() = default;
  ~Arena() = default;
  void* AllocateInNewBlock(std::size_t bytes);

  std::atomic<std::size_t> holders_{1};
  char* top_ = nullptr;
  char* end_ = nullptr;
  Block* blocks_ = nullptr;  // the latest first; the one holding this arena last
  std::size_t block_bytes_ = 0;
  Kept* kept_ = nullptr;
};

}  // namespace quillon::json
