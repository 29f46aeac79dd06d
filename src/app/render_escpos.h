#pragma once
// quillon-agent --render-escpos: the paper that an ESC/POS file prints, as a PNG picture.
#include <string>

namespace quillon::app {

// Reads `input` (ESC/POS bytes), writes the picture to `output`. Returns 0 when written, 2 when
// the input cannot be read, 1 when the picture cannot be made or written.
int RenderEscPosFile(const std::string& input, const std::string& output);

}  // namespace quillon::app
