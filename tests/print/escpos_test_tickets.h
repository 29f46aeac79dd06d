#pragma once
// Tickets and ESC/POS bytes written by hand for the encoder and renderer tests.
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/printer_system.h"

namespace quillon::test {

// What every encoded ticket starts with (reset, Windows-1252) and ends with (feed and cut).
inline const std::string kEscPosStart = {0x1B, '@', 0x1B, 't', 16};
inline const std::string kEscPosCut = {0x1D, 'V', 66, 3};

inline platform::TicketRun TextRun(int column, std::u16string text, double size = 10,
                                   bool bold = false) {
  return {column, std::move(text), platform::TicketFont{u"Courier 17 CPI", size, bold, false}};
}

inline platform::TicketLine Line(std::vector<platform::TicketRun> runs, double height = 10) {
  return {std::move(runs), height};
}

inline std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (const int v : values) out.push_back(static_cast<char>(v));
  return out;
}

}  // namespace quillon::test
