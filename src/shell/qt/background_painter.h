#pragma once
// Paints an image into a picture area, scaled to fit with its proportions kept and centred. The
// area keeps the painting as its pixmap, so it survives repaints.
#include <QImage>
#include <QLabel>
#include <QPointer>

namespace quillon::shell {

class BackgroundPainter {
 public:
  // Clears the target and paints the image into it. Without an image or a target it paints
  // what it can and never fails.
  void Refresh();

  const QImage& Picture() const { return picture_; }
  void SetPicture(const QImage& image) { picture_ = image; }
  QLabel* Form() const { return form_; }
  void SetForm(QLabel* target) { form_ = target; }
  // Stored for the window; the painting does not apply it.
  short Margin() const { return margin_; }
  void SetMargin(short pixels) { margin_ = pixels; }

 private:
  QImage picture_;
  QPointer<QLabel> form_;
  short margin_ = 0;
};

// Loads an image file by its content, whatever its name says (a JPEG saved as logo.bmp).
// A file that is not a picture gives a null image.
QImage LoadPicture(const QString& path);

}  // namespace quillon::shell
