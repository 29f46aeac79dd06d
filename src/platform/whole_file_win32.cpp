// Windows' own calls: std::filesystem::rename of the MinGW runtime fails when the target exists,
// and only MoveFileExW can replace a file and wait until the move is on the disk.
#include <windows.h>

#include <algorithm>

#include "platform/whole_file.h"

namespace quillon::platform {
namespace fs = std::filesystem;
namespace {

bool WriteAll(HANDLE file, std::string_view content) {
  while (!content.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, content.data(), chunk, &written, nullptr) || written == 0) return false;
    content.remove_prefix(written);
  }
  return true;
}

}  // namespace

bool WriteWholeFile(const fs::path& target, std::string_view content, FileSync sync) {
  const bool durable = sync == FileSync::kFileAndFolder;
  fs::path partial = target;
  partial += ".part";
  HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool written = WriteAll(file, content) && (!durable || FlushFileBuffers(file));
  const bool closed = CloseHandle(file) != 0;
  // The rename is journalled with the file on NTFS: no folder to sync after it.
  if (written && closed &&
      MoveFileExW(partial.c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(partial.c_str());
  return false;
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
