#include "escpos_commands.h"

#include <cstddef>
#include <cstdint>

namespace quillon::fuzz {
namespace {

constexpr unsigned char kEsc = 0x1B, kGs = 0x1D, kLf = 0x0A, kDel = 0x7F;
constexpr std::string_view kStart("\x1b@\x1bt\x10", 5);

std::string At(std::size_t offset, const std::string& what) {
  return what + " at byte " + std::to_string(offset);
}

}  // namespace

std::string FindStrayCommand(std::string_view bytes) {
  if (bytes.substr(0, kStart.size()) != kStart)
    return "the ticket does not start with ESC @ ESC t 16";
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  int bold = 0;
  int size = 0;
  std::size_t i = kStart.size();
  while (i < bytes.size()) {
    const unsigned char c = byte(i);
    const std::size_t left = bytes.size() - i;
    if (c == kLf || (c >= 0x20 && c != kDel)) {
      ++i;
    } else if (c == kEsc && left >= 3 && byte(i + 1) == 'E' && byte(i + 2) <= 1 &&
               byte(i + 2) != bold) {
      bold = byte(i + 2);
      i += 3;
    } else if (c == kGs && left >= 3 && byte(i + 1) == '!' &&
               (byte(i + 2) == 0x00 || byte(i + 2) == 0x01 || byte(i + 2) == 0x11) &&
               byte(i + 2) != size) {
      size = byte(i + 2);
      i += 3;
    } else if (c == kGs && left >= 8 && byte(i + 1) == 'v' && byte(i + 2) == '0' &&
               byte(i + 3) == 0) {
      const std::size_t row_bytes = byte(i + 4) | byte(i + 5) << 8;
      const std::size_t rows = byte(i + 6) | byte(i + 7) << 8;
      if (row_bytes == 0 || rows == 0 || left - 8 < row_bytes * rows) {
        return At(i, "a raster whose size does not match its dots");
      }
      i += 8 + row_bytes * rows;
    } else if (c == kGs && left == 4 && byte(i + 1) == 'V' && byte(i + 2) == 66) {
      return {};
    } else {
      return At(i, "control byte " + std::to_string(c) + " outside the encoder's commands");
    }
  }
  return "the ticket does not end with the GS V 66 cut";
}

}  // namespace quillon::fuzz
