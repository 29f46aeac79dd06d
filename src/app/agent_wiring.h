#pragma once
// The pieces of the running agent that do not depend on the toolkit: the print engine with the
// documents and their job handlers, the stand-ins for what a run without a window lacks, and a
// one-off job from a file.
#include <filesystem>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/document_job_handlers.h"
#include "documents/documents.h"
#include "link/job_intake.h"
#include "link/tray_status.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/notifier.h"
#include "platform/printer_system.h"
#include "print/print_engine.h"

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

// The print engine, the documents and the job handlers, for one set of printers and options.
struct Printing {
  Printing(std::unique_ptr<platform::PrinterSystem> printer_system, platform::Notifier& notifier,
           const documents::PrintOptions& options, platform::EventLoop& event_loop,
           const std::filesystem::path& data_dir);

  std::unique_ptr<platform::PrinterSystem> printers;
  platform::SystemClock clock;
  print::PrintEngine engine;
  documents::DocumentContext context;
  app::DocumentJobHandlers handlers;
};

// --print-job once the program's printers and event loop exist; see RunPrintJob.
int PrintJobFile(const CommandLine& line, std::unique_ptr<platform::PrinterSystem> printers,
                 platform::EventLoop& event_loop, const std::filesystem::path& data_dir);

}  // namespace quillon::app
