#pragma once
// Records the balloons shown, in order.
#include <string>
#include <vector>

#include "platform/notifier.h"

namespace quillon::test {

struct Balloon {
  std::u16string text;
  platform::BalloonIcon icon = platform::BalloonIcon::kNone;
  std::u16string title;
  int timeout_ms = 0;
};

class FakeNotifier : public platform::Notifier {
 public:
  void ShowBalloonTip(const std::u16string& text, platform::BalloonIcon icon,
                      const std::u16string& title, int timeout_ms) override {
    balloons.push_back({text, icon, title, timeout_ms});
  }

  std::vector<Balloon> balloons;
};

}  // namespace quillon::test
