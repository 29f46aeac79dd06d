#include "app/document_job_handlers.h"

#include <utility>

#include "platform/failure.h"
#include "print/cash_drawer.h"

namespace quillon::app {

void DocumentJobHandlers::SetSettingsRows(json::Value rows) {
  context_.engine.SetSettingsRows(std::move(rows));
}

link::NotPrinted DocumentJobHandlers::PrintKitchenOrder(const json::Collection& orders) {
  context_.not_printed.clear();
  documents::PrintKitchenOrder(context_, orders);
  return std::exchange(context_.not_printed, {});
}

link::NotPrinted DocumentJobHandlers::PrintInvoice(const json::Value& dato) {
  context_.not_printed.clear();
  documents::PrintInvoice(context_, dato);
  return std::exchange(context_.not_printed, {});
}

link::NotPrinted DocumentJobHandlers::PrintCancellation(const json::Collection& orders) {
  context_.not_printed.clear();
  documents::PrintCancellation(context_, orders);
  return std::exchange(context_.not_printed, {});
}

link::NotPrinted DocumentJobHandlers::OpenCashDrawer() {
  try {
    const auto kick = [&] { print::OpenCashDrawer(printing_); };
    if (jobs_ != nullptr) {
      jobs_->HandOverOnce(kick);
    } else {
      kick();
    }
  } catch (const std::exception& failure) {
    return {u"no se pudo abrir el cajón (" + platform::FailureDescription(failure) + u")"};
  }
  return {};
}

}  // namespace quillon::app
