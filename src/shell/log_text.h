#pragma once
// Log lines are text to read, never commands to a terminal or a text view: job text can carry
// any character, so the ones that act instead of showing are written out.
#include <string>
#include <string_view>

#include "platform/notifier.h"

namespace quillon::shell {

// The text with every control character written as an escape: the C0 range except tab and the
// line breaks (which each view shows in its own way), DEL and the C1 range as \xHH; the line
// and paragraph separators and the bidirectional controls, which reorder or break what follows,
// as \uHHHH. Everything else stays as it is.
std::u16string EscapeControls(std::u16string_view text);

// The text as one line of a stream or a file: escaped as above, and the line breaks inside it
// written as "\r" and "\n" so a line stays a line.
std::u16string OneLogLine(std::u16string_view text);

// A balloon as a log line: "[Aviso] title: text".
std::u16string BalloonLogText(const std::u16string& text, platform::BalloonIcon icon,
                              const std::u16string& title);

}  // namespace quillon::shell
