#pragma once
// BMP, GIF, JPEG and PNG pictures through the Windows Imaging Component, read by their content
// whatever their name says (a JPEG saved as logo.bmp).
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/picture_decoder.h"

namespace quillon::adapters::win32 {

struct ColourPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bgra;  // 4 bytes a pixel, rows from the top
};

// nullopt when the file cannot be read, is no picture, or has more than
// platform::kMaxPicturePixels (its pixels are then never read).
std::optional<ColourPicture> LoadColourPicture(const std::filesystem::path& file);

// A 32-bit bitmap of the picture for drawing in a window; the caller deletes it.
HBITMAP MakeBitmap(const ColourPicture& picture);

// Colours over a white background where the picture is see-through.
class WicPictureDecoder final : public platform::PictureDecoder {
 public:
  std::optional<platform::ColourPicture> DecodeColour(const std::string& file) const override;
};

}  // namespace quillon::adapters::win32
