#pragma once
// Cuts the received text into messages at every "_endMessage_". Only the text that arrived since
// the last look is searched, so a long message in tiny pieces costs linear time.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::link {

class MessageFramer {
 public:
  static constexpr std::u16string_view kTerminator = u"_endMessage_";
  // Characters held without a terminator before the held text is dropped.
  static constexpr std::size_t kBufferLimit = 16u * 1024u * 1024u;

  struct Result {
    std::vector<std::u16string> messages;  // complete messages, in arrival order
    bool dropped = false;                  // the held text passed kBufferLimit and was dropped
  };

  Result Append(std::u16string_view piece);
  // Text after the last terminator, waiting for the rest of its message.
  const std::u16string& Buffer() const { return buffer_; }

 private:
  std::u16string buffer_;
  // After a drop, the rest of that over-long message is skipped up to its terminator.
  bool discarding_ = false;
};

}  // namespace quillon::link
