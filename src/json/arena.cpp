#include "json/arena.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace quillon::json {
namespace {

// Blocks are 4 KiB times a power of two, up to 4 MiB: a tree of a hundred megabytes is then a
// few dozen blocks, and blocks of one size serve the next tree.
constexpr std::size_t kSmallestBlockBytes = 4u << 10;
constexpr int kBlockSizes = 11;
constexpr std::size_t kLargestBlockBytes = kSmallestBlockBytes << (kBlockSizes - 1);
// Freed blocks kept by each thread for its next trees, in all: the next job finds its memory
// ready instead of asking the system for fresh pages, and one very large job does not keep
// the process larger for good.
constexpr std::size_t kKeptBytes = 8u << 20;

// The smallest block size class of at least `bytes`, or kBlockSizes when none is.
int SizeClass(std::size_t bytes) {
  int size_class = 0;
  while (size_class < kBlockSizes && (kSmallestBlockBytes << size_class) < bytes) ++size_class;
  return size_class;
}

// Plain data, so that it stays usable until the thread ends, after the closer has run.
struct KeptBlocks {
  void* heads[kBlockSizes];
  std::size_t bytes;
  bool closed;
};
thread_local KeptBlocks t_kept{};

struct KeptBlocksCloser {
  ~KeptBlocksCloser() {
    for (void*& head : t_kept.heads) {
      while (head != nullptr) {
        void* next = *static_cast<void**>(head);
        std::free(head);
        head = next;
      }
    }
    t_kept.bytes = 0;
    t_kept.closed = true;
  }
};
thread_local KeptBlocksCloser t_kept_closer;

void* TakeBlock(std::size_t bytes) {
  const int size_class = SizeClass(bytes);
  if (size_class < kBlockSizes && t_kept.heads[size_class] != nullptr) {
    void* block = t_kept.heads[size_class];
    t_kept.heads[size_class] = *static_cast<void**>(block);
    t_kept.bytes -= bytes;
    return block;
  }
  void* block = std::malloc(bytes);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

// Keeps the block for the next tree, or frees it.
void GiveBlock(void* block, std::size_t bytes) {
  const int size_class = SizeClass(bytes);
  if (size_class < kBlockSizes && (kSmallestBlockBytes << size_class) == bytes && !t_kept.closed &&
      t_kept.bytes + bytes <= kKeptBytes) {
    static_cast<void>(&t_kept_closer);  // frees the kept blocks when the thread ends
    *static_cast<void**>(block) = t_kept.heads[size_class];
    t_kept.heads[size_class] = block;
    t_kept.bytes += bytes;
    return;
  }
  std::free(block);
}

// The block size for `bytes` more after `held` bytes: a size class, or exactly what a request
// beyond the largest class needs.
std::size_t BlockBytesFor(std::size_t bytes, std::size_t held) {
  const std::size_t wanted = std::max(bytes, std::min(held, kLargestBlockBytes));
  const int size_class = SizeClass(wanted);
  return size_class < kBlockSizes ? kSmallestBlockBytes << size_class : bytes;
}

}  // namespace

Arena* Arena::Create(std::size_t expected_bytes) {
  const std::size_t header = sizeof(Block) + ((sizeof(Arena) + kAlign - 1) & ~(kAlign - 1));
  const std::size_t bytes = BlockBytesFor(header + std::min(expected_bytes, kLargestBlockBytes), 0);
  char* memory = static_cast<char*>(TakeBlock(bytes));
  Block* block = new (memory) Block{nullptr, bytes};
  Arena* arena = new (memory + sizeof(Block)) Arena();
  arena->blocks_ = block;
  arena->block_bytes_ = bytes;
  arena->top_ = memory + header;
  arena->end_ = memory + bytes;
  return arena;
}

void Arena::Release() noexcept {
  if (holders_.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
  for (Kept* kept = kept_; kept != nullptr; kept = kept->next) kept->arena->Release();
  Block* block = blocks_;
  this->~Arena();
  while (block != nullptr) {  // the block holding the arena itself is the last one
    Block* next = block->next;
    GiveBlock(block, block->bytes);
    block = next;
  }
}

void* Arena::AllocateInNewBlock(std::size_t bytes) {
  const std::size_t usual = BlockBytesFor(0, block_bytes_);
  const std::size_t size = BlockBytesFor(sizeof(Block) + bytes, block_bytes_);
  char* memory = static_cast<char*>(TakeBlock(size));
  blocks_ = new (memory) Block{blocks_, size};  // the first block, holding the arena, stays last
  block_bytes_ += size;
  // A text larger than the usual block gets one of its own; the room left in the current block
  // stays in use.
  if (size > usual) return memory + sizeof(Block);
  top_ = memory + sizeof(Block) + bytes;
  end_ = memory + size;
  return memory + sizeof(Block);
}

void Arena::Keep(Arena* other) {
  if (other == this) return;
  auto* kept = static_cast<Kept*>(Allocate(sizeof(Kept)));
  other->Hold();
  kept_ = new (kept) Kept{kept_, other};
}

}  // namespace quillon::json
