#pragma once
// What a job can ask for, one call per kind, plus the hand-off of its settings rows.
#include <string>
#include <vector>

#include "json/value.h"

namespace quillon::link {

// Why a job, or a part of it, went to no printer, in Spanish (one reason a part). Empty when
// everything it asked for was printed or left out by the branch's own printing options.
using NotPrinted = std::vector<std::u16string>;

class JobHandlers {
 public:
  virtual ~JobHandlers() = default;
  // The "config" rows of a job that parsed; they stay current until the next such job.
  virtual void SetSettingsRows(json::Value rows) = 0;
  virtual NotPrinted PrintKitchenOrder(const json::Collection& orders) = 0;
  virtual NotPrinted PrintInvoice(const json::Value& dato) = 0;
  virtual NotPrinted PrintCancellation(const json::Collection& orders) = 0;
  virtual NotPrinted OpenCashDrawer() = 0;
};

}  // namespace quillon::link
