#pragma once
// Where the logo goes: scaled to fit the target with its proportions kept, then centred.
namespace quillon::shell {

struct Placement {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Placement&) const = default;
};

// Rounds to the nearest whole number, a half going to the even neighbour (76.5 -> 76).
int RoundHalfEven(double value);

// The rectangle for an image of image_width x image_height pixels in a target of
// target_width x target_height pixels. An empty image or target gives an empty placement.
Placement FitCentred(int image_width, int image_height, int target_width, int target_height);

}  // namespace quillon::shell
