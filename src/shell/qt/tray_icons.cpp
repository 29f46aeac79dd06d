#include "shell/qt/tray_icons.h"

#include <QPainter>
#include <QPixmap>

namespace quillon::shell {
namespace {

QIcon PrinterIcon(const QColor& light) {
  QIcon icon;
  for (const int size : {16, 22, 32, 48}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    painter.setPen(QPen(QColor(40, 40, 40), 1.5));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(9, 3, 14, 10));  // paper going in
    painter.setBrush(QColor(90, 96, 110));
    painter.drawRoundedRect(QRectF(3, 11, 26, 12), 3, 3);  // body
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(8, 20, 16, 10));  // ticket coming out
    painter.setPen(QPen(QColor(120, 120, 120), 1));
    painter.drawLine(QPointF(11, 24), QPointF(21, 24));
    painter.drawLine(QPointF(11, 27), QPointF(19, 27));
    painter.setPen(QPen(QColor(20, 20, 20), 1));
    painter.setBrush(light);
    painter.drawEllipse(QPointF(24.5, 15.5), 3, 3);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

QIcon ConnectedIcon() { return PrinterIcon(QColor(40, 200, 60)); }

QIcon DisconnectedIcon() { return PrinterIcon(QColor(220, 40, 40)); }

QIcon WarningIcon() { return PrinterIcon(QColor(245, 170, 20)); }

}  // namespace quillon::shell
