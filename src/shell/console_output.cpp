#include "shell/console_output.h"

#include "platform/text.h"
#include "shell/log_text.h"

namespace quillon::shell {
ConsoleOutput::ConsoleOutput(std::ostream& out, const platform::Clock& clock)
    : out_(out), clock_(clock) {}

void ConsoleOutput::WriteLine(std::u16string_view text) {
  out_ << platform::DateTimeText(clock_.Now()) << ' ' << platform::Utf16ToUtf8(OneLogLine(text))
       << '\n'
       << std::flush;
}

ConsoleNotifier::ConsoleNotifier(ConsoleOutput& output) : output_(output) {}

void ConsoleNotifier::ShowBalloonTip(const std::u16string& text, platform::BalloonIcon icon,
                                     const std::u16string& title, int /*timeout_ms*/) {
  output_.WriteLine(BalloonLogText(text, icon, title));
}

ConsoleLog::ConsoleLog(ConsoleOutput& output) : output_(output) {}

void ConsoleLog::WriteLog(const std::u16string& text) { output_.WriteLine(text); }

}  // namespace quillon::shell
