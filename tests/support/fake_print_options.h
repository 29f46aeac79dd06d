#pragma once
// The main window's four printing options, all checked unless a test clears some.
#include <array>

#include "documents/documents.h"

namespace quillon::test {

class FakePrintOptions : public documents::PrintOptions {
 public:
  bool IsChecked(int index) const override {
    return index >= 0 && index < static_cast<int>(checked.size()) && checked[index];
  }

  std::array<bool, 4> checked{true, true, true, true};
};

}  // namespace quillon::test
