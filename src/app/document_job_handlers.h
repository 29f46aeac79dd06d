#pragma once
// The job kinds handed to the documents and the print engine, and what they could not print.
#include "documents/documents.h"
#include "link/job_handlers.h"
#include "link/recent_jobs.h"
#include "print/print_service.h"

namespace quillon::app {

class DocumentJobHandlers final : public link::JobHandlers {
 public:
  // `jobs` keeps a drawer kick of a job sent again from opening the drawer twice; null where no
  // job can come again.
  DocumentJobHandlers(documents::DocumentContext& context, print::PrintService& printing,
                      link::RecentJobs* jobs = nullptr)
      : context_(context), printing_(printing), jobs_(jobs) {}

  void SetSettingsRows(json::Value rows) override;
  link::NotPrinted PrintKitchenOrder(const json::Collection& orders) override;
  link::NotPrinted PrintInvoice(const json::Value& dato) override;
  link::NotPrinted PrintCancellation(const json::Collection& orders) override;
  link::NotPrinted OpenCashDrawer() override;

 private:
  documents::DocumentContext& context_;
  print::PrintService& printing_;  // the drawer kick goes out through it
  link::RecentJobs* jobs_;
};

}  // namespace quillon::app
