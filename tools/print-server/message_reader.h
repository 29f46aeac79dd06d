#pragma once
// The agent's messages carry no terminator: each is one JSON object, so the stream is cut where
// an object's outermost brace closes.
#include <string>
#include <string_view>
#include <vector>

namespace print_server {

class MessageReader {
 public:
  // The messages the bytes complete, in order.
  std::vector<std::string> Feed(std::string_view bytes);

 private:
  std::string current_;
  int depth_ = 0;
  bool in_string_ = false;
  bool escaped_ = false;
};

bool IsIdentification(std::string_view message);
bool IsStatus(std::string_view message);

}  // namespace print_server
