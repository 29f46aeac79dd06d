#include "link/message_framer.h"

namespace quillon::link {

MessageFramer::Result MessageFramer::Append(std::u16string_view piece) {
  Result result;
  const std::size_t overlap = kTerminator.size() - 1;  // a terminator may straddle the pieces
  std::size_t search_from = buffer_.size() > overlap ? buffer_.size() - overlap : 0;
  buffer_.append(piece);

  std::size_t start = 0;
  for (std::size_t end; (end = buffer_.find(kTerminator, search_from)) != std::u16string::npos;) {
    if (discarding_) {
      discarding_ = false;
    } else {
      result.messages.push_back(buffer_.substr(start, end - start));
    }
    start = end + kTerminator.size();
    search_from = start;
  }
  if (start > 0) buffer_.erase(0, start);

  if (buffer_.size() > kBufferLimit) {
    buffer_.clear();
    discarding_ = true;
    result.dropped = true;
  } else if (discarding_ && buffer_.size() > overlap) {
    buffer_.erase(0, buffer_.size() - overlap);  // only a straddling terminator matters now
  }
  return result;
}

}  // namespace quillon::link
