#include "app/document_job_handlers.h"

namespace quillon::app {

void DocumentJobHandlers::SetSettingsRows(json::Value rows) {
  context_.engine.SetSettingsRows(std::move(rows));
}

void DocumentJobHandlers::PrintKitchenOrder(json::Collection& orders) {
  documents::PrintKitchenOrder(context_, orders);
}

void DocumentJobHandlers::PrintInvoice(const json::Value& dato) {
  documents::PrintInvoice(context_, dato);
}

void DocumentJobHandlers::PrintCancellation(json::Collection& orders) {
  documents::PrintCancellation(context_, orders);
}

void DocumentJobHandlers::OpenCashDrawer() { context_.engine.OpenCashDrawer(); }

}  // namespace quillon::app
