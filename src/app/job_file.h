#pragma once
// Job files given on the command line (--check-job, --print-job).
#include <optional>
#include <string>

#include "link/wire_text.h"

namespace quillon::app {

// The file's bytes ("-": standard input); nullopt when it cannot be read or is a folder.
std::optional<std::string> ReadJobFile(const std::string& path);

// The bytes as text. `encoding` "utf-8" or "windows-1252" decides; when it was not given, a file
// that is well-formed UTF-8 is read as UTF-8 (examples and hand-written jobs usually are) and any
// other as Windows-1252, the server's own encoding.
std::u16string DecodeJobFile(const std::string& bytes, const std::string& encoding);
// The encoding DecodeJobFile reads the bytes in.
link::WireEncoding JobFileEncoding(const std::string& bytes, const std::string& encoding);

}  // namespace quillon::app
