#pragma once
// What a job can ask for, one call per kind, plus the hand-off of its settings rows.
#include "json/value.h"

namespace quillon::link {

class JobHandlers {
 public:
  virtual ~JobHandlers() = default;
  // The "config" rows of a job that parsed; they stay current until the next such job.
  virtual void SetSettingsRows(json::Value rows) = 0;
  virtual void PrintKitchenOrder(json::Collection& orders) = 0;
  virtual void PrintInvoice(const json::Value& dato) = 0;
  virtual void PrintCancellation(json::Collection& orders) = 0;
  virtual void OpenCashDrawer() = 0;
};

}  // namespace quillon::link
