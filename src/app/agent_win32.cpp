// The running agent on Windows: the Win32 window and tray, or the console, Winsock and the
// printers, wired together on the thread's message loop.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "adapters/win32/message_window.h"
#include "adapters/win32/named_mutex_instance.h"
#include "adapters/win32/win32_dialogs.h"
#include "adapters/win32/window_timer.h"
#include "adapters/win32/winsock_socket.h"
#include "app/agent.h"
#include "app/agent_wiring.h"
#include "app/printers.h"
#include "platform/disk_file_system.h"
#include "shell/agent_window.h"
#include "shell/branch_code_file.h"
#include "shell/startup.h"
#include "shell/win32/main_window_win32.h"

namespace quillon::app {

namespace {

class Win32ConnectionLoop final : public ConnectionLoop {
 public:
  Win32ConnectionLoop() : socket_(events_) {}
  platform::ClientSocket& Socket() override { return socket_; }
  void Every(int interval_ms, std::function<void()> tick) override {
    timers_.push_back(
        std::make_unique<adapters::win32::WindowTimer>(events_, interval_ms, std::move(tick)));
    timers_.back()->Start();
  }
  int Run() override { return adapters::win32::RunMessageLoop(); }

 private:
  adapters::win32::MessageWindow events_;
  adapters::win32::WinsockSocket socket_;
  std::vector<std::unique_ptr<adapters::win32::WindowTimer>> timers_;
};

}  // namespace

std::unique_ptr<ConnectionLoop> MakeConnectionLoop() {
  return std::make_unique<Win32ConnectionLoop>();
}

int RunDesktop(const CommandLine& line, const std::filesystem::path& data_dir) {
  adapters::win32::Win32Dialogs dialogs;
  adapters::win32::NamedMutexInstance instance(data_dir);
  if (!shell::TakeDataFolder(instance, dialogs, data_dir)) return 1;

  platform::DiskFileSystem files;
  shell::BranchCodeFile acceso(files, data_dir, dialogs);
  const std::shared_ptr<const platform::PictureDecoder> pictures = MakePictureDecoder();
  shell::MainWindowWin32 window(dialogs, *pictures, acceso, data_dir, [] { PostQuitMessage(0); });
  dialogs.SetOwner(window.Handle());
  window.Shell().Load();

  FileLogging logging(line, data_dir, window.Shell(), window.Shell(), window.Tray());
  window.Shell().SetFileLog(&logging.file);
  Printing printing(line, logging.notifier, window.Shell().Options(), files, data_dir);
  printing.Start(logging.activity);
  window.Shell().SetPrintService(&printing.service);
  const int status = RunConnection(line, data_dir, window.Shell().BranchCode(), window.Shell(),
                                   logging.notifier, logging.activity, printing, &window.Shell());
  window.Shell().SetPrintService(nullptr);
  window.Shell().SetFileLog(nullptr);
  return status;
}

std::filesystem::path DataDir(const CommandLine& line) {
  if (!line.data_dir.empty()) return std::filesystem::path(line.data_dir);
  std::wstring program(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
    if (length < program.size()) {
      program.resize(length);
      break;
    }
    program.resize(program.size() * 2);
  }
  return std::filesystem::path(program).parent_path();
}

std::filesystem::path SettingsFile(const std::filesystem::path& data_dir) {
  return data_dir / "agent.conf";
}

}  // namespace quillon::app
