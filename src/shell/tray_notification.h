#pragma once
// What the tray entry reports, and the limits of its texts. The notification codes are the mouse
// and balloon message numbers a Win32 tray entry delivers to its owner window; the Qt tray maps
// Qt's own activation reasons to the events instead.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::shell {

enum class TrayNotification : int {
  kMouseMove = 0x200,
  kLeftButtonDown = 0x201,
  kLeftButtonUp = 0x202,
  kLeftDoubleClick = 0x203,
  kRightButtonDown = 0x204,
  kRightButtonUp = 0x205,
  kMiddleButtonUp = 0x208,
  kBalloonShow = 0x402,
  kBalloonHide = 0x403,
  kBalloonTimeout = 0x404,
  kBalloonUserClick = 0x405,
};

// The events of the tray object, in their order of declaration.
enum class TrayEvent {
  kLeftClick,
  kRightClick,
  kDoubleClick,
  kBalloonHide,
  kBalloonTimeOut,
  kBalloonClicked
};

// The event a notification code raises; none for any other code.
std::optional<TrayEvent> DecodeTrayNotification(int code);

inline constexpr std::size_t kTooltipLimit = 127;
inline constexpr std::size_t kBalloonTextLimit = 255;
inline constexpr std::size_t kBalloonTitleLimit = 63;

// The first `limit` characters of the text.
std::u16string CutTrayText(std::u16string_view text, std::size_t limit);

}  // namespace quillon::shell
