#include "shell/console_output.h"

#include "platform/text.h"
#include "shell/log_text.h"

namespace quillon::shell {
namespace {

std::u16string KindLabel(platform::BalloonIcon icon) {
  switch (icon) {
    case platform::BalloonIcon::Information:
      return u"[Informacion] ";
    case platform::BalloonIcon::Warning:
      return u"[Aviso] ";
    case platform::BalloonIcon::Error:
      return u"[Error] ";
    case platform::BalloonIcon::None:
      break;
  }
  return u"[Globo] ";
}

}  // namespace

ConsoleOutput::ConsoleOutput(std::ostream& out, const platform::Clock& clock)
    : out_(out), clock_(clock) {}

void ConsoleOutput::WriteLine(std::u16string_view text) {
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
  out_ << platform::DateTimeText(clock_.Now()) << ' ' << platform::Utf16ToUtf8(line) << '\n'
       << std::flush;
}

ConsoleNotifier::ConsoleNotifier(ConsoleOutput& output) : output_(output) {}

void ConsoleNotifier::ShowBalloonTip(const std::u16string& text, platform::BalloonIcon icon,
                                     const std::u16string& title, int /*timeout_ms*/) {
  output_.WriteLine(KindLabel(icon) + title + u": " + text);
}

ConsoleLog::ConsoleLog(ConsoleOutput& output) : output_(output) {}

void ConsoleLog::WriteLog(const std::u16string& text) { output_.WriteLine(text); }

}  // namespace quillon::shell
