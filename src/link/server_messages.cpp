#include "link/server_messages.h"

#include <string>

#include "platform/text.h"

namespace quillon::link {

std::u16string IdentificationMessage(std::u16string_view code) {
  // The code goes in as a JSON string: a quote or backslash in it cannot forge members.
  return u"{\"idSyA\":" + platform::QuotedJsonString(code) + u",\"type\":\"id\"}";
}

std::u16string StatusMessage(std::u16string_view code, int busy) {
  const std::string digits = std::to_string(busy);
  const std::u16string status(digits.begin(), digits.end());
  return u"{\"idSyA\":" + platform::QuotedJsonString(code) + u",\"status\":\"" + status + u"\"}";
}

}  // namespace quillon::link
