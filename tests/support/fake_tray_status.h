#pragma once
// Records the tray icon states set, in order.
#include <string>
#include <vector>

#include "link/tray_status.h"

namespace quillon::test {

class FakeTrayStatus : public link::TrayStatus {
 public:
  struct State {
    link::TrayImage icon;
    std::u16string tooltip;
  };
  void SetIcon(link::TrayImage icon, const std::u16string& tooltip) override {
    states.push_back({icon, tooltip});
  }
  std::vector<State> states;
};

}  // namespace quillon::test
