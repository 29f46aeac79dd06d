#pragma once
// Headless output: every balloon and log line becomes one timestamped line on a stream, with
// line breaks inside the text written as "\r" and "\n" so a line stays a line, and the other
// control characters escaped (EscapeControls) so job text cannot drive the terminal.
#include <ostream>
#include <string_view>

#include "link/activity_log.h"
#include "platform/clock.h"
#include "platform/notifier.h"
#include "print/print_service.h"

namespace quillon::shell {

class ConsoleOutput {
 public:
  ConsoleOutput(std::ostream& out, const platform::Clock& clock);
  // "2024-05-01 13:45:07 text"
  void WriteLine(std::u16string_view text);

 private:
  std::ostream& out_;
  const platform::Clock& clock_;
};

// Balloons as lines: "[Aviso] title: text".
class ConsoleNotifier final : public platform::Notifier {
 public:
  explicit ConsoleNotifier(ConsoleOutput& output);
  void ShowBalloonTip(const std::u16string& text, platform::BalloonIcon icon,
                      const std::u16string& title, int timeout_ms) override;

 private:
  ConsoleOutput& output_;
};

// The activity log and the print service's lines as lines; clearing has nothing to take back,
// and waiting tickets show through the lines that say so.
class ConsoleLog final : public link::ActivityLog, public print::PrintMonitor {
 public:
  explicit ConsoleLog(ConsoleOutput& output);
  void WriteLog(const std::u16string& text) override;
  void Clear() override {}
  void WaitingChanged() override {}
  void Log(const std::u16string& line) override { WriteLog(line); }

 private:
  ConsoleOutput& output_;
};

}  // namespace quillon::shell
