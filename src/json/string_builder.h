#pragma once
// Collects text piece by piece in a buffer that grows by whole chunks, so building a long text
// one character at a time does not re-copy it. Sizes are kept in bytes (two per UTF-16 unit) and
// reported in characters; all of them stay in the 32-bit range.
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::json {

class StringBuilder {
 public:
  std::int32_t Length() const { return used_bytes_ / 2; }
  std::int32_t Capacity() const { return capacityBytes_ / 2; }
  std::int32_t ChunkSize() const { return chunkBytes_ / 2; }
  // Raises platform::Failure 6 when the step in bytes leaves 32 bits, 5 when it is below one
  // character.
  void ChunkSize(std::int32_t chunk_size);

  std::u16string ToString() const;
  void TheString(std::u16string_view text);

  void Clear();
  void AppendNL(std::u16string_view text);
  void Append(std::u16string_view text);
  // The Copy forms take the text by value, so a text that came from this builder stays valid
  // while the builder grows.
  // NOLINTNEXTLINE(performance-unnecessary-value-param): a copy, so it may come from here
  void AppendCopy(std::u16string text) { Append(text); }
  // Before character index (0-based); raises platform::Failure 9 outside 0..Length, 6 when index in
  // bytes leaves 32 bits.
  void Insert(std::int32_t index, std::u16string_view text);
  // NOLINTNEXTLINE(performance-unnecessary-value-param): by value, as AppendCopy
  void InsertCopy(std::int32_t index, std::u16string text) { Insert(index, text); }
  // Raises platform::Failure 9 unless 0 <= index and index + length <= Length, 6 when index or
  // index + length in bytes leaves 32 bits.
  void Remove(std::int32_t index, std::int32_t length);
  // 1-based position of needle at or after start_index (compare 0 exact, 1 ignoring case), when
  // it starts before position Length; otherwise 0. The spare room is searched too.
  std::int32_t Find(std::u16string_view needle, std::int32_t start_index = 0,
                    int compare = 0) const;
  // Gives back whole chunks of spare room, keeping at most one.
  void HeapMinimize();

 private:
  // Raises capacityBytes_ by whole chunks until it holds `bytes`.
  void Reserve(std::int64_t bytes);
  static std::int32_t BytesOf(std::u16string_view text);
  // Spaces over a vacated byte range: Find searches the spare room, which must not show
  // text that is no longer part of the builder.
  void Blank(std::int32_t from_bytes, std::int32_t to_bytes);

  std::u16string buffer_;  // capacity-long; beyond the used part it holds spaces
  std::int32_t used_bytes_ = 0;
  std::int32_t capacityBytes_ = 0;
  std::int32_t chunkBytes_ = 16384;
};

}  // namespace quillon::json
