#pragma once
// The one tray entry of the main window: icon, tooltip, balloons, and Qt's activations of the
// entry and the balloon's end, raised as the shell's tray events.
#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <string>

#include "platform/notifier.h"
#include "shell/tray_notification.h"

class QLabel;

namespace quillon::shell {

class TrayIcon final : public QObject, public platform::Notifier {
  Q_OBJECT

 public:
  explicit TrayIcon(QObject* parent = nullptr);
  ~TrayIcon() override;

  // Makes the picture of `picture_area` the entry's image; with a transparent colour (an RGB
  // value; negative for none) it works on 32 x 32 pixels and leaves pixels of that colour clear.
  // A picture area without a picture leaves the image as it was.
  void DrawIcon(const QLabel& picture_area, long transparent_color);
  // Adds the entry with the tooltip; the image comes with SetIcon.
  void Init(const std::u16string& tooltip);
  void SetIcon(const QIcon& picture, const std::u16string& tooltip);
  // Shows a balloon; the image and the tooltip stay as they are.
  void ShowBalloonTip(const std::u16string& text, platform::BalloonIcon icon,
                      const std::u16string& title, int timeout_ms) override;
  std::u16string TooltipText() const;
  void SetTooltipText(const std::u16string& text);
  // Removes the entry; removing it again does nothing.
  void RemoveIcon();

  // What the platform's tray shows now.
  const QSystemTrayIcon& Entry() const { return entry_; }

  // Hears every event the entry raises.
  std::function<void(TrayEvent)> on_event;

 private:
  void Raise(TrayEvent event);

  QSystemTrayIcon entry_;
  QTimer balloon_timer_;  // Qt does not report a balloon's time-out
  bool added_ = false;
  std::u16string tooltip_text_;
};

}  // namespace quillon::shell
