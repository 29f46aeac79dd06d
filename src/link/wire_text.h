#pragma once
// Text on the wire to the print server: Windows-1252, one byte a character, unless the server
// speaks UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

#include "json/parser.h"

namespace quillon::link {

enum class WireEncoding { kWindows1252, kUtf8 };

// "utf-8" gives Utf8; anything else the default, Windows-1252.
WireEncoding WireEncodingNamed(std::string_view name);

std::string EncodeWire(std::u16string_view text, WireEncoding encoding);
// A whole text received from the server.
std::u16string DecodeWire(std::string_view bytes, WireEncoding encoding);
// How the parser reads the bytes.
json::TextEncoding ParserEncoding(WireEncoding encoding);
// How many characters the bytes hold (a UTF-8 character cut short counts as one).
std::size_t CountWireCharacters(std::string_view bytes, WireEncoding encoding);

// Turns received pieces into text. A UTF-8 character cut between two pieces is held back until
// its last byte arrives, so no piece boundary turns it into a replacement character.
class WireDecoder {
 public:
  explicit WireDecoder(WireEncoding encoding) : encoding_(encoding) {}
  std::u16string Decode(std::string_view bytes);
  // Forgets the start of a character held back: a new stream begins.
  void Reset() { incomplete_.clear(); }

 private:
  WireEncoding encoding_;
  std::string incomplete_;
};

}  // namespace quillon::link
