#pragma once
// The documents' way to the print service: a job sent again after its reply may have been lost
// hands over only the tickets an earlier run of it did not put in the outbox.
#include <memory>
#include <string>
#include <string_view>

#include "link/recent_jobs.h"
#include "platform/printer_system.h"
#include "print/print_service.h"

namespace quillon::app {

class OnceOnlyTickets final : public print::TicketSink {
 public:
  OnceOnlyTickets(link::RecentJobs& jobs, print::TicketSink& service)
      : jobs_(jobs), service_(service) {}

  // A ticket left out is announced by nobody: it went, or waits, from the earlier run.
  print::Delivery Print(print::DrawnTicket ticket) override;

 private:
  link::RecentJobs& jobs_;
  print::TicketSink& service_;
};

// The print service writes a ticket into the outbox before it asks for any printer: the first
// such question while a ticket is handed over marks it taken, so that a crash while it prints
// does not print it again when its job is sent again.
class TakenAtFirstPrinterCall final : public platform::PrinterSystem {
 public:
  TakenAtFirstPrinterCall(link::RecentJobs& jobs, platform::PrinterSystem& printers)
      : jobs_(jobs), printers_(printers) {}

  std::shared_ptr<platform::PrinterQueue> FindPrinter(std::u16string_view name) override;
  std::u16string DefaultPrinterName() override;

 private:
  link::RecentJobs& jobs_;
  platform::PrinterSystem& printers_;
};

}  // namespace quillon::app
