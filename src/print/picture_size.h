#pragma once
// The size of a BMP, GIF or JPEG picture read from its header, in hundredths of a millimetre
// as a picture object of the desktop reports it (pixels at 96 per inch).
#include <string>

namespace quillon::print {

struct PictureSize {
  long width = 0;  // hundredths of a millimetre
  long height = 0;
};

// Raises platform::Failure (481, "La imagen no es válida") when the file cannot be read as one
// of the three formats.
PictureSize ReadPictureSize(const std::string& file);

}  // namespace quillon::print
