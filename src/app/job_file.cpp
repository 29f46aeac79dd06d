#include "app/job_file.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "platform/text.h"

namespace quillon::app {

std::optional<std::string> ReadJobFile(const std::string& path) {
  if (path == "-") {
    return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  }
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

link::WireEncoding JobFileEncoding(const std::string& bytes, const std::string& encoding) {
  const bool utf8 = encoding == "utf-8" || (encoding.empty() && platform::IsValidUtf8(bytes));
  return utf8 ? link::WireEncoding::Utf8 : link::WireEncoding::Windows1252;
}

}  // namespace quillon::app
