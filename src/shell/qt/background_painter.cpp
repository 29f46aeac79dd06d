#include "shell/qt/background_painter.h"

#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include "shell/logo_placement.h"

namespace quillon::shell {

void BackgroundPainter::Refresh() {
  if (!form_) return;
  const QSize size = form_->contentsRect().size();
  if (size.isEmpty()) return;
  QPixmap canvas(size);
  canvas.fill(form_->palette().color(form_->backgroundRole()));
  const Placement place =
      FitCentred(picture_.width(), picture_.height(), size.width(), size.height());
  if (place.width > 0 && place.height > 0) {
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(place.x, place.y, place.width, place.height), picture_);
  }
  form_->setPixmap(canvas);
}

QImage LoadPicture(const QString& path) {
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  return reader.read();
}

}  // namespace quillon::shell
