// Letter case by ICU's simple mapping, one UTF-16 unit at a time.
#include <unicode/uchar.h>

#include "platform/text.h"

namespace quillon::platform {

std::u16string ToUpper(std::u16string_view text) {
  std::u16string out(text);
  for (auto& c : out) c = static_cast<char16_t>(u_toupper(c));
  return out;
}

std::u16string ToLower(std::u16string_view text) {
  std::u16string out(text);
  for (auto& c : out) c = static_cast<char16_t>(u_tolower(c));
  return out;
}

}  // namespace quillon::platform
