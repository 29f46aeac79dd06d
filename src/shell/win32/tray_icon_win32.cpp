#include "shell/win32/tray_icon_win32.h"

#include <algorithm>

namespace quillon::shell {
namespace {

template <std::size_t N>
void CopyText(wchar_t (&target)[N], const std::u16string& text) {
  const std::size_t count = std::min(text.size(), N - 1);
  std::copy_n(text.begin(), count, target);
  target[count] = L'\0';
}

DWORD BalloonFlags(platform::BalloonIcon icon) {
  switch (icon) {
    case platform::BalloonIcon::kInformation:
      return NIIF_INFO;
    case platform::BalloonIcon::kWarning:
      return NIIF_WARNING;
    case platform::BalloonIcon::kError:
      return NIIF_ERROR;
    case platform::BalloonIcon::kNone:
      break;
  }
  return NIIF_NONE;
}

}  // namespace

TrayIconWin32::~TrayIconWin32() { RemoveIcon(); }

void TrayIconWin32::Init(HWND owner, const std::u16string& tooltip) {
  record_.cbSize = sizeof record_;
  record_.hWnd = owner;
  record_.uID = 1;
  record_.uFlags = NIF_MESSAGE;
  record_.uCallbackMessage = kNotificationMessage;
  Shell_NotifyIconW(NIM_ADD, &record_);
  added_ = true;
  SetTooltipText(tooltip);
}

void TrayIconWin32::SetIcon(HICON icon, const std::u16string& tooltip) {
  record_.hIcon = icon;
  CopyText(record_.szTip, CutTrayText(tooltip, kTooltipLimit));
  Modify(NIF_ICON | NIF_TIP);
}

void TrayIconWin32::ShowBalloonTip(const std::u16string& text, platform::BalloonIcon icon,
                                   const std::u16string& title, int timeout_ms) {
  CopyText(record_.szInfo, CutTrayText(text, kBalloonTextLimit));
  CopyText(record_.szInfoTitle, CutTrayText(title, kBalloonTitleLimit));
  record_.uTimeout = static_cast<UINT>(timeout_ms);
  record_.dwInfoFlags = BalloonFlags(icon);
  Modify(NIF_INFO);
}

void TrayIconWin32::SetTooltipText(const std::u16string& text) {
  tooltip_text_ = text;
  CopyText(record_.szTip, CutTrayText(text, kTooltipLimit));
  Modify(NIF_TIP);
}

void TrayIconWin32::RemoveIcon() {
  if (!added_) return;
  added_ = false;
  Shell_NotifyIconW(NIM_DELETE, &record_);
}

void TrayIconWin32::Notify(LPARAM code) {
  const std::optional<TrayEvent> event = DecodeTrayNotification(static_cast<int>(LOWORD(code)));
  if (event && on_event) on_event(*event);
}

void TrayIconWin32::Modify(UINT changed) {
  if (!added_) return;
  record_.uFlags = changed;
  Shell_NotifyIconW(NIM_MODIFY, &record_);
}

}  // namespace quillon::shell
