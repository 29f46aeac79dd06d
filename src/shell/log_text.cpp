#include "shell/log_text.h"

#include <cstdio>

namespace quillon::shell {
namespace {

bool IsEscaped(char16_t c) {
  if (c < 0x20) return c != u'\t' && c != u'\r' && c != u'\n';
  if (c >= 0x7F && c <= 0x9F) return true;
  return c == 0x200E || c == 0x200F || (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::u16string KindLabel(platform::BalloonIcon icon) {
  switch (icon) {
    case platform::BalloonIcon::kInformation:
      return u"[Informacion] ";
    case platform::BalloonIcon::kWarning:
      return u"[Aviso] ";
    case platform::BalloonIcon::kError:
      return u"[Error] ";
    case platform::BalloonIcon::kNone:
      break;
  }
  return u"[Globo] ";
}

}  // namespace

std::u16string EscapeControls(std::u16string_view text) {
  std::u16string escaped;
  escaped.reserve(text.size());
  for (const char16_t c : text) {
    if (!IsEscaped(c)) {
      escaped += c;
      continue;
    }
    char code[8];
    std::snprintf(code, sizeof code, c <= 0xFF ? "\\x%02X" : "\\u%04X", static_cast<unsigned>(c));
    for (const char* at = code; *at != '\0'; ++at) escaped += static_cast<char16_t>(*at);
  }
  return escaped;
}

std::u16string OneLogLine(std::u16string_view text) {
  std::u16string line;
  line.reserve(text.size());
  for (const char16_t c : EscapeControls(text)) {
    if (c == u'\r') {
      line += u"\\r";
    } else if (c == u'\n') {
      line += u"\\n";
    } else {
      line += c;
    }
  }
  return line;
}

std::u16string BalloonLogText(const std::u16string& text, platform::BalloonIcon icon,
                              const std::u16string& title) {
  return KindLabel(icon) + title + u": " + text;
}

}  // namespace quillon::shell
