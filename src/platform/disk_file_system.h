#pragma once
// The file system of the machine, over platform/whole_file and std::filesystem.
#include "platform/file_system.h"

namespace quillon::platform {

class DiskFileSystem final : public FileSystem {
 public:
  std::optional<std::string> ReadFile(const std::filesystem::path& file) const override;
  bool WriteFile(const std::filesystem::path& target, std::string_view content,
                 FileSync sync) override;
  bool AppendToFile(const std::filesystem::path& file, std::string_view content) override;
  bool SyncFile(const std::filesystem::path& file) override;
  bool SyncFolder(const std::filesystem::path& folder) override;
  std::vector<FolderEntry> ListFolder(const std::filesystem::path& folder,
                                      std::error_code& error) const override;
  bool Exists(const std::filesystem::path& path) const override;
  std::error_code Rename(const std::filesystem::path& from,
                         const std::filesystem::path& to) override;
  bool Remove(const std::filesystem::path& file) override;
  std::error_code CreateFolders(const std::filesystem::path& folder) override;
};

}  // namespace quillon::platform
