#include "json/string_builder.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/failure.h"
#include "platform/text.h"

namespace quillon::json {
namespace {

constexpr std::int64_t kMaxBytes = std::numeric_limits<std::int32_t>::max();

// Byte offsets are 32-bit: one that leaves that range is an overflow, not a bad index.
bool FitsBytes(std::int64_t bytes) {
  return bytes >= std::numeric_limits<std::int32_t>::min() && bytes <= kMaxBytes;
}

}  // namespace

std::int32_t StringBuilder::BytesOf(std::u16string_view text) {
  const std::int64_t bytes = static_cast<std::int64_t>(text.size()) * 2;
  if (bytes > kMaxBytes) throw platform::Failure::Overflow();
  return static_cast<std::int32_t>(bytes);
}

void StringBuilder::ChunkSize(std::int32_t chunk_size) {
  const std::int64_t bytes = static_cast<std::int64_t>(chunk_size) * 2;
  if (bytes > kMaxBytes || bytes < std::numeric_limits<std::int32_t>::min()) {
    throw platform::Failure::Overflow();
  }
  if (bytes < 2) throw platform::Failure::InvalidArgument();  // growth would never make room
  chunkBytes_ = static_cast<std::int32_t>(bytes);
}

void StringBuilder::Reserve(std::int64_t bytes) {
  if (bytes <= capacityBytes_) return;
  const std::int64_t steps = (bytes - capacityBytes_ + chunkBytes_ - 1) / chunkBytes_;
  const std::int64_t capacity = capacityBytes_ + steps * chunkBytes_;
  if (capacity > kMaxBytes) throw platform::Failure::Overflow();
  buffer_.append(static_cast<std::size_t>((capacity - capacityBytes_) / 2), u' ');
  capacityBytes_ = static_cast<std::int32_t>(capacity);
}

void StringBuilder::Blank(std::int32_t from_bytes, std::int32_t to_bytes) {
  std::fill(buffer_.begin() + from_bytes / 2, buffer_.begin() + to_bytes / 2, u' ');
}

std::u16string StringBuilder::ToString() const {
  return std::u16string(buffer_.data(), static_cast<std::size_t>(used_bytes_ / 2));
}

void StringBuilder::TheString(std::u16string_view text) {
  const std::int32_t n = BytesOf(text);
  if (n == 0) {
    Clear();
    return;
  }
  Reserve(n);
  std::memmove(buffer_.data(), text.data(), static_cast<std::size_t>(n));
  if (n < used_bytes_) Blank(n, used_bytes_);
  used_bytes_ = n;
}

void StringBuilder::Clear() {
  buffer_.clear();
  buffer_.shrink_to_fit();
  used_bytes_ = 0;
  capacityBytes_ = 0;
}

void StringBuilder::AppendNL(std::u16string_view text) {
  Append(text);
  Append(u"\r\n");
}

void StringBuilder::Append(std::u16string_view text) {
  if (text.empty()) return;
  const std::int32_t n = BytesOf(text);
  Reserve(static_cast<std::int64_t>(used_bytes_) + n);
  std::memcpy(buffer_.data() + used_bytes_ / 2, text.data(), static_cast<std::size_t>(n));
  used_bytes_ += n;
}

void StringBuilder::Insert(std::int32_t index, std::u16string_view text) {
  const std::int64_t at_bytes = static_cast<std::int64_t>(index) * 2;
  if (!FitsBytes(at_bytes)) throw platform::Failure::Overflow();
  if (index < 0 || at_bytes > used_bytes_) throw platform::Failure::SubscriptOutOfRange();
  const std::int32_t n = BytesOf(text);
  Reserve(static_cast<std::int64_t>(used_bytes_) + n);
  char16_t* at = buffer_.data() + index;
  std::memmove(at + n / 2, at, static_cast<std::size_t>(used_bytes_ - index * 2));
  std::memcpy(at, text.data(), static_cast<std::size_t>(n));
  used_bytes_ += n;
}

void StringBuilder::Remove(std::int32_t index, std::int32_t length) {
  const std::int64_t end = static_cast<std::int64_t>(index) + length;
  if (!FitsBytes(static_cast<std::int64_t>(index) * 2) || !FitsBytes(end * 2)) {
    throw platform::Failure::Overflow();
  }
  if (index < 0 || length < 0 || static_cast<std::int64_t>(index) * 2 > used_bytes_ ||
      end * 2 > used_bytes_) {
    throw platform::Failure::SubscriptOutOfRange();
  }
  char16_t* at = buffer_.data() + index;
  std::memmove(at, at + length, static_cast<std::size_t>(used_bytes_ - end * 2));
  Blank(used_bytes_ - length * 2, used_bytes_);
  used_bytes_ -= length * 2;
}

std::int32_t StringBuilder::Find(std::u16string_view needle, std::int32_t start_index,
                                 int compare) const {
  const std::size_t from = start_index < 1 ? 0 : static_cast<std::size_t>(start_index) - 1;
  std::size_t found;
  if (compare == 1) {
    found = platform::ToLower(buffer_).find(platform::ToLower(needle), from);
  } else {
    found = std::u16string_view(buffer_).find(needle, from);
  }
  if (found == std::u16string_view::npos) return 0;
  const std::int64_t position = static_cast<std::int64_t>(found) + 1;
  return position < Length() ? static_cast<std::int32_t>(position) : 0;
}

void StringBuilder::HeapMinimize() {
  if (capacityBytes_ - used_bytes_ <= chunkBytes_) return;
  const std::int32_t steps = (capacityBytes_ - used_bytes_ - 1) / chunkBytes_;
  capacityBytes_ -= steps * chunkBytes_;
  buffer_.resize(static_cast<std::size_t>(capacityBytes_ / 2));
  buffer_.shrink_to_fit();
}

}  // namespace quillon::json
