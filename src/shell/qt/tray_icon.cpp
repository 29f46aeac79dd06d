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
    case platform::BalloonIcon::kInformation:
      return QSystemTrayIcon::Information;
    case platform::BalloonIcon::kWarning:
      return QSystemTrayIcon::Warning;
    case platform::BalloonIcon::kError:
      return QSystemTrayIcon::Critical;
    case platform::BalloonIcon::kNone:
      break;
  }
  return QSystemTrayIcon::NoIcon;
}

// Qt reports a whole left click as Trigger: the press, which is what shows the window, and the
// release, in that order. A right click comes as Context; a middle click raises nothing.
std::vector<TrayEvent> EventsOf(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      return {TrayEvent::kBalloonClicked, TrayEvent::kLeftClick};
    case QSystemTrayIcon::DoubleClick:
      return {TrayEvent::kDoubleClick};
    case QSystemTrayIcon::Context:
      return {TrayEvent::kRightClick};
    case QSystemTrayIcon::MiddleClick:
    case QSystemTrayIcon::Unknown:
      break;
  }
  return {};
}

}  // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {
  balloon_timer_.setSingleShot(true);
  connect(&balloon_timer_, &QTimer::timeout, this, [this] { Raise(TrayEvent::kBalloonTimeOut); });
  connect(&entry_, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            for (const TrayEvent event : EventsOf(reason)) Raise(event);
          });
  // A balloon clicked away has not timed out; the click itself raises nothing.
  connect(&entry_, &QSystemTrayIcon::messageClicked, &balloon_timer_, &QTimer::stop);
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

void TrayIcon::Init(const std::u16string& tooltip) {
  added_ = true;
  if (!entry_.icon().isNull()) entry_.show();
  SetTooltipText(tooltip);
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

void TrayIcon::Raise(TrayEvent event) {
  if (on_event) on_event(event);
}

}  // namespace quillon::shell
