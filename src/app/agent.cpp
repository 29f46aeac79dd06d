#include "app/agent.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "adapters/qt/qt_dialogs.h"
#include "adapters/qt/qt_socket.h"
#include "adapters/qt/single_instance.h"
#include "app/agent_wiring.h"
#include "app/data_folder.h"
#include "app/printers.h"
#include "documents/documents.h"
#include "link/server_connection.h"
#include "link/wire_text.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "print/print_service.h"
#include "print/reprint_requests.h"
#include "shell/branch_code_file.h"
#include "shell/qt/main_window.h"
#include "shell/rejected_jobs_folder.h"
#include "shell/startup.h"

namespace quillon::app {

// Timer1, TimerPing and the connection, once the code is known.
int RunConnection(const CommandLine& line, const std::filesystem::path& data_dir,
                  const std::u16string& code, link::TrayStatus& tray, platform::Notifier& notifier,
                  link::ActivityLog& log, Printing& printing, shell::AgentWindow* window) {
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
  if (!shell::TakeDataFolder(instance, dialogs, data_dir)) return 1;

  shell::BranchCodeFile acceso(data_dir, dialogs);
  shell::MainWindow window(dialogs, acceso, data_dir, [] { QCoreApplication::exit(0); });
  window.Load();
  // Without a notification area the window is the only way in, so it stays in view.
  if (!QSystemTrayIcon::isSystemTrayAvailable()) window.show();

  Printing printing(line, window.Tray(), window.Options(), data_dir);
  printing.Start(window.Shell());
  window.SetPrintService(&printing.service);
  const int status = RunConnection(line, data_dir, window.BranchCode(), window.Shell(),
                                   window.Tray(), window.Shell(), printing, &window.Shell());
  window.SetPrintService(nullptr);
  return status;
}

std::filesystem::path DataDir(const CommandLine& line) { return ChooseDataFolder(line.data_dir); }

}  // namespace quillon::app
