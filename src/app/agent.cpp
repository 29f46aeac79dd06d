#include "app/agent.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "adapters/qt/qt_dialogs.h"
#include "adapters/qt/qt_socket.h"
#include "adapters/qt/single_instance.h"
#include "adapters/qt/termination_signals.h"
#include "app/agent_wiring.h"
#include "app/data_folder.h"
#include "app/printers.h"
#include "app/xdg_folders.h"
#include "documents/documents.h"
#include "platform/clock.h"
#include "platform/disk_file_system.h"
#include "platform/text.h"
#include "print/print_service.h"
#include "shell/branch_code_file.h"
#include "shell/qt/main_window.h"
#include "shell/startup.h"

namespace quillon::app {

namespace {

class QtConnectionLoop final : public ConnectionLoop {
 public:
  platform::ClientSocket& Socket() override { return socket_; }
  void Every(int interval_ms, std::function<void()> tick) override {
    QTimer& timer = *timers_.emplace_back(std::make_unique<QTimer>());
    timer.setInterval(interval_ms);
    QObject::connect(&timer, &QTimer::timeout, std::move(tick));
    timer.start();
  }
  int Run() override {
    const adapters::qt::TerminationSignals termination;
    return QCoreApplication::exec();
  }

 private:
  adapters::qt::QtSocket socket_;
  std::vector<std::unique_ptr<QTimer>> timers_;
};

}  // namespace

std::unique_ptr<ConnectionLoop> MakeConnectionLoop() {
  return std::make_unique<QtConnectionLoop>();
}

int RunDesktop(const CommandLine& line, const std::filesystem::path& data_dir) {
  QApplication::setQuitOnLastWindowClosed(false);
  adapters::qt::QtDialogs dialogs;
  adapters::qt::SingleInstance instance(data_dir);
  if (!shell::TakeDataFolder(instance, dialogs, data_dir)) return 1;

  platform::DiskFileSystem files;
  shell::BranchCodeFile acceso(files, data_dir, dialogs);
  const std::shared_ptr<const platform::PictureDecoder> pictures = MakePictureDecoder();
  shell::MainWindow window(dialogs, *pictures, acceso, data_dir, [] { QCoreApplication::exit(0); });
  window.Load();
  // Without a notification area the window is the only way in, so it stays in view.
  if (!QSystemTrayIcon::isSystemTrayAvailable()) window.show();

  FileLogging logging(line, data_dir, window.Shell(), window.Shell(), window.Tray());
  window.Shell().SetFileLog(&logging.file);
  Printing printing(line, logging.notifier, window.Options(), files, data_dir);
  printing.Start(logging.activity);
  window.SetPrintService(&printing.service);
  const int status = RunConnection(line, data_dir, window.BranchCode(), window.Shell(),
                                   logging.notifier, logging.activity, printing, &window.Shell());
  window.SetPrintService(nullptr);
  window.Shell().SetFileLog(nullptr);
  return status;
}

std::filesystem::path DataDir(const CommandLine& line) { return ChooseDataFolder(line.data_dir); }

std::filesystem::path SettingsFile(const std::filesystem::path&) {
  return UserConfigHome() / "quillon-agent" / "agent.conf";
}

}  // namespace quillon::app
