#pragma once
// The tray icon's picture and tooltip as the connection state changes.
#include <string>

namespace quillon::link {

enum class TrayImage {
  kDisconnected,  // disconnected_icon
  kConnected,     // connected_icon
};

class TrayStatus {
 public:
  virtual ~TrayStatus() = default;
  virtual void SetIcon(TrayImage icon, const std::u16string& tooltip) = 0;
};

}  // namespace quillon::link
