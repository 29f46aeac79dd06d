#include "shell/qt/tray_icon.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <map>
#include <string>
#include <vector>

#include "shell/qt/tray_icons.h"

namespace quillon::shell {
namespace {

class ClsSystrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tray.Init(nullptr, u"Sincronizador Quillon");
    tray.SetIcon(DisconnectedIcon(), u"Conectando");
  }
  TrayIcon tray;
};

TEST_F(ClsSystrayTest, InitAndSetIconSetTheTooltip) {
  EXPECT_EQ(tray.TooltipText(), u"Sincronizador Quillon");
  EXPECT_EQ(tray.Entry().toolTip(), QStringLiteral("Conectando"));
  EXPECT_FALSE(tray.Entry().icon().isNull());
  EXPECT_TRUE(tray.Entry().isVisible());
}

TEST_F(ClsSystrayTest, BalloonLeavesIconAndTooltipAlone) {
  const qint64 icon_before = tray.Entry().icon().cacheKey();
  tray.ShowBalloonTip(std::u16string(300, u'x'), platform::BalloonIcon::Information,
                      std::u16string(80, u't'), 30000);
  EXPECT_EQ(tray.Entry().icon().cacheKey(), icon_before);
  EXPECT_EQ(tray.Entry().toolTip(), QStringLiteral("Conectando"));
}

TEST_F(ClsSystrayTest, TooltipIsCutButReadBackWhole) {
  const std::u16string long_tip(200, u'a');
  tray.SetTooltipText(long_tip);
  EXPECT_EQ(tray.TooltipText(), long_tip);
  EXPECT_EQ(tray.Entry().toolTip().size(), 127);
  tray.SetIcon(ConnectedIcon(), std::u16string(130, u'b'));
  EXPECT_EQ(tray.Entry().toolTip().size(), 127);
}

TEST_F(ClsSystrayTest, RemovingTwiceIsHarmless) {
  tray.RemoveIcon();
  EXPECT_FALSE(tray.Entry().isVisible());
  tray.RemoveIcon();
  EXPECT_FALSE(tray.Entry().isVisible());
}

TEST_F(ClsSystrayTest, MouseMoveRaisesTheDecodedEvent) {
  std::map<std::string, int> raised;
  QObject::connect(&tray, &TrayIcon::LeftClick, [&] { ++raised["LeftClick"]; });
  QObject::connect(&tray, &TrayIcon::RightClick, [&] { ++raised["RightClick"]; });
  QObject::connect(&tray, &TrayIcon::DoubleClick, [&] { ++raised["DoubleClick"]; });
  QObject::connect(&tray, &TrayIcon::BalloonHide, [&] { ++raised["BalloonHide"]; });
  QObject::connect(&tray, &TrayIcon::BalloonTimeOut, [&] { ++raised["BalloonTimeOut"]; });
  QObject::connect(&tray, &TrayIcon::BalloonClicked, [&] { ++raised["BalloonClicked"]; });
  for (const int code : {0x202, 0x205, 0x203, 0x403, 0x404, 0x201, 0x200, 0x405}) {
    tray.MouseMove(1, code, nullptr);
  }
  EXPECT_EQ(raised, (std::map<std::string, int>{{"BalloonClicked", 1},
                                                {"BalloonHide", 1},
                                                {"BalloonTimeOut", 1},
                                                {"DoubleClick", 1},
                                                {"LeftClick", 1},
                                                {"RightClick", 1}}));
}

TEST_F(ClsSystrayTest, ClicksOnTheIconRaiseThePressAndTheReleaseInOrder) {
  std::vector<std::string> raised;
  QObject::connect(&tray, &TrayIcon::LeftClick, [&] { raised.push_back("LeftClick"); });
  QObject::connect(&tray, &TrayIcon::RightClick, [&] { raised.push_back("RightClick"); });
  QObject::connect(&tray, &TrayIcon::DoubleClick, [&] { raised.push_back("DoubleClick"); });
  QObject::connect(&tray, &TrayIcon::BalloonClicked, [&] { raised.push_back("BalloonClicked"); });
  auto& entry = const_cast<QSystemTrayIcon&>(tray.Entry());
  for (const auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::Context,
                            QSystemTrayIcon::DoubleClick, QSystemTrayIcon::MiddleClick}) {
    emit entry.activated(reason);
  }
  EXPECT_EQ(raised,
            (std::vector<std::string>{"BalloonClicked", "LeftClick", "RightClick", "DoubleClick"}));
}

TEST_F(ClsSystrayTest, BalloonTimeOutIsRaisedWhenItsTimeIsUp) {
  int timeouts = 0;
  QObject::connect(&tray, &TrayIcon::BalloonTimeOut, [&] { ++timeouts; });
  tray.ShowBalloonTip(u"Servidor de impresoras desconectado", platform::BalloonIcon::Information,
                      u"Sistema de impresora", 20);
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(timeouts, 1);
}

TEST_F(ClsSystrayTest, DrawIconUsesThePictureOfTheArea) {
  QPixmap picture(40, 40);
  picture.fill(Qt::red);
  QPainter(&picture).fillRect(0, 0, 4, 4, Qt::blue);
  QLabel area;
  area.setPixmap(picture);

  tray.DrawIcon(area, -1);
  QImage whole = tray.Entry().icon().pixmap(40, 40).toImage();
  EXPECT_EQ(whole.size(), QSize(40, 40));
  EXPECT_EQ(whole.pixelColor(1, 1), QColor(Qt::blue));

  tray.DrawIcon(area, 0xFF0000);  // blue, as a red-green-blue number read low byte first
  QImage masked = tray.Entry().icon().pixmap(32, 32).toImage();
  EXPECT_EQ(masked.size(), QSize(32, 32));
  EXPECT_EQ(masked.pixelColor(1, 1).alpha(), 0);
  EXPECT_EQ(masked.pixelColor(10, 10), QColor(Qt::red));
}

TEST_F(ClsSystrayTest, DrawIconWithoutATransparentColourShowsEveryPixel) {
  QPixmap picture(24, 24);
  picture.fill(Qt::transparent);
  QPainter(&picture).fillRect(0, 0, 4, 4, Qt::green);
  QLabel area;
  area.setPixmap(picture);

  tray.DrawIcon(area, -1);
  const QImage icon = tray.Entry().icon().pixmap(24, 24).toImage();
  EXPECT_EQ(icon.pixelColor(1, 1), QColor(Qt::green));
  EXPECT_EQ(icon.pixelColor(20, 20).alpha(), 255);
}

TEST_F(ClsSystrayTest, DrawIconWithoutAPictureKeepsTheImage) {
  const qint64 icon_before = tray.Entry().icon().cacheKey();
  QLabel empty_area;
  tray.DrawIcon(empty_area, -1);
  EXPECT_EQ(tray.Entry().icon().cacheKey(), icon_before);
}

}  // namespace
}  // namespace quillon::shell
