#pragma once
// Keeps the freed blocks of one type for the next ones of that type on the same thread. A job's
// tree is built and dropped as a whole, thousands of small containers at a time, and the C
// library's allocator spends more on them than the parser spends reading the text.
#include <cstddef>
#include <new>

namespace quillon::json {

template <class T>
class RecyclingAllocator {
 public:
  using value_type = T;

  RecyclingAllocator() = default;
  template <class U>
  RecyclingAllocator(const RecyclingAllocator<U>&) noexcept {}  // NOLINT: rebinding

  T* allocate(std::size_t n) {
    State& state = t_state;
    if (n == 1 && state.head != nullptr) {
      Block* block = state.head;
      state.head = block->next;
      --state.count;
      return reinterpret_cast<T*>(block);
    }
    return static_cast<T*>(::operator new(n * sizeof(T)));
  }

  void deallocate(T* p, std::size_t n) noexcept {
    State& state = t_state;
    if (n != 1 || state.count >= kKept || state.closed) {
      ::operator delete(p);
      return;
    }
    if (state.head == nullptr) static_cast<void>(&t_closer);  // frees the kept blocks at exit
    Block* block = reinterpret_cast<Block*>(p);
    block->next = state.head;
    state.head = block;
    ++state.count;
  }

  friend bool operator==(const RecyclingAllocator&, const RecyclingAllocator&) { return true; }

 private:
  struct Block {
    Block* next;
  };
  static_assert(sizeof(T) >= sizeof(Block));
  static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

  // Enough for the containers of a large job; beyond it blocks go back to the C library.
  static constexpr std::size_t kKept = 8192;

  // Plain data, so it stays usable until the thread ends, after the closer has run.
  struct State {
    Block* head;
    std::size_t count;
    bool closed;
  };
  struct Closer {
    ~Closer() {
      State& state = t_state;
      while (state.head != nullptr) {
        Block* next = state.head->next;
        ::operator delete(state.head);
        state.head = next;
      }
      state.count = 0;
      state.closed = true;
    }
  };

  static inline thread_local State t_state{};
  static inline thread_local Closer t_closer;
};

}  // namespace quillon::json
