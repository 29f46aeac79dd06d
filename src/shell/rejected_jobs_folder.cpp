#include "shell/rejected_jobs_folder.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
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
  std::error_code failure;
  std::filesystem::create_directories(folder_, failure);
  if (failure) {
    error = ErrorText(folder_, failure);
    return false;
  }
  std::vector<std::pair<std::uint64_t, std::filesystem::path>> found;
  for (std::filesystem::directory_iterator entry(folder_, failure), end; !failure && entry != end;
       entry.increment(failure)) {
    const std::filesystem::path& path = entry->path();
    if (path.extension() == ".tmp") {
      std::error_code ignored;  // a write cut short by the end of the process
      std::filesystem::remove(path, ignored);
    } else if (const std::uint64_t number = FileNumber(path); number > 0) {
      found.emplace_back(number, path);
    }
  }
  if (failure) {
    error = ErrorText(folder_, failure);
    return false;
  }
  std::sort(found.begin(), found.end());
  for (auto& [number, path] : found) {
    std::error_code unknown;  // a file gone meanwhile counts nothing
    const std::uintmax_t size = std::filesystem::file_size(path, unknown);
    files_.push_back({std::move(path), unknown ? 0 : size});
    bytes_ += files_.back().size;
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
  while (files_.size() > kKept || (files_.size() > 1 && bytes_ > kKeptBytes)) {
    std::error_code ignored;  // a file removed by hand is already gone
    std::filesystem::remove(files_.front().path, ignored);
    bytes_ -= files_.front().size;
    files_.pop_front();
  }
}

link::RejectedJobStore::Kept RejectedJobsFolder::Keep(std::string_view bytes,
                                                      std::u16string_view kind) {
  Kept kept;
  if (!loaded_ && !LoadExisting(kept.error)) return kept;
  std::filesystem::path path = NextPath(kind);
  std::error_code failure;
  // A file put there by hand under the next number is not overwritten.
  while (std::filesystem::exists(path, failure)) path = NextPath(kind);

  std::filesystem::path temporary = path;
  temporary += ".tmp";
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (out.fail()) {
    kept.error = temporary.u16string() + u": no se pudo escribir";
    std::filesystem::remove(temporary, failure);
    return kept;
  }
  std::filesystem::rename(temporary, path, failure);
  if (failure) {
    kept.error = ErrorText(path, failure);
    std::filesystem::remove(temporary, failure);
    return kept;
  }
  files_.push_back({path, bytes.size()});
  bytes_ += bytes.size();
  DropOldest();
  kept.file = path.u16string();
  return kept;
}

}  // namespace quillon::shell
