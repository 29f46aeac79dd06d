#include "app/agent_wiring.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <vector>

#include "app/job_file.h"
#include "json/parser.h"
#include "link/message_framer.h"
#include "link/wire_text.h"
#include "platform/text.h"
#include "shell/branch_code_file.h"
#include "shell/console_output.h"
#include "shell/printing_options.h"

namespace quillon::app {

void CountingNotifier::ShowBalloonTip(const std::u16string& text, platform::BalloonIcon icon,
                                      const std::u16string& title, int timeout_ms) {
  if (icon == platform::BalloonIcon::Error) ++errors;
  inner_.ShowBalloonTip(text, icon, title, timeout_ms);
}

Printing::Printing(std::unique_ptr<platform::PrinterSystem> printer_system,
                   platform::Notifier& notifier, const documents::PrintOptions& options,
                   platform::EventLoop& event_loop, const std::filesystem::path& data_dir)
    : printers(std::move(printer_system)),
      engine(*printers, notifier),
      context{engine, options, clock, event_loop, data_dir.string()},
      handlers(context) {}

int PrintJobFile(const CommandLine& line, std::unique_ptr<platform::PrinterSystem> printers,
                 platform::EventLoop& event_loop, const std::filesystem::path& data_dir) {
  const std::optional<std::string> bytes = ReadJobFile(line.print_job);
  if (!bytes) {
    std::fprintf(stderr, "No se pudo leer el trabajo %s\n", line.print_job.c_str());
    return 2;
  }
  const link::WireEncoding encoding = JobFileEncoding(*bytes, line.encoding);
  json::ParseJson(link::DecodeWire(*bytes, encoding));
  if (!json::ParseErrorText().empty()) {
    std::fputs(platform::Utf16ToUtf8(json::ParseErrorText()).c_str(), stderr);
    return 1;
  }

  // The stored options, without rewriting Acceso: a one-off job changes nothing.
  const std::vector<std::u16string> lines = shell::ReadLines(data_dir / "Acceso");
  shell::PrintingOptions options([](const std::u16string&) {});
  options.Restore(lines.size() > 1 ? lines[1] : std::u16string());

  platform::SystemClock clock;
  shell::ConsoleOutput output(std::cout, clock);
  shell::ConsoleNotifier console_notifier(output);
  CountingNotifier notifier(console_notifier);
  shell::ConsoleLog log(output);
  Printing printing(std::move(printers), notifier, options, event_loop, data_dir);
  NoStatusReply no_reply;
  link::JobIntake intake(log, notifier, printing.handlers, no_reply, encoding, nullptr);
  intake.ReceiveBytes(*bytes + std::string(link::MessageFramer::kTerminator));
  return notifier.errors == 0 && intake.RejectedCount() == 0 ? 0 : 1;
}

}  // namespace quillon::app
