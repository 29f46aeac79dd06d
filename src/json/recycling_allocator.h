#pragma once
// Keeps freed blocks for the next ones of the same size on the same thread. A job's tree is
// built and dropped as a whole, thousands of small containers and member lists at a time, and
// the C library's allocator spends more on them than the parser spends reading the text.
#include <cstddef>
#include <cstdint>
#include <new>

namespace quillon::json {

// The kept blocks of the thread, sorted by size in steps of kGrain bytes.
class BlockShelves {
 public:
  static constexpr std::size_t kGrain = 16;
  static constexpr std::size_t kLargest = 1024;  // larger blocks go straight to the C library

  static void* Take(std::size_t bytes) {
    const std::size_t shelf = ShelfOf(bytes);
    State& state = t_state;
    Block* block = state.heads[shelf];
    if (block == nullptr) return ::operator new(shelf * kGrain);
    state.heads[shelf] = block->next;
    state.kept -= shelf * kGrain;
    return block;
  }

  static void Give(void* p, std::size_t bytes) noexcept {
    const std::size_t shelf = ShelfOf(bytes);
    State& state = t_state;
    if (state.closed || state.kept + shelf * kGrain > kKeptBytes) {
      ::operator delete(p);
      return;
    }
    if (state.kept == 0) static_cast<void>(&t_closer);  // frees the kept blocks at exit
    Block* block = static_cast<Block*>(p);
    block->next = state.heads[shelf];
    state.heads[shelf] = block;
    state.kept += shelf * kGrain;
  }

 private:
  struct Block {
    Block* next;
  };
  // Enough for the containers of a large job; beyond it blocks go back to the C library.
  static constexpr std::size_t kKeptBytes = 8 << 20;
  static constexpr std::size_t kShelves = kLargest / kGrain + 1;

  // Shelf 0 stays unused: even an empty request gets room for the link of a kept block.
  static std::size_t ShelfOf(std::size_t bytes) {
    return bytes == 0 ? 1 : (bytes + kGrain - 1) / kGrain;
  }

  // Plain data, so it stays usable until the thread ends, after the closer has run.
  struct State {
    Block* heads[kShelves];
    std::size_t kept;
    bool closed;
  };
  struct Closer {
    ~Closer() {
      State& state = t_state;
      for (Block*& head : state.heads) {
        while (head != nullptr) {
          Block* next = head->next;
          ::operator delete(head);
          head = next;
        }
      }
      state.kept = 0;
      state.closed = true;
    }
  };

  static inline thread_local State t_state{};
  // Defined in one source file: MinGW's GCC emits the set-up of an inline thread_local object
  // with a destructor in every file that uses it, and the copies then clash at link time.
  static thread_local Closer t_closer;
};

template <class T>
class RecyclingAllocator {
 public:
  using value_type = T;

  RecyclingAllocator() = default;
  template <class U>
  RecyclingAllocator(const RecyclingAllocator<U>&) noexcept {}  // NOLINT: rebinding

  T* allocate(std::size_t n) {
    if (n > BlockShelves::kLargest / sizeof(T)) return static_cast<T*>(::operator new(n * sizeof(T)));
    return static_cast<T*>(BlockShelves::Take(n * sizeof(T)));
  }

  void deallocate(T* p, std::size_t n) noexcept {
    if (n > BlockShelves::kLargest / sizeof(T)) {
      ::operator delete(p);
      return;
    }
    BlockShelves::Give(p, n * sizeof(T));
  }

  friend bool operator==(const RecyclingAllocator&, const RecyclingAllocator&) { return true; }

 private:
  static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);
};

}  // namespace quillon::json
