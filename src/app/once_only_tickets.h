#pragma once
// The documents' way to the print service: a job sent again after its reply may have been lost
// hands over only the tickets an earlier run of it did not put in the outbox.
#include <memory>
#include <string>
#include <string_view>

#include "link/recent_jobs.h"
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

}  // namespace quillon::app
