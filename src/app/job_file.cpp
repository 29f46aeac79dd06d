#include "app/job_file.h"

#include <iostream>
#include <iterator>

#include "platform/text.h"
#include "platform/whole_file.h"

namespace quillon::app {

std::optional<std::string> ReadJobFile(const std::string& path) {
  if (path == "-") {
    return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  }
  return platform::ReadWholeFile(path);
}

link::WireEncoding JobFileEncoding(const std::string& bytes, const std::string& encoding) {
  const bool utf8 = encoding == "utf-8" || (encoding.empty() && platform::IsValidUtf8(bytes));
  return utf8 ? link::WireEncoding::kUtf8 : link::WireEncoding::kWindows1252;
}

}  // namespace quillon::app
