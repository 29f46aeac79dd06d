#pragma once
// What the tray entry reports, and the limits of its texts. The notification codes are the mouse
// and balloon message numbers a tray entry delivers to its owner window.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::shell {

enum class TrayNotification : int {
  MouseMove = 0x200,
  LeftButtonDown = 0x201,
  LeftButtonUp = 0x202,
  LeftDoubleClick = 0x203,
  RightButtonDown = 0x204,
  RightButtonUp = 0x205,
  MiddleButtonUp = 0x208,
  BalloonShow = 0x402,
  BalloonHide = 0x403,
  BalloonTimeout = 0x404,
  BalloonUserClick = 0x405,
};

// The events of the tray object, in their order of declaration.
enum class TrayEvent {
  LeftClick,
  RightClick,
  DoubleClick,
  BalloonHide,
  BalloonTimeOut,
  BalloonClicked
};

// The event a notification code raises; none for any other code.
std::optional<TrayEvent> DecodeTrayNotification(int code);

inline constexpr std::size_t kTooltipLimit = 127;
inline constexpr std::size_t kBalloonTextLimit = 255;
inline constexpr std::size_t kBalloonTitleLimit = 63;

// The first `limit` characters of the text.
std::u16string CutTrayText(std::u16string_view text, std::size_t limit);

}  // namespace quillon::shell
