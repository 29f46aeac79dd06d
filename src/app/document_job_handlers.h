#pragma once
// The job kinds handed to the documents and the print engine.
#include "documents/documents.h"
#include "link/job_handlers.h"

namespace quillon::app {

class DocumentJobHandlers final : public link::JobHandlers {
 public:
  explicit DocumentJobHandlers(documents::DocumentContext& context) : context_(context) {}

  void SetSettingsRows(json::Value rows) override;
  void PrintKitchenOrder(json::Collection& orders) override;
  void PrintInvoice(const json::Value& dato) override;
  void PrintCancellation(json::Collection& orders) override;
  void OpenCashDrawer() override;

 private:
  documents::DocumentContext& context_;
};

}  // namespace quillon::app
