#pragma once
// Reads ESC/POS bytes as the encoder writes them, to tell its own commands from text.
#include <string>
#include <string_view>

namespace quillon::fuzz {

// The first problem in `bytes`, or the empty text when they read as one ticket of the encoder:
// ESC @ and ESC t 16 first, then only its commands (ESC E and GS ! when the font changes,
// GS v 0 rasters with exactly their dots), text bytes that are no control codes, LF line ends,
// and the GS V 66 cut last. A control byte anywhere else is a job byte turned into a command.
std::string FindStrayCommand(std::string_view bytes);

}  // namespace quillon::fuzz
