#pragma once
// The one tray entry of the main window through Shell_NotifyIconW: icon, tooltip, balloons, and
// the mouse and balloon notifications, which arrive at the owner window as a message whose
// lParam carries the code and are decoded into the six events.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <functional>
#include <string>

#include "platform/notifier.h"
#include "shell/tray_notification.h"

namespace quillon::shell {

class TrayIconWin32 final : public platform::Notifier {
 public:
  // The message by which the owner window receives the entry's notifications.
  static constexpr UINT kNotificationMessage = WM_APP + 100;

  TrayIconWin32() = default;
  ~TrayIconWin32() override;
  TrayIconWin32(const TrayIconWin32&) = delete;
  TrayIconWin32& operator=(const TrayIconWin32&) = delete;

  // Adds the entry for `owner` with the tooltip; the image comes with SetIcon.
  void Init(HWND owner, const std::u16string& tooltip);
  void SetIcon(HICON icon, const std::u16string& tooltip);
  // Shows a balloon; the image and the tooltip stay as they are.
  void ShowBalloonTip(const std::u16string& text, platform::BalloonIcon icon,
                      const std::u16string& title, int timeout_ms) override;
  std::u16string TooltipText() const { return tooltip_text_; }
  void SetTooltipText(const std::u16string& text);
  // Removes the entry; removing it again does nothing.
  void RemoveIcon();
  // The owner window's handler of kNotificationMessage: raises the decoded event, if any.
  void Notify(LPARAM code);

  std::function<void(TrayEvent)> on_event;

 private:
  void Modify(UINT changed);

  NOTIFYICONDATAW record_{};
  bool added_ = false;
  std::u16string tooltip_text_;
};

}  // namespace quillon::shell
