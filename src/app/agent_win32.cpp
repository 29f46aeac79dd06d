// The running agent on Windows: the Win32 window and tray, or the console, Winsock and the
// printers, wired together on the thread's message loop.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "adapters/win32/message_window.h"
#include "adapters/win32/named_mutex_instance.h"
#include "adapters/win32/win32_dialogs.h"
#include "adapters/win32/window_timer.h"
#include "adapters/win32/winsock_socket.h"
#include "app/agent.h"
#include "app/agent_wiring.h"
#include "app/printers.h"
#include "link/server_connection.h"
#include "link/wire_text.h"
#include "print/reprint_requests.h"
#include "shell/agent_window.h"
#include "shell/branch_code_file.h"
#include "shell/rejected_jobs_folder.h"
#include "shell/startup.h"
#include "shell/win32/main_window_win32.h"

namespace quillon::app {

// Timer1, TimerPing and the connection, once the code is known; runs until the program ends.
int RunConnection(const CommandLine& line, const std::filesystem::path& data_dir,
                  const std::u16string& code, link::TrayStatus& tray, platform::Notifier& notifier,
                  link::ActivityLog& log, Printing& printing, shell::AgentWindow* window) {
  adapters::win32::MessageWindow events;
  adapters::win32::WinsockSocket winsock(events);
  shell::RejectedJobsFolder rejected(data_dir / "rechazados", printing.clock);
  link::ServerConnection connection(winsock, tray, notifier, log, printing.handlers,
                                    link::MakeServerEndpoint(line.server_host, line.server_port),
                                    link::WireEncodingNamed(line.encoding), rejected);
  connection.SetBranchCode(code);
  auto show_state = [&] {
    if (window != nullptr) window->SetStateCaption(connection.state_label());
  };

  adapters::win32::WindowTimer Timer1(events, link::ServerConnection::kWatchIntervalMs, [&] {
    connection.OnWatchTick();
    show_state();
  });
  adapters::win32::WindowTimer TimerPing(events, link::ServerConnection::kPingIntervalMs,
                                         [&] { connection.OnPingTick(); });
  if (window != nullptr) window->SetSendStatusAction([&] { connection.SendStatus(); });
  // Reprints asked for on the command line while this agent holds the data folder.
  adapters::win32::WindowTimer requests(
      events, 1000, [&] { print::ServeReprintRequests(data_dir, printing.service); });
  Timer1.Start();
  TimerPing.Start();
  requests.Start();
  connection.Start();
  show_state();

  const int status = adapters::win32::RunMessageLoop();
  if (window != nullptr) window->SetSendStatusAction(nullptr);
  return status;
}

int RunDesktop(const CommandLine& line, const std::filesystem::path& data_dir) {
  adapters::win32::Win32Dialogs dialogs;
  adapters::win32::NamedMutexInstance instance(data_dir);
  if (!shell::TakeDataFolder(instance, dialogs, data_dir)) return 1;

  shell::BranchCodeFile acceso(data_dir, dialogs);
  shell::MainWindowWin32 window(dialogs, acceso, data_dir, [] { PostQuitMessage(0); });
  dialogs.SetOwner(window.Handle());
  window.Shell().Load();

  Printing printing(line, window.Tray(), window.Shell().Options(), data_dir);
  printing.Start(window.Shell());
  window.Shell().SetPrintService(&printing.service);
  const int status = RunConnection(line, data_dir, window.Shell().BranchCode(), window.Shell(),
                                   window.Tray(), window.Shell(), printing, &window.Shell());
  window.Shell().SetPrintService(nullptr);
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

}  // namespace quillon::app
