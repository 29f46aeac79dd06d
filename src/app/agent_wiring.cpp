#include "app/agent_wiring.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "adapters/spool/spool_printers.h"
#include "app/agent.h"
#include "app/diagnostics.h"
#include "app/job_file.h"
#include "app/printers.h"
#include "app/window_printers.h"
#include "json/parser.h"
#include "link/server_connection.h"
#include "link/wire_text.h"
#include "platform/disk_file_system.h"
#include "platform/failure.h"
#include "platform/text.h"
#include "print/chained_printer_system.h"
#include "print/reprint_requests.h"
#include "shell/branch_code_file.h"
#include "shell/console_dialogs.h"
#include "shell/console_output.h"
#include "shell/printing_options.h"
#include "shell/rejected_jobs_folder.h"
#include "shell/startup.h"

namespace quillon::app {
namespace {

// The classic "path/file access error".
constexpr int kFileAccessError = 75;

constexpr char16_t kFolderInUse[] =
    u"Un agente en ejecución usa esta carpeta de datos: el trabajo no se imprimió.";

// The spool folders first, then the system's printers; owns both.
class SpoolFirst final : public platform::PrinterSystem {
 public:
  SpoolFirst(const CommandLine& line, std::unique_ptr<platform::PrinterSystem> system)
      : spool_(line.spool_dir, platform::Utf8ToUtf16(line.default_printer), MakePictureDecoder()),
        system_(std::move(system)),
        chain_({&spool_, system_.get()}) {}
  std::shared_ptr<platform::PrinterQueue> FindPrinter(std::u16string_view name) override {
    return chain_.FindPrinter(name);
  }
  std::u16string DefaultPrinterName() override { return chain_.DefaultPrinterName(); }
  std::vector<std::u16string> PrinterNames() override { return chain_.PrinterNames(); }
  std::vector<platform::JobReport> FollowJobs(std::u16string_view printer,
                                              const std::vector<std::int64_t>& jobs) override {
    return chain_.FollowJobs(printer, jobs);
  }
  void CancelJob(std::u16string_view printer, std::int64_t job) override {
    chain_.CancelJob(printer, job);
  }

 private:
  adapters::spool::SpoolPrinterSystem spool_;
  std::unique_ptr<platform::PrinterSystem> system_;
  print::ChainedPrinterSystem chain_;
};

}  // namespace

std::unique_ptr<platform::PrinterSystem> WithSpoolFolders(
    const CommandLine& line, std::unique_ptr<platform::PrinterSystem> system) {
  if (line.spool_dir.empty()) return system;
  return std::make_unique<SpoolFirst>(line, std::move(system));
}

FileLogging::FileLogging(const CommandLine& line, const std::filesystem::path& data_dir,
                         link::ActivityLog& log, print::PrintMonitor& monitor,
                         platform::Notifier& balloons)
    : flush_timer(MakeTimer()),
      file(data_dir / "registro", clock, *flush_timer,
           line.log_days > 0 ? line.log_days : shell::FileLog::kDefaultKeptDays,
           [&log](const std::u16string& stopped) { log.WriteLog(stopped); }),
      activity(log, monitor, file),
      notifier(balloons, file) {}

void CountingNotifier::ShowBalloonTip(const std::u16string& text, platform::BalloonIcon icon,
                                      const std::u16string& title, int timeout_ms) {
  if (icon == platform::BalloonIcon::kError) ++errors;
  inner_.ShowBalloonTip(text, icon, title, timeout_ms);
}

namespace {

// --headless: one agent per data folder, the code and options from Acceso (prompting on the
// console when none is stored), balloons and log lines on standard output.
int RunHeadless(const CommandLine& line, const std::filesystem::path& data_dir) {
  shell::ConsoleDialogs dialogs(std::cin, std::cerr);
  const std::unique_ptr<platform::SingleInstance> instance = MakeSingleInstance(data_dir);
  if (!shell::TakeDataFolder(*instance, dialogs, data_dir)) return 1;

  platform::DiskFileSystem files;
  shell::BranchCodeFile acceso(files, data_dir, dialogs);
  const shell::ConsoleShell console(acceso);

  platform::SystemClock clock;
  shell::ConsoleOutput output(std::cout, clock);
  shell::ConsoleNotifier console_notifier(output);
  shell::ConsoleLog console_log(output);
  FileLogging logging(line, data_dir, console_log, console_log, console_notifier);
  NoTray tray;
  Printing printing(line, logging.notifier, console.Options(), files, data_dir);
  printing.Start(logging.activity);
  return RunConnection(line, data_dir, console.BranchCode(), tray, logging.notifier,
                       logging.activity, printing, nullptr);
}

}  // namespace

int RunConnection(const CommandLine& line, const std::filesystem::path& data_dir,
                  const std::u16string& code, link::TrayStatus& tray, platform::Notifier& notifier,
                  link::ActivityLog& log, Printing& printing, shell::AgentWindow* window) {
  const std::unique_ptr<ConnectionLoop> loop = MakeConnectionLoop();
  shell::RejectedJobsFolder rejected(printing.files, data_dir / "rechazados", printing.clock);
  link::ServerConnection connection(loop->Socket(), tray, notifier, log, printing.handlers,
                                    link::MakeServerEndpoint(line.server_host, line.server_port),
                                    link::WireEncodingNamed(line.encoding), rejected,
                                    &printing.recent_jobs);
  connection.SetBranchCode(code);
  auto show_state = [&] {
    if (window != nullptr) window->SetStateCaption(connection.state_label());
  };
  loop->Every(link::ServerConnection::kWatchIntervalMs, [&] {
    connection.OnWatchTick();
    show_state();
  });
  loop->Every(link::ServerConnection::kPingIntervalMs, [&] { connection.OnPingTick(); });
  // Reprints asked for on the command line while this agent holds the data folder.
  loop->Every(1000, [&] { print::ServeRequests(printing.files, data_dir, printing.service); });
  WindowPrinters window_printers(printing);
  if (window != nullptr) {
    window->SetPrinterDirectory(&window_printers);
    printing.printer_state_changed = [window] { window->PrintersChanged(); };
    window->SetSendStatusAction([&] { connection.SendStatus(); });
    // A running agent applied its agent.conf whole, so there is no reason to report.
    window->SetDiagnosticsAction([&line, &data_dir](const std::filesystem::path& zip) {
      const DiagnosticsResult result =
          WriteDiagnostics({line, data_dir, SettingsFile(data_dir), ""}, zip, false);
      if (!result.written) throw platform::Failure(kFileAccessError, result.reason);
    });
  }
  connection.Start();
  show_state();

  const int status = loop->Run();
  if (window != nullptr) {
    window->SetSendStatusAction(nullptr);
    window->SetDiagnosticsAction(nullptr);
    printing.printer_state_changed = nullptr;
    window->SetPrinterDirectory(nullptr);
  }
  return status;
}

int RunAgent(const CommandLine& line, bool headless) {
  const std::filesystem::path data_dir = DataDir(line);
  try {
    return headless ? RunHeadless(line, data_dir) : RunDesktop(line, data_dir);
  } catch (const shell::InputClosed& closed) {
    std::fprintf(stderr, "%s\n", closed.what());
    return 3;
  }
}

int RunPrintJob(const CommandLine& line) {
  const std::optional<std::string> bytes = ReadJobFile(line.print_job);
  if (!bytes) {
    std::fprintf(stderr, "No se pudo leer el trabajo %s\n", line.print_job.c_str());
    return 2;
  }
  const link::WireEncoding encoding = JobFileEncoding(*bytes, line.encoding);
  const json::ParseResult read = json::ParseJson(*bytes, link::ParserEncoding(encoding));
  if (!read.errors.empty()) {
    std::fputs(platform::Utf16ToUtf8(read.errors).c_str(), stderr);
    return 1;
  }

  // The outbox of the data folder belongs to one program at a time.
  const std::filesystem::path data_dir = DataDir(line);
  const std::unique_ptr<platform::SingleInstance> instance = MakeSingleInstance(data_dir);
  if (instance->Acquire() == platform::SingleInstance::Result::kHeldByOther) {
    std::fprintf(stderr, "%s\n", platform::Utf16ToUtf8(kFolderInUse).c_str());
    return 1;
  }

  // The stored options, without rewriting Acceso: a one-off job changes nothing.
  platform::DiskFileSystem files;
  const std::vector<std::u16string> lines = shell::ReadLines(files, data_dir / "Acceso");
  shell::PrintingOptions options([](const std::u16string&) {});
  options.Restore(lines.size() > 1 ? lines[1] : std::u16string());

  platform::SystemClock clock;
  shell::ConsoleOutput output(std::cout, clock);
  shell::ConsoleNotifier console_notifier(output);
  shell::ConsoleLog console_log(output);
  FileLogging logging(line, data_dir, console_log, console_log, console_notifier);
  CountingNotifier notifier(logging.notifier);
  Printing printing(line, notifier, options, files, data_dir);
  printing.Start(logging.activity);
  NoStatusReply no_reply;
  link::JobIntake intake(logging.activity, notifier, printing.handlers, no_reply, encoding,
                         nullptr);
  intake.RunWholeJob(*bytes, read);
  return notifier.errors == 0 && intake.RejectedCount() == 0 ? 0 : 1;
}

}  // namespace quillon::app
