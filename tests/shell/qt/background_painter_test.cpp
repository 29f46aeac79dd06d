#include "shell/qt/background_painter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>

namespace quillon::shell {
namespace {

QImage Red(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::red);
  return image;
}

TEST(BackgroundPainter, PaintsScaledAndCentredIntoTheArea) {
  QLabel area;
  area.resize(363, 105);
  QPalette white = area.palette();
  white.setColor(QPalette::Window, Qt::white);
  area.setPalette(white);
  BackgroundPainter painter;
  painter.SetForm(&area);
  painter.SetPicture(Red(200, 100));
  painter.SetMargin(32);
  painter.Refresh();

  const QImage painted = area.pixmap().toImage();
  ASSERT_EQ(painted.size(), QSize(363, 105));
  EXPECT_EQ(painted.pixelColor(75, 50), QColor(Qt::white));
  EXPECT_EQ(painted.pixelColor(77, 50), QColor(Qt::red));
  EXPECT_EQ(painted.pixelColor(284, 50), QColor(Qt::red));
  EXPECT_EQ(painted.pixelColor(287, 50), QColor(Qt::white));
  EXPECT_EQ(painted.pixelColor(180, 0), QColor(Qt::red));
  EXPECT_EQ(painted.pixelColor(180, 104), QColor(Qt::red));
  EXPECT_EQ(painter.Margin(), 32);
}

TEST(BackgroundPainter, WithoutImageClearsTheArea) {
  QLabel area;
  area.resize(100, 50);
  BackgroundPainter painter;
  painter.SetForm(&area);
  painter.SetPicture(Red(10, 10));
  painter.Refresh();
  painter.SetPicture(QImage());
  painter.Refresh();
  EXPECT_NE(area.pixmap().toImage().pixelColor(50, 25), QColor(Qt::red));
}

TEST(BackgroundPainter, WithoutTargetDoesNothing) {
  BackgroundPainter painter;
  painter.SetPicture(Red(10, 10));
  painter.Refresh();
  auto area = std::make_unique<QLabel>();
  painter.SetForm(area.get());
  area.reset();  // the target went away
  painter.Refresh();
  EXPECT_EQ(painter.Form(), nullptr);
}

TEST(LoadPicture, ReadsByContentWhateverTheName) {
  const QString path = QDir::temp().filePath(QStringLiteral("quillon-logo-test.bmp"));
  ASSERT_TRUE(Red(8, 4).save(path, "PNG"));
  EXPECT_EQ(LoadPicture(path).size(), QSize(8, 4));
  QFile::remove(path);
  EXPECT_TRUE(LoadPicture(path).isNull());
}

}  // namespace
}  // namespace quillon::shell
