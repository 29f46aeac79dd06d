#include "link/message_framer.h"

#include <utility>

namespace quillon::link {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A quote at `at` is part of the text when an odd number of backslashes stands before it.
bool IsEscaped(std::string_view text, std::size_t at) {
  std::size_t backslashes = 0;
  while (at > backslashes && text[at - backslashes - 1] == '\\') ++backslashes;
  return backslashes % 2 == 1;
}

}  // namespace

std::size_t StartOfTrailingJson(std::string_view text) {
  std::size_t at = text.size();
  while (at > 0 && IsBlank(text[at - 1])) --at;
  if (at == 0 || (text[at - 1] != '}' && text[at - 1] != ']')) return std::string_view::npos;
  int depth = 0;
  char quote = 0;
  while (at > 0) {
    const char c = text[--at];
    if (quote != 0) {
      if (c == quote && !IsEscaped(text, at)) quote = 0;
      continue;
    }
    switch (c) {
      case '"':
      case '\'':
        quote = c;
        break;
      case '}':
      case ']':
        ++depth;
        break;
      case '{':
      case '[':
        if (--depth == 0) return at;
        break;
      default:
        break;
    }
  }
  return std::string_view::npos;
}

MessageFramer::Result MessageFramer::Append(std::string_view piece) {
  Result result;
  const std::size_t overlap = kTerminator.size() - 1;  // a terminator may straddle the pieces
  std::size_t search_from = buffer_.size() > overlap ? buffer_.size() - overlap : 0;
  buffer_.append(piece);

  std::size_t start = 0;
  for (std::size_t end; (end = buffer_.find(kTerminator, search_from)) != std::string::npos;) {
    TakeMessage(start, end, result);
    start = end + kTerminator.size();
    search_from = start;
  }
  if (start > 0) buffer_.erase(0, start);

  if (buffer_.size() > kMessageLimit) overlong_ = true;
  // The newest kMessageLimit bytes are all a job sent after the over-long text can need; the
  // rest goes in large steps, so dropping costs linear time however small the pieces are.
  if (buffer_.size() > 2 * kMessageLimit) {
    const std::size_t drop = buffer_.size() - kMessageLimit;
    CountDropped(0, drop, result);
    buffer_.erase(0, drop);
  }
  // The room of a large message goes with it, so that one very large job does not keep it.
  if (buffer_.capacity() > kKeptRoom && buffer_.size() <= kKeptRoom / 2) buffer_.shrink_to_fit();
  return result;
}

void MessageFramer::TakeMessage(std::size_t start, std::size_t end, Result& result) {
  const std::string_view message = std::string_view(buffer_).substr(start, end - start);
  if (!overlong_ && message.size() <= kMessageLimit) {
    result.messages.emplace_back(message);
    return;
  }
  overlong_ = false;
  const std::size_t job = StartOfTrailingJson(message);
  if (job != std::string_view::npos && message.size() - job <= kMessageLimit) {
    CountDropped(start, job, result);
    result.messages.emplace_back(message.substr(job));
  } else {
    CountDropped(start, message.size(), result);
  }
}

void MessageFramer::CountDropped(std::size_t start, std::size_t length, Result& result) const {
  result.dropped += CountWireCharacters(std::string_view(buffer_).substr(start, length), encoding_);
}

std::string MessageFramer::EndStream() {
  overlong_ = false;
  return std::exchange(buffer_, std::string());
}

}  // namespace quillon::link
