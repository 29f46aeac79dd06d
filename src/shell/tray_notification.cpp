#include "shell/tray_notification.h"

namespace quillon::shell {

std::optional<TrayEvent> DecodeTrayNotification(int code) {
  switch (static_cast<TrayNotification>(code)) {
    case TrayNotification::LeftButtonUp:
      return TrayEvent::LeftClick;
    case TrayNotification::RightButtonUp:
      return TrayEvent::RightClick;
    case TrayNotification::LeftDoubleClick:
      return TrayEvent::DoubleClick;
    case TrayNotification::BalloonHide:
      return TrayEvent::BalloonHide;
    case TrayNotification::BalloonTimeout:
      return TrayEvent::BalloonTimeOut;
    // A press of the left button on the icon, the one event the window answers.
    case TrayNotification::LeftButtonDown:
      return TrayEvent::BalloonClicked;
    default:
      return std::nullopt;
  }
}

std::u16string CutTrayText(std::u16string_view text, std::size_t limit) {
  return std::u16string(text.substr(0, limit));
}

}  // namespace quillon::shell
