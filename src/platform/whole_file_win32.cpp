// Windows' own calls: std::filesystem::rename of the MinGW runtime fails when the target exists,
// and only MoveFileExW can replace a file and wait until the move is on the disk.
#include <windows.h>

#include <algorithm>

#include "platform/file_calls.h"
#include "platform/whole_file.h"

namespace quillon::platform {
namespace fs = std::filesystem;

bool WriteNewFile(const fs::path& file, std::string_view content, bool sync) {
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  bool written = true;
  while (written && !content.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size(), 1u << 30));
    DWORD count = 0;
    written = WriteFile(handle, content.data(), chunk, &count, nullptr) && count > 0;
    content.remove_prefix(count);
  }
  written = written && (!sync || FlushFileBuffers(handle));
  return CloseHandle(handle) && written;
}

std::error_code RenameOver(const fs::path& from, const fs::path& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  return {static_cast<int>(GetLastError()), std::system_category()};
}

bool SyncFile(const fs::path& file) {
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool synced = FlushFileBuffers(handle) != 0;
  CloseHandle(handle);
  return synced;
}

bool SyncFolder(const fs::path& folder) {
  (void)folder;  // a rename on NTFS is journalled with the file
  return true;
}

}  // namespace quillon::platform
