#include "json/string_builder.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "json/value_error.h"
#include "platform/text.h"

namespace quillon::json {
namespace {

constexpr std::int64_t kMaxBytes = std::numeric_limits<std::int32_t>::max();

// Byte offsets are 32-bit: one that leaves that range is an overflow, not a bad index.
bool FitsBytes(std::int64_t bytes) {
  return bytes >= std::numeric_limits<std::int32_t>::min() && bytes <= kMaxBytes;
}

}  // namespace

std::int32_t cStringBuilder::BytesOf(std::u16string_view text) {
  const std::int64_t bytes = static_cast<std::int64_t>(text.size()) * 2;
  if (bytes > kMaxBytes) throw ValueError::Overflow();
  return static_cast<std::int32_t>(bytes);
}

void cStringBuilder::ChunkSize(std::int32_t iChunkSize) {
  const std::int64_t bytes = static_cast<std::int64_t>(iChunkSize) * 2;
  if (bytes > kMaxBytes || bytes < std::numeric_limits<std::int32_t>::min()) {
    throw ValueError::Overflow();
  }
  if (bytes < 2) throw ValueError::InvalidArgument();  // growth would never make room
  chunkBytes_ = static_cast<std::int32_t>(bytes);
}

void cStringBuilder::Reserve(std::int64_t bytes) {
  if (bytes <= capacityBytes_) return;
  const std::int64_t steps = (bytes - capacityBytes_ + chunkBytes_ - 1) / chunkBytes_;
  const std::int64_t capacity = capacityBytes_ + steps * chunkBytes_;
  if (capacity > kMaxBytes) throw ValueError::Overflow();
  buffer_.append(static_cast<std::size_t>((capacity - capacityBytes_) / 2), u' ');
  capacityBytes_ = static_cast<std::int32_t>(capacity);
}

void cStringBuilder::Blank(std::int32_t fromBytes, std::int32_t toBytes) {
  std::fill(buffer_.begin() + fromBytes / 2, buffer_.begin() + toBytes / 2, u' ');
}

std::u16string cStringBuilder::toString() const {
  return std::u16string(buffer_.data(), static_cast<std::size_t>(usedBytes_ / 2));
}

void cStringBuilder::TheString(std::u16string_view sThis) {
  const std::int32_t n = BytesOf(sThis);
  if (n == 0) {
    Clear();
    return;
  }
  Reserve(n);
  std::memmove(buffer_.data(), sThis.data(), static_cast<std::size_t>(n));
  if (n < usedBytes_) Blank(n, usedBytes_);
  usedBytes_ = n;
}

void cStringBuilder::Clear() {
  buffer_.clear();
  buffer_.shrink_to_fit();
  usedBytes_ = 0;
  capacityBytes_ = 0;
}

void cStringBuilder::AppendNL(std::u16string_view sThis) {
  Append(sThis);
  Append(u"\r\n");
}

void cStringBuilder::Append(std::u16string_view sThis) {
  if (sThis.empty()) return;
  const std::int32_t n = BytesOf(sThis);
  Reserve(static_cast<std::int64_t>(usedBytes_) + n);
  std::memcpy(buffer_.data() + usedBytes_ / 2, sThis.data(), static_cast<std::size_t>(n));
  usedBytes_ += n;
}

void cStringBuilder::Insert(std::int32_t iIndex, std::u16string_view sThis) {
  const std::int64_t atBytes = static_cast<std::int64_t>(iIndex) * 2;
  if (!FitsBytes(atBytes)) throw ValueError::Overflow();
  if (iIndex < 0 || atBytes > usedBytes_) throw ValueError::SubscriptOutOfRange();
  const std::int32_t n = BytesOf(sThis);
  Reserve(static_cast<std::int64_t>(usedBytes_) + n);
  char16_t* at = buffer_.data() + iIndex;
  std::memmove(at + n / 2, at, static_cast<std::size_t>(usedBytes_ - iIndex * 2));
  std::memcpy(at, sThis.data(), static_cast<std::size_t>(n));
  usedBytes_ += n;
}

void cStringBuilder::Remove(std::int32_t iIndex, std::int32_t lLen) {
  const std::int64_t end = static_cast<std::int64_t>(iIndex) + lLen;
  if (!FitsBytes(static_cast<std::int64_t>(iIndex) * 2) || !FitsBytes(end * 2)) {
    throw ValueError::Overflow();
  }
  if (iIndex < 0 || lLen < 0 || static_cast<std::int64_t>(iIndex) * 2 > usedBytes_ ||
      end * 2 > usedBytes_) {
    throw ValueError::SubscriptOutOfRange();
  }
  char16_t* at = buffer_.data() + iIndex;
  std::memmove(at, at + lLen, static_cast<std::size_t>(usedBytes_ - end * 2));
  Blank(usedBytes_ - lLen * 2, usedBytes_);
  usedBytes_ -= lLen * 2;
}

std::int32_t cStringBuilder::Find(std::u16string_view sToFind, std::int32_t lStartIndex,
                                  int compare) const {
  const std::size_t from = lStartIndex < 1 ? 0 : static_cast<std::size_t>(lStartIndex) - 1;
  std::size_t found;
  if (compare == 1) {
    found = platform::ToLower(buffer_).find(platform::ToLower(sToFind), from);
  } else {
    found = std::u16string_view(buffer_).find(sToFind, from);
  }
  if (found == std::u16string_view::npos) return 0;
  const std::int64_t position = static_cast<std::int64_t>(found) + 1;
  return position < Length() ? static_cast<std::int32_t>(position) : 0;
}

void cStringBuilder::HeapMinimize() {
  if (capacityBytes_ - usedBytes_ <= chunkBytes_) return;
  const std::int32_t steps = (capacityBytes_ - usedBytes_ - 1) / chunkBytes_;
  capacityBytes_ -= steps * chunkBytes_;
  buffer_.resize(static_cast<std::size_t>(capacityBytes_ / 2));
  buffer_.shrink_to_fit();
}

}  // namespace quillon::json
