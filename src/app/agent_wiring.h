#pragma once
// The pieces of the running agent that do not depend on the toolkit: the stand-ins for what a
// run without a window lacks, and what each toolkit's agent source provides.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "link/activity_log.h"
#include "link/job_intake.h"
#include "link/tray_status.h"
#include "platform/clock.h"
#include "platform/notifier.h"
#include "platform/socket.h"
#include "platform/timer.h"
#include "print/print_service.h"
#include "shell/agent_window.h"
#include "shell/file_log.h"

namespace quillon::app {

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
                      const std::u16string& title, int timeout_ms) override;
  int errors = 0;

 private:
  platform::Notifier& inner_;
};

// A job run from a file has no server to answer.
class NoStatusReply final : public link::StatusReply {
 public:
  bool SendStatus() override { return false; }
};

struct Printing;

// registro/ of the data folder and what feeds it: `log`, `monitor` and `balloons` wrapped so
// that their lines and balloons also reach the files; `log` alone says when the files stop.
struct FileLogging {
  FileLogging(const CommandLine& line, const std::filesystem::path& data_dir,
              link::ActivityLog& log, print::PrintMonitor& monitor, platform::Notifier& balloons);

  platform::SystemClock clock;
  std::unique_ptr<platform::Timer> flush_timer;
  shell::FileLog file;
  shell::FileLoggedActivity activity;
  shell::FileLoggedNotifier notifier;
};

// The toolkit's side of a running connection: its socket, its repeating timers and its loop.
class ConnectionLoop {
 public:
  virtual ~ConnectionLoop() = default;
  virtual platform::ClientSocket& Socket() = 0;
  // Calls `tick` every `interval_ms` milliseconds while the loop runs.
  virtual void Every(int interval_ms, std::function<void()> tick) = 0;
  // Runs the loop until the program ends; returns its exit status.
  virtual int Run() = 0;
};

// What each toolkit's agent source (agent.cpp with Qt, agent_win32.cpp with Win32) provides.
// The window, the tray and the prompts of the desktop, until the program ends.
int RunDesktop(const CommandLine& line, const std::filesystem::path& data_dir);
// Where this platform keeps agent.conf: the user's configuration folder on Linux, the data folder
// on Windows.
std::filesystem::path SettingsFile(const std::filesystem::path& data_dir);
std::unique_ptr<ConnectionLoop> MakeConnectionLoop();

// The watch and ping timers, the reprint requests and the connection on the toolkit's loop,
// once the code is known, until the program ends; `window` is null without a window.
int RunConnection(const CommandLine& line, const std::filesystem::path& data_dir,
                  const std::u16string& code, link::TrayStatus& tray, platform::Notifier& notifier,
                  link::ActivityLog& log, Printing& printing, shell::AgentWindow* window);

}  // namespace quillon::app
