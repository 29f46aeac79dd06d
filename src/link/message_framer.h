#pragma once
// Cuts the received bytes into messages at every "_endMessage_". The terminator is ASCII, and
// neither Windows-1252 nor UTF-8 uses its bytes inside another character, so the cut is made on
// the bytes as they arrive and each message keeps the exact bytes the server sent. Only the bytes
// that arrived since the last look are searched, so a long message in tiny pieces costs linear
// time.
//
// A message may hold kMessageLimit bytes. Past that the text is over-long: its oldest bytes are
// dropped, but the newest kMessageLimit stay, so that a whole job sent after the over-long text
// (before the same terminator) is still found and delivered; only the over-long text is lost.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "link/wire_text.h"

namespace quillon::link {

class MessageFramer {
 public:
  static constexpr std::string_view kTerminator = "_endMessage_";
  static constexpr std::size_t kMessageLimit = 16u * 1024u * 1024u;
  // Room kept for the next message once the held bytes are fewer than half of it.
  static constexpr std::size_t kKeptRoom = 1u << 20;

  struct Result {
    std::vector<std::string> messages;  // complete messages, in arrival order
    std::size_t dropped = 0;            // characters of over-long text dropped by this piece
  };

  explicit MessageFramer(WireEncoding encoding = WireEncoding::kWindows1252)
      : encoding_(encoding) {}

  Result Append(std::string_view piece);
  // The stream ended (the connection closed or failed): the bytes held without a terminator are
  // taken out and returned, and the next piece starts a new message.
  std::string EndStream();
  // Bytes after the last terminator, waiting for the rest of their message.
  const std::string& Buffer() const { return buffer_; }

 private:
  // The message that ends at `end`; `dropped` counts what an over-long text loses.
  void TakeMessage(std::size_t start, std::size_t end, Result& result);

  // Counts `length` bytes from `start` as dropped, in characters.
  void CountDropped(std::size_t start, std::size_t length, Result& result) const;

  WireEncoding encoding_;
  std::string buffer_;
  // The front of the current message was dropped, or the message passed the limit.
  bool overlong_ = false;
};

// Where the last JSON object or array of `text` starts, when `text` ends with one (blanks after it
// allowed); npos otherwise. Read backwards from its closing bracket, with texts in double or
// single quotes skipped, so it finds the start of a job whatever came before it.
std::size_t StartOfTrailingJson(std::string_view text);

}  // namespace quillon::link
