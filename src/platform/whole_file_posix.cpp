#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/whole_file.h"

namespace quillon::platform {
namespace fs = std::filesystem;
namespace {

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

bool WriteWholeFile(const fs::path& target, std::string_view content, FileSync sync) {
  const bool durable = sync == FileSync::kFileAndFolder;
  fs::path partial = target;
  partial += ".part";
  const int fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, content) && (!durable || ::fsync(fd) == 0);
  const bool closed = ::close(fd) == 0;
  if (written && closed && std::rename(partial.c_str(), target.c_str()) == 0) {
    return !durable || SyncFolder(target.has_parent_path() ? target.parent_path() : ".");
  }
  ::unlink(partial.c_str());
  return false;
}

bool SyncFile(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fdatasync(fd) == 0;
  ::close(fd);
  return synced;
}

bool SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

}  // namespace quillon::platform
