#pragma once
// The tray icon's picture and tooltip as the connection state changes.
#include <string>

namespace quillon::link {

enum class TrayIcon {
  Disconnected,  // pctDisconected
  Connected,     // pctOK
};

class TrayStatus {
 public:
  virtual ~TrayStatus() = default;
  virtual void SetIcon(TrayIcon icon, const std::u16string& tooltip) = 0;
};

}  // namespace quillon::link
