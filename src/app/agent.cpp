#include "app/agent.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>

#include "adapters/qt/qt_dialogs.h"
#include "adapters/qt/qt_event_loop.h"
#include "adapters/qt/qt_socket.h"
#include "adapters/qt/qt_timer.h"
#include "adapters/qt/single_instance.h"
#include "app/data_folder.h"
#include "app/document_job_handlers.h"
#include "app/job_file.h"
#include "app/printers.h"
#include "documents/documents.h"
#include "json/parser.h"
#include "link/job_intake.h"
#include "link/server_connection.h"
#include "link/wire_text.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "print/print_engine.h"
#include "print/print_service.h"
#include "print/reprint_requests.h"
#include "shell/branch_code_file.h"
#include "shell/console_dialogs.h"
#include "shell/console_output.h"
#include "shell/printing_options.h"
#include "shell/qt/main_window.h"
#include "shell/rejected_jobs_folder.h"
#include "shell/startup_texts.h"

namespace quillon::app {
namespace {

using platform::u16;

constexpr char16_t kFolderInUse[] =
    u"Un agente en ejecución usa esta carpeta de datos: el trabajo no se imprimió.";

// Without a tray the connection state shows only in the balloons and the log.
class NoTray final : public link::TrayStatus {
 public:
  void SetIcon(link::TrayImage, const std::u16string&) override {}
};

// Counts the error balloons a one-off job shows, so its exit status can tell.
class CountingNotifier final : public platform::Notifier {
 public:
  explicit CountingNotifier(platform::Notifier& inner) : inner_(inner) {}
  void ShowBalloonTip(const std::u16string& text, platform::BalloonIcon icon,
                      const std::u16string& title, int timeout_ms) override {
    if (icon == platform::BalloonIcon::Error) ++errors;
    inner_.ShowBalloonTip(text, icon, title, timeout_ms);
  }
  int errors = 0;

 private:
  platform::Notifier& inner_;
};

// A job run from a file has no server to answer.
class NoStatusReply final : public link::StatusReply {
 public:
  void SendStatus() override {}
};

// Steps 1 to 3 of the start: one agent per data folder.
bool TakeDataFolder(adapters::qt::SingleInstance& instance, platform::Dialogs& dialogs,
                    const std::filesystem::path& data_dir) {
  switch (instance.Acquire()) {
    case adapters::qt::SingleInstance::Result::Acquired:
      return true;
    case adapters::qt::SingleInstance::Result::HeldByOther:
      dialogs.MessageBox(shell::kAlreadyRunningMessage, u"", platform::MessageIcon::Warning);
      return false;
    case adapters::qt::SingleInstance::Result::Unavailable:
      break;
  }
  dialogs.MessageBox(u"No se puede usar la carpeta de datos " + data_dir.u16string() +
                         u16(": no existe o no admite escritura. Indique otra con --data-dir."),
                     u"", platform::MessageIcon::Error);
  return false;
}

// Timer1, TimerPing and the connection, once the code is known.
int RunConnection(const CommandLine& line, const std::filesystem::path& data_dir,
                  const std::u16string& code, link::TrayStatus& tray, platform::Notifier& notifier,
                  link::ActivityLog& log, Printing& printing, shell::MainWindow* window) {
  adapters::qt::QtSocket winsock;
  shell::RejectedJobsFolder rejected(data_dir / "rechazados", printing.clock);
  link::ServerConnection connection(winsock, tray, notifier, log, printing.handlers,
                                    link::MakeServerEndpoint(line.server_host, line.server_port),
                                    link::WireEncodingNamed(line.encoding), rejected);
  connection.SetBranchCode(code);
  auto show_state = [&] {
    if (window != nullptr) window->SetStateCaption(connection.state_label());
  };

  QTimer Timer1;
  Timer1.setInterval(link::ServerConnection::kWatchIntervalMs);
  QObject::connect(&Timer1, &QTimer::timeout, [&] {
    connection.OnWatchTick();
    show_state();
  });
  QTimer TimerPing;
  TimerPing.setInterval(link::ServerConnection::kPingIntervalMs);
  QObject::connect(&TimerPing, &QTimer::timeout, [&] { connection.OnPingTick(); });
  if (window != nullptr) window->SetSendStatusAction([&] { connection.SendStatus(); });
  // Reprints asked for on the command line while this agent holds the data folder.
  QTimer requests;
  requests.setInterval(1000);
  QObject::connect(&requests, &QTimer::timeout,
                   [&] { print::ServeReprintRequests(data_dir, printing.service); });
  Timer1.start();
  TimerPing.start();
  requests.start();
  connection.Start();
  show_state();

  const int status = QCoreApplication::exec();
  if (window != nullptr) window->SetSendStatusAction(nullptr);
  return status;
}

int RunDesktop(const CommandLine& line, const std::filesystem::path& data_dir) {
  QApplication::setQuitOnLastWindowClosed(false);
  adapters::qt::QtDialogs dialogs;
  adapters::qt::SingleInstance instance(QString::fromStdU16String(data_dir.u16string()));
  if (!TakeDataFolder(instance, dialogs, data_dir)) return 1;

  shell::BranchCodeFile acceso(data_dir, dialogs);
  shell::MainWindow window(dialogs, acceso, data_dir, [] { QCoreApplication::exit(0); });
  window.Load();
  // Without a notification area the window is the only way in, so it stays in view.
  if (!QSystemTrayIcon::isSystemTrayAvailable()) window.show();

  Printing printing(line, window.Tray(), window.Options(), data_dir);
  printing.Start(window);
  window.SetPrintService(&printing.service);
  const int status = RunConnection(line, data_dir, window.BranchCode(), window, window.Tray(),
                                   window, printing, &window);
  window.SetPrintService(nullptr);
  return status;
}

int RunHeadless(const CommandLine& line, const std::filesystem::path& data_dir) {
  shell::ConsoleDialogs dialogs(std::cin, std::cerr);
  adapters::qt::SingleInstance instance(QString::fromStdU16String(data_dir.u16string()));
  if (!TakeDataFolder(instance, dialogs, data_dir)) return 1;

  shell::BranchCodeFile acceso(data_dir, dialogs);
  const std::vector<std::u16string> lines = acceso.ReadBranchCode();
  const std::u16string& code = lines[0];
  shell::PrintingOptions options(
      [&](const std::u16string& list) { acceso.SaveOptions(code, list); });
  options.Restore(lines.size() > 1 ? lines[1] : std::u16string());

  platform::SystemClock clock;
  shell::ConsoleOutput output(std::cout, clock);
  shell::ConsoleNotifier notifier(output);
  shell::ConsoleLog log(output);
  NoTray tray;
  Printing printing(line, notifier, options, data_dir);
  printing.Start(log);
  return RunConnection(line, data_dir, code, tray, notifier, log, printing, nullptr);
}

}  // namespace

std::filesystem::path DataDir(const CommandLine& line) { return ChooseDataFolder(line.data_dir); }

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
  adapters::qt::SingleInstance instance(QString::fromStdU16String(data_dir.u16string()));
  if (instance.Acquire() == adapters::qt::SingleInstance::Result::HeldByOther) {
    std::fprintf(stderr, "%s\n", platform::Utf16ToUtf8(kFolderInUse).c_str());
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
  Printing printing(line, notifier, options, data_dir);
  printing.Start(log);
  NoStatusReply no_reply;
  link::JobIntake intake(log, notifier, printing.handlers, no_reply, encoding, nullptr);
  intake.RunWholeJob(*bytes, read);
  return notifier.errors == 0 && intake.RejectedCount() == 0 ? 0 : 1;
}

}  // namespace quillon::app
