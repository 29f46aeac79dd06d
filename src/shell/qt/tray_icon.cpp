#include "shell/qt/tray_icon.h"

#include <QBitmap>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <vector>

namespace quillon::shell {
namespace {

QSystemTrayIcon::MessageIcon ToQt(platform::BalloonIcon icon) {
  switch (icon) {
    case platform::BalloonIcon::Information:
      return QSystemTrayIcon::Information;
    case platform::BalloonIcon::Warning:
      return QSystemTrayIcon::Warning;
    case platform::BalloonIcon::Error:
      return QSystemTrayIcon::Critical;
    case platform::BalloonIcon::None:
      break;
  }
  return QSystemTrayIcon::NoIcon;
}

// Qt reports a whole left click as Trigger: the press and the release the icon received, in
// that order. A right click comes as Context.
std::vector<TrayNotification> ToNotifications(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      return {TrayNotification::LeftButtonDown, TrayNotification::LeftButtonUp};
    case QSystemTrayIcon::DoubleClick:
      return {TrayNotification::LeftDoubleClick};
    case QSystemTrayIcon::Context:
      return {TrayNotification::RightButtonUp};
    case QSystemTrayIcon::MiddleClick:
      return {TrayNotification::MiddleButtonUp};
    case QSystemTrayIcon::Unknown:
      break;
  }
  return {};
}

}  // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {
  balloon_timer_.setSingleShot(true);
  connect(&balloon_timer_, &QTimer::timeout, this,
          [this] { MouseMove(0, static_cast<int>(TrayNotification::BalloonTimeout), owner_); });
  connect(&entry_, &QSystemTrayIcon::activated, this, &TrayIcon::OnActivated);
  connect(&entry_, &QSystemTrayIcon::messageClicked, this, [this] {
    balloon_timer_.stop();
    MouseMove(0, static_cast<int>(TrayNotification::BalloonUserClick), owner_);
  });
}

TrayIcon::~TrayIcon() { RemoveIcon(); }

void TrayIcon::DrawIcon(const QLabel& picture_area, long transparent_color) {
  QPixmap picture = picture_area.pixmap();
  if (picture.isNull()) return;
  if (transparent_color < 0) {
    // No colour is see-through: every pixel of the picture shows, whatever its alpha said.
    picture = QPixmap::fromImage(picture.toImage().convertToFormat(QImage::Format_RGB32));
  } else {
    picture = picture.copy(0, 0, 32, 32);
    const QColor clear(static_cast<int>(transparent_color & 0xFF),
                       static_cast<int>((transparent_color >> 8) & 0xFF),
                       static_cast<int>((transparent_color >> 16) & 0xFF));
    picture.setMask(picture.createMaskFromColor(clear, Qt::MaskInColor));
  }
  entry_.setIcon(QIcon(picture));
  if (added_) entry_.show();
}

void TrayIcon::Init(QWidget* owner, const std::u16string& tooltip) {
  owner_ = owner;
  added_ = true;
  if (!entry_.icon().isNull()) entry_.show();
  SetTooltipText(tooltip);
}

void TrayIcon::MouseMove(int /*button*/, int code, QWidget* /*owner*/) {
  const std::optional<TrayEvent> event = DecodeTrayNotification(code);
  if (!event) return;
  switch (*event) {
    case TrayEvent::LeftClick:
      emit LeftClick();
      break;
    case TrayEvent::RightClick:
      emit RightClick();
      break;
    case TrayEvent::DoubleClick:
      emit DoubleClick();
      break;
    case TrayEvent::BalloonHide:
      emit BalloonHide();
      break;
    case TrayEvent::BalloonTimeOut:
      emit BalloonTimeOut();
      break;
    case TrayEvent::BalloonClicked:
      emit BalloonClicked();
      break;
  }
}

void TrayIcon::SetIcon(const QIcon& picture, const std::u16string& tooltip) {
  entry_.setIcon(picture);
  entry_.setToolTip(QString::fromStdU16String(CutTrayText(tooltip, kTooltipLimit)));
  if (added_) entry_.show();
}

void TrayIcon::ShowBalloonTip(const std::u16string& text, platform::BalloonIcon icon,
                              const std::u16string& title, int timeout_ms) {
  entry_.showMessage(QString::fromStdU16String(CutTrayText(title, kBalloonTitleLimit)),
                     QString::fromStdU16String(CutTrayText(text, kBalloonTextLimit)), ToQt(icon),
                     timeout_ms);
  balloon_timer_.start(timeout_ms);
}

std::u16string TrayIcon::TooltipText() const { return tooltip_text_; }

void TrayIcon::SetTooltipText(const std::u16string& text) {
  tooltip_text_ = text;
  entry_.setToolTip(QString::fromStdU16String(CutTrayText(text, kTooltipLimit)));
}

void TrayIcon::RemoveIcon() {
  added_ = false;
  balloon_timer_.stop();
  entry_.hide();
}

void TrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
  for (const TrayNotification code : ToNotifications(reason)) {
    MouseMove(0, static_cast<int>(code), owner_);
  }
}

}  // namespace quillon::shell
