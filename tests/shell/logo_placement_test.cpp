#include "shell/logo_placement.h"

#include <gtest/gtest.h>

namespace quillon::shell {
namespace {

TEST(LogoPlacement, WideAreaCentresHorizontallyRoundingHalvesToEven) {
  EXPECT_EQ(FitCentred(200, 100, 363, 105), (Placement{76, 0, 210, 105}));
  EXPECT_EQ(FitCentred(50, 50, 363, 105), (Placement{129, 0, 105, 105}));
}

TEST(LogoPlacement, TallAreaCentresVertically) {
  EXPECT_EQ(FitCentred(100, 200, 100, 301), (Placement{0, 50, 100, 200}));  // 50.5 -> 50
  EXPECT_EQ(FitCentred(100, 200, 100, 303), (Placement{0, 52, 100, 200}));  // 51.5 -> 52
}

TEST(LogoPlacement, SmallImagesAreEnlarged) {
  EXPECT_EQ(FitCentred(10, 5, 363, 105), (Placement{76, 0, 210, 105}));
}

TEST(LogoPlacement, EmptyImageOrTargetPlacesNothing) {
  EXPECT_EQ(FitCentred(0, 0, 363, 105), Placement{});
  EXPECT_EQ(FitCentred(200, 100, 0, 105), Placement{});
}

TEST(LogoPlacement, RoundHalfEven) {
  EXPECT_EQ(RoundHalfEven(76.5), 76);
  EXPECT_EQ(RoundHalfEven(77.5), 78);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(RoundHalfEven(2.6), 3);
}

}  // namespace
}  // namespace quillon::shell
