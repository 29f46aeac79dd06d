#pragma once
// The system's own calls under platform/whole_file, one implementation per system
// (whole_file_posix.cpp, whole_file_win32.cpp).
#include <filesystem>
#include <string_view>
#include <system_error>

namespace quillon::platform {

// Creates or empties `file` and writes `content` into it, on the disk before it returns when
// `sync`; false when any step failed (the file may then hold part of the content).
bool WriteNewFile(const std::filesystem::path& file, std::string_view content, bool sync);
// Renames `from` to `to`, replacing a file there, in one step; the system's error when it failed.
std::error_code RenameOver(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace quillon::platform
