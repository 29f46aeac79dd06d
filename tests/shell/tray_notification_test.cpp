#include "shell/tray_notification.h"

#include <gtest/gtest.h>

namespace quillon::shell {
namespace {

TEST(TrayNotification, SixCodesRaiseTheirEvents) {
  EXPECT_EQ(DecodeTrayNotification(0x202), TrayEvent::kLeftClick);
  EXPECT_EQ(DecodeTrayNotification(0x205), TrayEvent::kRightClick);
  EXPECT_EQ(DecodeTrayNotification(0x203), TrayEvent::kDoubleClick);
  EXPECT_EQ(DecodeTrayNotification(0x403), TrayEvent::kBalloonHide);
  EXPECT_EQ(DecodeTrayNotification(0x404), TrayEvent::kBalloonTimeOut);
  EXPECT_EQ(DecodeTrayNotification(0x201), TrayEvent::kBalloonClicked);
}

TEST(TrayNotification, OtherCodesRaiseNothing) {
  for (const int code : {0x200, 0x204, 0x208, 0x402, 0x405, 0, -1, 514 * 15}) {
    EXPECT_FALSE(DecodeTrayNotification(code).has_value()) << code;
  }
}

TEST(TrayNotification, TextsAreCutToTheirLimits) {
  const std::u16string long_text(300, u'x');
  EXPECT_EQ(CutTrayText(long_text, kBalloonTextLimit).size(), 255u);
  EXPECT_EQ(CutTrayText(long_text, kBalloonTitleLimit).size(), 63u);
  EXPECT_EQ(CutTrayText(long_text, kTooltipLimit).size(), 127u);
  EXPECT_EQ(CutTrayText(u"Conectando", kTooltipLimit), u"Conectando");
}

}  // namespace
}  // namespace quillon::shell
