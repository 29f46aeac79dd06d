#include "shell/tray_notification.h"

namespace quillon::shell {

std::optional<TrayEvent> DecodeTrayNotification(int code) {
  switch (static_cast<TrayNotification>(code)) {
    case TrayNotification::kLeftButtonUp:
      return TrayEvent::kLeftClick;
    case TrayNotification::kRightButtonUp:
      return TrayEvent::kRightClick;
    case TrayNotification::kLeftDoubleClick:
      return TrayEvent::kDoubleClick;
    case TrayNotification::kBalloonHide:
      return TrayEvent::kBalloonHide;
    case TrayNotification::kBalloonTimeout:
      return TrayEvent::kBalloonTimeOut;
    // A press of the left button on the icon, the one event the window answers.
    case TrayNotification::kLeftButtonDown:
      return TrayEvent::kBalloonClicked;
    default:
      return std::nullopt;
  }
}

std::u16string CutTrayText(std::u16string_view text, std::size_t limit) {
  return std::u16string(text.substr(0, limit));
}

}  // namespace quillon::shell
