#include "platform/whole_file.h"

#include <cstdio>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace quillon::platform {
namespace fs = std::filesystem;

bool WriteWholeFile(const fs::path& target, std::string_view content) {
  fs::path partial = target;
  partial += ".part";
  std::FILE* out = std::fopen(partial.string().c_str(), "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(content.data(), 1, content.size(), out) == content.size();
  const bool closed = std::fclose(out) == 0;
  std::error_code error;
  if (written && closed) {
    fs::rename(partial, target, error);
    if (!error) return true;
  }
  fs::remove(partial, error);
  return false;
}

bool SyncFile(const fs::path& file) {
#ifdef _WIN32
  std::FILE* in = std::fopen(file.string().c_str(), "rb+");
  if (in == nullptr) return false;
  const bool synced = _commit(_fileno(in)) == 0;
  std::fclose(in);
  return synced;
#else
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fdatasync(fd) == 0;
  ::close(fd);
  return synced;
#endif
}

bool SyncFolder(const fs::path& folder) {
#ifdef _WIN32
  (void)folder;  // a rename on NTFS is journalled with the file
  return true;
#else
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
#endif
}

}  // namespace quillon::platform
