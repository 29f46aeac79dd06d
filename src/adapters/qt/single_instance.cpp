#include "adapters/qt/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace quillon::adapters::qt {

SingleInstance::SingleInstance(const std::filesystem::path& data_dir)
    : lock_path_(data_dir / ".quillon-agent.lock") {}

SingleInstance::~SingleInstance() {
  if (fd_ >= 0) ::close(fd_);  // the lock goes with the descriptor; the file stays
}

void SingleInstance::NoteHolder() const {
  if (::ftruncate(fd_, 0) != 0) return;  // read-only: the lock holds all the same
  const std::string holder = std::to_string(::getpid()) + "\n";
  [[maybe_unused]] const ssize_t written = ::pwrite(fd_, holder.data(), holder.size(), 0);
}

SingleInstance::Result SingleInstance::Acquire() {
  if (fd_ >= 0) return Result::kAcquired;
  int fd = ::open(lock_path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  // A leftover someone made read-only locks as well: flock does not need write access.
  if (fd < 0 && errno == EACCES) fd = ::open(lock_path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Result::kUnavailable;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held ? Result::kHeldByOther : Result::kUnavailable;
  }
  fd_ = fd;
  NoteHolder();
  return Result::kAcquired;
}

}  // namespace quillon::adapters::qt
