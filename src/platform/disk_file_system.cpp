#include "platform/disk_file_system.h"

#include "platform/file_calls.h"

namespace quillon::platform {
namespace fs = std::filesystem;

std::optional<std::string> DiskFileSystem::ReadFile(const fs::path& file) const {
  return ReadWholeFile(file);
}

bool DiskFileSystem::WriteFile(const fs::path& target, std::string_view content, FileSync sync) {
  return WriteWholeFile(target, content, sync);
}

bool DiskFileSystem::AppendToFile(const fs::path& file, std::string_view content) {
  return platform::AppendToFile(file, content);
}

bool DiskFileSystem::SyncFile(const fs::path& file) { return platform::SyncFile(file); }

bool DiskFileSystem::SyncFolder(const fs::path& folder) { return platform::SyncFolder(folder); }

std::vector<FolderEntry> DiskFileSystem::ListFolder(const fs::path& folder,
                                                    std::error_code& error) const {
  std::vector<FolderEntry> entries;
  error.clear();
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code unknown;  // a file gone meanwhile is listed without its size
    FolderEntry found{entry->path(), entry->is_regular_file(unknown)};
    if (found.is_file) found.size = entry->file_size(unknown);
    if (unknown) found.size = 0;
    entries.push_back(std::move(found));
  }
  return entries;
}

bool DiskFileSystem::Exists(const fs::path& path) const {
  std::error_code error;
  return fs::exists(path, error);
}

std::error_code DiskFileSystem::Rename(const fs::path& from, const fs::path& to) {
  return RenameOver(from, to);
}

bool DiskFileSystem::Remove(const fs::path& file) {
  std::error_code error;
  fs::remove(file, error);
  return !error;
}

std::error_code DiskFileSystem::CreateFolders(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  return error;
}

}  // namespace quillon::platform
