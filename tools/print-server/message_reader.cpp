#include "message_reader.h"

namespace print_server {

std::vector<std::string> MessageReader::Feed(std::string_view bytes) {
  std::vector<std::string> complete;
  for (const char c : bytes) {
    if (depth_ == 0 && c != '{') continue;  // nothing is sent between messages
    current_ += c;
    if (in_string_) {
      if (escaped_) {
        escaped_ = false;
      } else if (c == '\\') {
        escaped_ = true;
      } else if (c == '"') {
        in_string_ = false;
      }
    } else if (c == '"') {
      in_string_ = true;
    } else if (c == '{') {
      ++depth_;
    } else if (c == '}' && --depth_ == 0) {
      complete.push_back(std::move(current_));
      current_.clear();
    }
  }
  return complete;
}

bool IsIdentification(std::string_view message) {
  return message.find("\"type\":\"id\"") != std::string_view::npos;
}

bool IsStatus(std::string_view message) {
  return message.find("\"status\":") != std::string_view::npos;
}

}  // namespace print_server
