#pragma once
// Files in memory that can be made to fail: any call refused by its kind and the path it is about
// (a folder's path stands for everything in it), and a disk that runs out of room after so many
// bytes. A write that does not fit leaves nothing, as the real one; an append that does not fit
// leaves what fitted, as a disk that fills in the middle of a line.
#include <cstdint>
#include <filesystem>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quillon::test {

enum class FileCall {
  kAny,
  kRead,
  kWrite,
  kAppend,
  kSync,
  kList,
  kRename,
  kRemove,
  kCreateFolders
};

class FakeFileSystem : public platform::FileSystem {
 public:
  FakeFileSystem();

  std::optional<std::string> ReadFile(const std::filesystem::path& file) const override;
  bool WriteFile(const std::filesystem::path& target, std::string_view content,
                 platform::FileSync sync) override;
  bool AppendToFile(const std::filesystem::path& file, std::string_view content) override;
  bool SyncFile(const std::filesystem::path& file) override;
  bool SyncFolder(const std::filesystem::path& folder) override;
  std::vector<platform::FolderEntry> ListFolder(const std::filesystem::path& folder,
                                                std::error_code& error) const override;
  bool Exists(const std::filesystem::path& path) const override;
  std::error_code Rename(const std::filesystem::path& from,
                         const std::filesystem::path& to) override;
  bool Remove(const std::filesystem::path& file) override;
  std::error_code CreateFolders(const std::filesystem::path& folder) override;

  // Calls of that kind (kAny: every kind) about `path` or anything in it (empty: any path) fail
  // from now on, until Allow.
  void Refuse(FileCall call, const std::filesystem::path& path = {});
  void Allow() { refused_.clear(); }
  // The disk takes `bytes` more bytes of content, then no more.
  void SetSpaceLeft(std::uintmax_t bytes) { space_left_ = bytes; }
  void SetSpaceLeftUnbounded() { space_left_ = std::numeric_limits<std::uintmax_t>::max(); }

  // A file put there as it is, folders made as needed; for the state a test starts from.
  void Put(const std::filesystem::path& file, const std::string& bytes);
  // The names in `folder`, sorted; the names of folders end in "/".
  std::vector<std::string> Names(const std::filesystem::path& folder) const;
  // How many calls of that kind were refused.
  int RefusedCalls(FileCall call) const;

 private:
  static std::filesystem::path Key(const std::filesystem::path& path);
  std::vector<platform::FolderEntry> Children(const std::filesystem::path& key) const;
  bool Refused(FileCall call, const std::filesystem::path& path) const;
  bool IsFolder(const std::filesystem::path& key) const { return folders_.contains(key); }
  bool IsFile(const std::filesystem::path& key) const { return files_.contains(key); }

  std::map<std::filesystem::path, std::string> files_;
  std::set<std::filesystem::path> folders_;
  std::vector<std::pair<FileCall, std::filesystem::path>> refused_;
  mutable std::map<FileCall, int> refused_calls_;
  std::uintmax_t space_left_ = std::numeric_limits<std::uintmax_t>::max();
};

}  // namespace quillon::test
