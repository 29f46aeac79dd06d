#include "link/server_messages.h"

#include <string>

namespace quillon::link {

namespace {

// The code as a JSON string body: a quote, a backslash or a control character in a code must
// not end the string early or forge members. Any other code goes out unchanged.
std::u16string Escaped(std::u16string_view text) {
  static constexpr char16_t kHex[] = u"0123456789abcdef";
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    switch (c) {
      case u'"':
        out += u"\\\"";
        break;
      case u'\\':
        out += u"\\\\";
        break;
      case u'\b':
        out += u"\\b";
        break;
      case u'\f':
        out += u"\\f";
        break;
      case u'\n':
        out += u"\\n";
        break;
      case u'\r':
        out += u"\\r";
        break;
      case u'\t':
        out += u"\\t";
        break;
      default:
        if (c < 0x20) {
          out += u"\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out;
}

}  // namespace

std::u16string IdentificationMessage(std::u16string_view codigo) {
  return u"{\"idSyA\":\"" + Escaped(codigo) + u"\",\"type\":\"id\"}";
}

std::u16string StatusMessage(std::u16string_view codigo, int imprimiendo) {
  const std::string digits = std::to_string(imprimiendo);
  const std::u16string status(digits.begin(), digits.end());
  return u"{\"idSyA\":\"" + Escaped(codigo) + u"\",\"status\":\"" + status + u"\"}";
}

}  // namespace quillon::link
