#pragma once
// The main window's four printing options, all checked unless a test clears some.
#include <array>

#include "documents/print_options.h"

namespace quillon::test {

class FakePrintOptions : public documents::PrintOptions {
 public:
  bool IsChecked(documents::PrintOption option) const override {
    return checked_.at(documents::BoxIndex(option));
  }
  void Set(documents::PrintOption option, bool on) {
    checked_.at(documents::BoxIndex(option)) = on;
  }

 private:
  std::array<bool, documents::kPrintOptions.size()> checked_{true, true, true, true};
};

}  // namespace quillon::test
