#pragma once
// The files of the data folder as the core sees them: read and written whole, listed, moved and
// removed. DiskFileSystem (disk_file_system.h) is the real one; tests put a fake in its place
// to make any call fail.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/whole_file.h"

namespace quillon::platform {

struct FolderEntry {
  std::filesystem::path path;
  bool is_file = false;     // a regular file, not a folder or anything else
  std::uintmax_t size = 0;  // of a file
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The file's bytes; nullopt when it is missing, a folder or cannot be read.
  virtual std::optional<std::string> ReadFile(const std::filesystem::path& file) const = 0;
  // As WriteWholeFile: the bytes go beside the target and are renamed into place; false when
  // the file could not be written, and then the target is as it was and nothing is left beside.
  virtual bool WriteFile(const std::filesystem::path& target, std::string_view content,
                         FileSync sync) = 0;
  // Adds `content` at the end of the file, making it when it is missing; false when not all of
  // it went in (part of it may have).
  virtual bool AppendToFile(const std::filesystem::path& file, std::string_view content) = 0;
  virtual bool SyncFile(const std::filesystem::path& file) = 0;
  virtual bool SyncFolder(const std::filesystem::path& folder) = 0;

  // What `folder` holds, in no order; `error` says why it could not be read.
  virtual std::vector<FolderEntry> ListFolder(const std::filesystem::path& folder,
                                              std::error_code& error) const = 0;
  virtual bool Exists(const std::filesystem::path& path) const = 0;
  // Renames `from` to `to`, replacing a file there, in one step.
  virtual std::error_code Rename(const std::filesystem::path& from,
                                 const std::filesystem::path& to) = 0;
  // false when the file is still there afterwards.
  virtual bool Remove(const std::filesystem::path& file) = 0;
  // The folder and the ones above it that are missing.
  virtual std::error_code CreateFolders(const std::filesystem::path& folder) = 0;
};

}  // namespace quillon::platform
