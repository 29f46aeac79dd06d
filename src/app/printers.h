#pragma once
// The printers the agent prints on, and all that prints on them, from the documents to the
// outbox of the data folder. The toolkit's parts come from the platform's own source: the spool
// folders of --spool (asked first, with --default-printer as their default) then the CUPS queues
// on the Qt event loop on Linux, then the Windows printers on the message loop on Windows.
#include <filesystem>
#include <functional>
#include <memory>

#include "app/command_line.h"
#include "app/document_job_handlers.h"
#include "app/mapped_printers.h"
#include "app/once_only_tickets.h"
#include "documents/documents.h"
#include "link/recent_jobs.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/picture_decoder.h"
#include "platform/printer_system.h"
#include "platform/single_instance.h"
#include "platform/timer.h"
#include "print/outbox.h"
#include "print/print_engine.h"
#include "print/print_service.h"

namespace quillon::app {

std::unique_ptr<platform::PrinterSystem> MakePrinterSystem(const CommandLine& line);
// The spool folders of --spool first, then `system`, which is only asked for a printer that no
// spool folder holds; `system` alone without --spool.
std::unique_ptr<platform::PrinterSystem> WithSpoolFolders(
    const CommandLine& line, std::unique_ptr<platform::PrinterSystem> system);
std::unique_ptr<platform::Timer> MakeTimer();
// Runs the toolkit's loop until `done` is true or `limit_ms` went by; whether it is.
bool RunLoopUntil(const std::function<bool()>& done, int limit_ms);
// A socket on the toolkit's loop, for a network printer.
std::unique_ptr<platform::ClientSocket> MakePrinterSocket();
// The toolkit's picture reader: BMP, GIF, JPEG and PNG, the same as the window's.
std::shared_ptr<const platform::PictureDecoder> MakePictureDecoder();
// One agent per data folder.
std::unique_ptr<platform::SingleInstance> MakeSingleInstance(const std::filesystem::path& data_dir);

// The print engine, the documents and the job handlers, for one set of printers and options,
// keeping their files in `data_dir` through `file_system`.
struct Printing {
  Printing(const CommandLine& line, platform::Notifier& notifier,
           const documents::PrintOptions& options, platform::FileSystem& file_system,
           const std::filesystem::path& data_dir)
      : files(file_system),
        fallback_after_seconds(line.fallback_after >= 0
                                   ? line.fallback_after
                                   : print::PrintService::kDefaultFallbackAfterSeconds),
        pictures(MakePictureDecoder()),
        printers(std::make_unique<MappedPrinters>(
            line, MakePrinterSystem(line), MakePrinterSocket, MakeTimer,
            adapters::network_printer::PrinterEvents{[this](const std::u16string& text) {
                                                       if (monitor != nullptr) monitor->Log(text);
                                                     },
                                                     &notifier, nullptr,
                                                     [this] {
                                                       if (printer_state_changed)
                                                         printer_state_changed();
                                                     }},
            pictures.get())),
        recent_jobs(file_system, data_dir / "trabajos_recientes",
                    [this](const std::string& origin) { return outbox.HoldsTicketFrom(origin); }),
        retry_timer(MakeTimer()),
        watch_timer(MakeTimer()),
        outbox(file_system, data_dir, clock),
        service(*printers, notifier, outbox, *retry_timer, *watch_timer),
        once_only(recent_jobs, service),
        context{engine, once_only, notifier,      options, clock, data_dir.string(),
                {},     {},        pictures.get()},
        handlers(context, service, &recent_jobs) {
    // Once the outbox has a ticket, a job sent again must not print it again.
    service.SetTakenListener([this] { recent_jobs.TicketStored(); });
  }

  // Takes up what an earlier run left in the outbox; `monitor` hears of waiting tickets.
  void Start(print::PrintMonitor& print_monitor) {
    monitor = &print_monitor;
    service.SetMonitor(&print_monitor);
    service.SetFallbackAfter(fallback_after_seconds);
    service.Start();
  }

  platform::FileSystem& files;
  int fallback_after_seconds;
  print::PrintMonitor* monitor = nullptr;       // the network printers' log lines go there
  std::function<void()> printer_state_changed;  // a network printer's state, as it reports
  std::shared_ptr<const platform::PictureDecoder> pictures;
  std::unique_ptr<MappedPrinters> printers;
  link::RecentJobs recent_jobs;
  platform::SystemClock clock;
  std::unique_ptr<platform::Timer> retry_timer;
  std::unique_ptr<platform::Timer> watch_timer;
  print::Outbox outbox;
  print::PrintEngine engine;
  print::PrintService service;
  app::OnceOnlyTickets once_only;
  documents::DocumentContext context;
  app::DocumentJobHandlers handlers;
};

}  // namespace quillon::app
