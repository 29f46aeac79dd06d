#pragma once
// Job files given on the command line (--check-job, --print-job).
#include <optional>
#include <string>

#include "link/wire_text.h"

namespace quillon::app {

// The file's bytes ("-": standard input); nullopt when it cannot be read or is a folder.
std::optional<std::string> ReadJobFile(const std::string& path);

// How the bytes stand for text. `encoding` "utf-8" or "windows-1252" decides; when it was not
// given, a file that is well-formed UTF-8 is read as UTF-8 (examples and hand-written jobs
// usually are) and any other as Windows-1252, the server's own encoding.
link::WireEncoding JobFileEncoding(const std::string& bytes, const std::string& encoding);

}  // namespace quillon::app
