#pragma once
// The core's UTF-16 text as Windows' wide strings: the same units, another type.
#include <string>
#include <string_view>

namespace quillon::adapters::win32 {

inline std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

inline std::u16string FromWide(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

}  // namespace quillon::adapters::win32
