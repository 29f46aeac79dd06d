#include "support/fake_file_system.h"

#include <algorithm>

namespace quillon::test {
namespace fs = std::filesystem;

namespace {

std::error_code Error(std::errc error) { return std::make_error_code(error); }

}  // namespace

FakeFileSystem::FakeFileSystem() { folders_.insert(Key("/")); }

fs::path FakeFileSystem::Key(const fs::path& path) {
  fs::path key = path.lexically_normal();
  if (!key.has_filename() && key.has_relative_path()) key = key.parent_path();
  return key;
}

bool FakeFileSystem::Refused(FileCall call, const fs::path& path) const {
  const fs::path key = Key(path);
  for (const auto& [kind, refused] : refused_) {
    if (kind != FileCall::kAny && kind != call) continue;
    if (refused.empty()) {
      ++refused_calls_[call];
      return true;
    }
    // The refused path itself or anything under it.
    for (fs::path at = key; !at.empty(); at = at.parent_path()) {
      if (at == refused) {
        ++refused_calls_[call];
        return true;
      }
      if (at == at.parent_path()) break;
    }
  }
  return false;
}

void FakeFileSystem::Refuse(FileCall call, const fs::path& path) {
  refused_.emplace_back(call, path.empty() ? fs::path() : Key(path));
}

int FakeFileSystem::RefusedCalls(FileCall call) const {
  const auto found = refused_calls_.find(call);
  return found == refused_calls_.end() ? 0 : found->second;
}

std::optional<std::string> FakeFileSystem::ReadFile(const fs::path& file) const {
  if (Refused(FileCall::kRead, file)) return std::nullopt;
  const auto found = files_.find(Key(file));
  if (found == files_.end()) return std::nullopt;
  return found->second;
}

bool FakeFileSystem::WriteFile(const fs::path& target, std::string_view content,
                               platform::FileSync) {
  const fs::path key = Key(target);
  if (Refused(FileCall::kWrite, target) || !IsFolder(key.parent_path()) || IsFolder(key)) {
    return false;
  }
  // What a failed write took is given back when its partial file goes.
  if (content.size() > space_left_) return false;
  space_left_ -= content.size();
  files_[key] = std::string(content);
  return true;
}

bool FakeFileSystem::AppendToFile(const fs::path& file, std::string_view content) {
  const fs::path key = Key(file);
  if (Refused(FileCall::kAppend, file) || !IsFolder(key.parent_path()) || IsFolder(key)) {
    return false;
  }
  const std::size_t fits =
      static_cast<std::size_t>(std::min<std::uintmax_t>(content.size(), space_left_));
  space_left_ -= fits;
  files_[key] += content.substr(0, fits);
  return fits == content.size();
}

bool FakeFileSystem::SyncFile(const fs::path& file) {
  return !Refused(FileCall::kSync, file) && IsFile(Key(file));
}

bool FakeFileSystem::SyncFolder(const fs::path& folder) {
  return !Refused(FileCall::kSync, folder) && IsFolder(Key(folder));
}

std::vector<platform::FolderEntry> FakeFileSystem::ListFolder(const fs::path& folder,
                                                              std::error_code& error) const {
  const fs::path key = Key(folder);
  error.clear();
  std::vector<platform::FolderEntry> entries;
  if (Refused(FileCall::kList, folder)) {
    error = Error(std::errc::permission_denied);
    return entries;
  }
  if (!IsFolder(key)) {
    error = Error(std::errc::no_such_file_or_directory);
    return entries;
  }
  return Children(key);
}

std::vector<platform::FolderEntry> FakeFileSystem::Children(const fs::path& key) const {
  std::vector<platform::FolderEntry> entries;
  for (const auto& [path, bytes] : files_) {
    if (path.parent_path() == key) entries.push_back({path, true, bytes.size()});
  }
  for (const fs::path& path : folders_) {
    if (path != key && path.parent_path() == key) entries.push_back({path, false, 0});
  }
  return entries;
}

bool FakeFileSystem::Exists(const fs::path& path) const {
  const fs::path key = Key(path);
  return IsFile(key) || IsFolder(key);
}

std::error_code FakeFileSystem::Rename(const fs::path& from, const fs::path& to) {
  const fs::path source = Key(from);
  const fs::path target = Key(to);
  if (Refused(FileCall::kRename, from) || Refused(FileCall::kRename, to)) {
    return Error(std::errc::permission_denied);
  }
  const auto found = files_.find(source);
  if (found == files_.end()) return Error(std::errc::no_such_file_or_directory);
  if (!IsFolder(target.parent_path())) return Error(std::errc::no_such_file_or_directory);
  if (IsFolder(target)) return Error(std::errc::is_a_directory);
  std::string bytes = std::move(found->second);
  files_.erase(found);
  files_[target] = std::move(bytes);
  return {};
}

bool FakeFileSystem::Remove(const fs::path& file) {
  const fs::path key = Key(file);
  if (Refused(FileCall::kRemove, file)) return !Exists(file);
  if (IsFolder(key)) {
    if (!Children(key).empty()) return false;
    folders_.erase(key);
  }
  files_.erase(key);
  return true;
}

std::error_code FakeFileSystem::CreateFolders(const fs::path& folder) {
  if (Refused(FileCall::kCreateFolders, folder)) return Error(std::errc::permission_denied);
  std::vector<fs::path> missing;
  for (fs::path at = Key(folder); !IsFolder(at); at = at.parent_path()) {
    if (IsFile(at)) return Error(std::errc::not_a_directory);
    missing.push_back(at);
    if (at == at.parent_path()) break;
  }
  folders_.insert(missing.begin(), missing.end());
  return {};
}

void FakeFileSystem::Put(const fs::path& file, const std::string& bytes) {
  CreateFolders(Key(file).parent_path());
  files_[Key(file)] = bytes;
}

std::vector<std::string> FakeFileSystem::Names(const fs::path& folder) const {
  std::vector<std::string> names;
  for (const platform::FolderEntry& entry : Children(Key(folder))) {
    names.push_back(entry.path.filename().string() + (entry.is_file ? "" : "/"));
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace quillon::test
