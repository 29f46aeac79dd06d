#include "shell/logo_placement.h"

#include <algorithm>
#include <cmath>

namespace quillon::shell {

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

Placement FitCentred(int image_width, int image_height, int target_width, int target_height) {
  if (image_width <= 0 || image_height <= 0 || target_width <= 0 || target_height <= 0) return {};
  const double factor = std::min(static_cast<double>(target_width) / image_width,
                                 static_cast<double>(target_height) / image_height);
  Placement placement;
  placement.width = RoundHalfEven(image_width * factor);
  placement.height = RoundHalfEven(image_height * factor);
  placement.x = RoundHalfEven((target_width - placement.width) / 2.0);
  placement.y = RoundHalfEven((target_height - placement.height) / 2.0);
  return placement;
}

}  // namespace quillon::shell
