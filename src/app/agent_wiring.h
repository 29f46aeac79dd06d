#pragma once
// The pieces of the running agent that do not depend on the toolkit: the stand-ins for what a
// run without a window lacks, and the run without a window itself.
#include <filesystem>
#include <functional>
#include <string>

#include "app/command_line.h"
#include "link/activity_log.h"
#include "link/job_intake.h"
#include "link/tray_status.h"
#include "platform/notifier.h"

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
  void SendStatus() override {}
};

struct Printing;

// Runs the connection on the toolkit's loop until the program ends; returns the exit status.
using ConnectionRun =
    std::function<int(const std::u16string& code, link::TrayStatus& tray,
                      platform::Notifier& notifier, link::ActivityLog& log, Printing& printing)>;

// --headless: one agent per data folder, the code and options from Acceso (prompting on the
// console when none is stored), balloons and log lines on standard output.
int RunHeadless(const CommandLine& line, const std::filesystem::path& data_dir,
                const ConnectionRun& run_connection);

}  // namespace quillon::app
