#pragma once
// Balloons of the tray icon, as the print engine and the documents use them.
#include <string>

namespace quillon::platform {

enum class BalloonIcon { kNone = 0, kInformation = 1, kWarning = 2, kError = 3 };

class Notifier {
 public:
  virtual ~Notifier() = default;
  virtual void ShowBalloonTip(const std::u16string& text, BalloonIcon icon,
                              const std::u16string& title, int timeout_ms) = 0;
};

}  // namespace quillon::platform
