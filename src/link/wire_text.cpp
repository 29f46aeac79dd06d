#include "link/wire_text.h"

#include "platform/text.h"

namespace quillon::link {

namespace {

// Bytes of the sequence a UTF-8 lead byte opens, as the text decoder reads it (an overlong or
// out-of-range lead still takes its continuation bytes into one replacement character); 0 for a
// continuation or invalid byte.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

// Length of the prefix of `bytes` that ends on a character boundary: a lead byte among the last
// three whose sequence runs past the end starts the tail to keep.
std::size_t CompletePrefix(std::string_view bytes) {
  const std::size_t size = bytes.size();
  for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
    const auto byte = static_cast<unsigned char>(bytes[size - back]);
    if ((byte & 0xC0) == 0x80) continue;  // continuation: look further back
    const std::size_t length = SequenceLength(byte);
    return length > back ? size - back : size;
  }
  return size;
}

}  // namespace

WireEncoding WireEncodingNamed(std::string_view name) {
  return name == "utf-8" ? WireEncoding::kUtf8 : WireEncoding::kWindows1252;
}

std::string EncodeWire(std::u16string_view text, WireEncoding encoding) {
  return encoding == WireEncoding::kUtf8 ? platform::Utf16ToUtf8(text)
                                         : platform::Utf16ToCp1252(text);
}

std::u16string DecodeWire(std::string_view bytes, WireEncoding encoding) {
  return encoding == WireEncoding::kUtf8 ? platform::Utf8ToUtf16(bytes)
                                         : platform::Cp1252ToUtf16(bytes);
}

json::TextEncoding ParserEncoding(WireEncoding encoding) {
  return encoding == WireEncoding::kUtf8 ? json::TextEncoding::kUtf8
                                         : json::TextEncoding::kWindows1252;
}

std::size_t CountWireCharacters(std::string_view bytes, WireEncoding encoding) {
  if (encoding == WireEncoding::kWindows1252) return bytes.size();
  std::size_t count = 0;
  for (const char byte : bytes) count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
  return count;
}

std::u16string WireDecoder::Decode(std::string_view bytes) {
  if (encoding_ == WireEncoding::kWindows1252) return DecodeWire(bytes, encoding_);
  std::string joined = std::move(incomplete_);
  joined.append(bytes);
  const std::size_t complete = CompletePrefix(joined);
  incomplete_ = joined.substr(complete);
  joined.resize(complete);
  return DecodeWire(joined, encoding_);
}

}  // namespace quillon::link
