#include "shell/qt/tray_icon.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <string>
#include <vector>

#include "shell/qt/tray_icons.h"

namespace quillon::shell {
namespace {

class TrayIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tray_.Init(u"Sincronizador Quillon");
    tray_.on_event = [this](TrayEvent event) { raised_.push_back(event); };
    tray_.SetIcon(DisconnectedIcon(), u"Conectando");
  }
  TrayIcon tray_;
  std::vector<TrayEvent> raised_;
};

TEST_F(TrayIconTest, InitAndSetIconSetTheTooltip) {
  EXPECT_EQ(tray_.TooltipText(), u"Sincronizador Quillon");
  EXPECT_EQ(tray_.Entry().toolTip(), QStringLiteral("Conectando"));
  EXPECT_FALSE(tray_.Entry().icon().isNull());
  EXPECT_TRUE(tray_.Entry().isVisible());
}

TEST_F(TrayIconTest, BalloonLeavesIconAndTooltipAlone) {
  const qint64 icon_before = tray_.Entry().icon().cacheKey();
  tray_.ShowBalloonTip(std::u16string(300, u'x'), platform::BalloonIcon::kInformation,
                       std::u16string(80, u't'), 30000);
  EXPECT_EQ(tray_.Entry().icon().cacheKey(), icon_before);
  EXPECT_EQ(tray_.Entry().toolTip(), QStringLiteral("Conectando"));
}

TEST_F(TrayIconTest, TooltipIsCutButReadBackWhole) {
  const std::u16string long_tip(200, u'a');
  tray_.SetTooltipText(long_tip);
  EXPECT_EQ(tray_.TooltipText(), long_tip);
  EXPECT_EQ(tray_.Entry().toolTip().size(), 127);
  tray_.SetIcon(ConnectedIcon(), std::u16string(130, u'b'));
  EXPECT_EQ(tray_.Entry().toolTip().size(), 127);
}

TEST_F(TrayIconTest, RemovingTwiceIsHarmless) {
  tray_.RemoveIcon();
  EXPECT_FALSE(tray_.Entry().isVisible());
  tray_.RemoveIcon();
  EXPECT_FALSE(tray_.Entry().isVisible());
}

// Qt's activations, without any message numbers: a left click is the press (which shows the
// window) and then the release; a middle click raises nothing.
TEST_F(TrayIconTest, ActivationsRaiseTheShellsEventsInOrder) {
  auto& entry = const_cast<QSystemTrayIcon&>(tray_.Entry());
  for (const auto reason :
       {QSystemTrayIcon::Trigger, QSystemTrayIcon::Context, QSystemTrayIcon::DoubleClick,
        QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Unknown}) {
    emit entry.activated(reason);
  }
  EXPECT_EQ(raised_, (std::vector<TrayEvent>{TrayEvent::kBalloonClicked, TrayEvent::kLeftClick,
                                             TrayEvent::kRightClick, TrayEvent::kDoubleClick}));
}

TEST_F(TrayIconTest, BalloonTimeOutIsRaisedWhenItsTimeIsUp) {
  tray_.ShowBalloonTip(u"Servidor de impresoras desconectado", platform::BalloonIcon::kInformation,
                       u"Sistema de impresora", 20);
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(raised_, (std::vector<TrayEvent>{TrayEvent::kBalloonTimeOut}));

  // A balloon clicked away does not time out.
  raised_.clear();
  tray_.ShowBalloonTip(u"Conectando", platform::BalloonIcon::kInformation, u"Sistema", 20);
  emit const_cast<QSystemTrayIcon&>(tray_.Entry()).messageClicked();
  clock.restart();
  while (clock.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_TRUE(raised_.empty());
}

TEST_F(TrayIconTest, DrawIconUsesThePictureOfTheArea) {
  QPixmap picture(40, 40);
  picture.fill(Qt::red);
  QPainter(&picture).fillRect(0, 0, 4, 4, Qt::blue);
  QLabel area;
  area.setPixmap(picture);

  tray_.DrawIcon(area, -1);
  QImage whole = tray_.Entry().icon().pixmap(40, 40).toImage();
  EXPECT_EQ(whole.size(), QSize(40, 40));
  EXPECT_EQ(whole.pixelColor(1, 1), QColor(Qt::blue));

  tray_.DrawIcon(area, 0xFF0000);  // blue, as a red-green-blue number read low byte first
  QImage masked = tray_.Entry().icon().pixmap(32, 32).toImage();
  EXPECT_EQ(masked.size(), QSize(32, 32));
  EXPECT_EQ(masked.pixelColor(1, 1).alpha(), 0);
  EXPECT_EQ(masked.pixelColor(10, 10), QColor(Qt::red));
}

TEST_F(TrayIconTest, DrawIconWithoutATransparentColourShowsEveryPixel) {
  QPixmap picture(24, 24);
  picture.fill(Qt::transparent);
  QPainter(&picture).fillRect(0, 0, 4, 4, Qt::green);
  QLabel area;
  area.setPixmap(picture);

  tray_.DrawIcon(area, -1);
  const QImage icon = tray_.Entry().icon().pixmap(24, 24).toImage();
  EXPECT_EQ(icon.pixelColor(1, 1), QColor(Qt::green));
  EXPECT_EQ(icon.pixelColor(20, 20).alpha(), 255);
}

TEST_F(TrayIconTest, DrawIconWithoutAPictureKeepsTheImage) {
  const qint64 icon_before = tray_.Entry().icon().cacheKey();
  QLabel empty_area;
  tray_.DrawIcon(empty_area, -1);
  EXPECT_EQ(tray_.Entry().icon().cacheKey(), icon_before);
}

}  // namespace
}  // namespace quillon::shell
