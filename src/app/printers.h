#pragma once
// The printers the agent prints on: the spool folders of --spool (asked first, with
// --default-printer as their default) and the CUPS queues of the workstation; and all that
// prints on them, from the documents to the outbox of the data folder.
#include <filesystem>
#include <memory>

#include "adapters/qt/qt_event_loop.h"
#include "adapters/qt/qt_timer.h"
#include "app/command_line.h"
#include "app/document_job_handlers.h"
#include "documents/documents.h"
#include "platform/clock.h"
#include "platform/printer_system.h"
#include "print/outbox.h"
#include "print/print_engine.h"
#include "print/print_service.h"

namespace quillon::app {

std::unique_ptr<platform::PrinterSystem> MakePrinterSystem(const CommandLine& line);

// The print engine, the documents and the job handlers, for one set of printers and options.
struct Printing {
  Printing(const CommandLine& line, platform::Notifier& notifier,
           const documents::PrintOptions& options, const std::filesystem::path& data_dir)
      : printers(MakePrinterSystem(line)),
        outbox(data_dir, clock),
        service(*printers, notifier, outbox, retry_timer),
        context{engine, service, notifier, options, clock, event_loop, data_dir.string(), {}, {}},
        handlers(context, service) {}

  // Takes up what an earlier run left in the outbox; `monitor` hears of waiting tickets.
  void Start(print::PrintMonitor& monitor) {
    service.SetMonitor(&monitor);
    service.Start();
  }

  std::unique_ptr<platform::PrinterSystem> printers;
  platform::SystemClock clock;
  adapters::qt::QtEventLoop event_loop;
  adapters::qt::QtTimer retry_timer;
  print::Outbox outbox;
  print::PrintEngine engine;
  print::PrintService service;
  documents::DocumentContext context;
  app::DocumentJobHandlers handlers;
};

}  // namespace quillon::app
