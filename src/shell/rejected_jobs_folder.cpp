#include "shell/rejected_jobs_folder.h"

#include <algorithm>
#include <cstdio>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/text.h"

namespace quillon::shell {
namespace {

// The leading number of a kept file's name; 0 for any other file.
std::uint64_t FileNumber(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  std::uint64_t number = 0;
  std::size_t digits = 0;
  for (; digits < name.size() && name[digits] >= '0' && name[digits] <= '9'; ++digits) {
    number = number * 10 + static_cast<std::uint64_t>(name[digits] - '0');
  }
  const bool kept =
      digits > 0 && digits < name.size() && name[digits] == '-' && path.extension() == ".json";
  return kept ? number : 0;
}

std::u16string ErrorText(const std::filesystem::path& path, const std::error_code& error) {
  return path.u16string() + u": " + platform::Utf8ToUtf16(error.message());
}

}  // namespace

bool RejectedJobsFolder::LoadExisting(std::u16string& error) {
  std::error_code failure = files_.CreateFolders(folder_);
  std::vector<platform::FolderEntry> entries;
  if (!failure) entries = files_.ListFolder(folder_, failure);
  if (failure) {
    error = ErrorText(folder_, failure);
    return false;
  }
  std::vector<std::pair<std::uint64_t, platform::FolderEntry>> found;
  for (platform::FolderEntry& entry : entries) {
    // A write cut short by the end of the process (".tmp" in earlier versions).
    if (entry.path.extension() == ".part" || entry.path.extension() == ".tmp") {
      files_.Remove(entry.path);
    } else if (const std::uint64_t number = FileNumber(entry.path); number > 0) {
      found.emplace_back(number, std::move(entry));
    }
  }
  std::sort(found.begin(), found.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [number, entry] : found) {
    kept_.push_back({std::move(entry.path), entry.size});
    bytes_ += entry.size;
  }
  if (!found.empty()) next_number_ = found.back().first + 1;
  loaded_ = true;
  return true;
}

std::filesystem::path RejectedJobsFolder::NextPath(std::u16string_view kind) {
  const platform::DateTime now = clock_.Now();
  char name[64];
  std::snprintf(name, sizeof name, "%06llu-%04d%02d%02d-%02d%02d%02d-",
                static_cast<unsigned long long>(next_number_++), now.year, now.month, now.day,
                now.hour, now.minute, now.second);
  return folder_ / (name + platform::Utf16ToUtf8(kind) + ".json");
}

void RejectedJobsFolder::DropOldest() {
  while (kept_.size() > kKept || (kept_.size() > 1 && bytes_ > kKeptBytes)) {
    files_.Remove(kept_.front().path);  // a file removed by hand is already gone
    bytes_ -= kept_.front().size;
    kept_.pop_front();
  }
}

link::RejectedJobStore::Kept RejectedJobsFolder::Keep(std::string_view bytes,
                                                      std::u16string_view kind) {
  Kept kept;
  if (!loaded_ && !LoadExisting(kept.error)) return kept;
  std::filesystem::path path = NextPath(kind);
  // A file put there by hand under the next number is not overwritten.
  while (files_.Exists(path)) path = NextPath(kind);
  if (!files_.WriteFile(path, bytes, platform::FileSync::kNone)) {
    kept.error = path.u16string() + u": no se pudo escribir";
    return kept;
  }
  kept_.push_back({path, bytes.size()});
  bytes_ += bytes.size();
  DropOldest();
  kept.file = path.u16string();
  return kept;
}

}  // namespace quillon::shell
