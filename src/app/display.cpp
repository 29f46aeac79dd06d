#include "app/display.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

namespace quillon::app {
namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

bool SocketAnswers(const std::string& path, bool abstract) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::size_t offset = abstract ? 1 : 0;  // an abstract name starts with a zero byte
  if (path.size() + offset >= sizeof address.sun_path) {
    ::close(fd);
    return false;
  }
  std::memcpy(address.sun_path + offset, path.data(), path.size());
  const auto length =
      static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
  const bool answered = ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0;
  ::close(fd);
  return answered;
}

}  // namespace

bool DisplayAvailable() {
  if (Set("QT_QPA_PLATFORM") || Set("WAYLAND_DISPLAY")) return true;
  if (!Set("DISPLAY")) return false;
  const std::string display = std::getenv("DISPLAY");
  if (display.front() != ':') return true;  // a remote display: let Qt try it
  const std::string number = display.substr(1, display.find('.') - 1);
  const std::string path = "/tmp/.X11-unix/X" + number;
  return SocketAnswers(path, false) || SocketAnswers(path, true);
}

void EnsureRuntimeDir() {
  if (Set("XDG_RUNTIME_DIR")) return;
  const std::string dir = "/tmp/runtime-" + std::to_string(getuid());
  mkdir(dir.c_str(), 0700);
  struct stat info {};
  // Only a folder of our own that nobody else can read; otherwise Qt's own warning stands.
  if (stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
      (info.st_mode & 0777) == 0700) {
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  }
}

}  // namespace quillon::app
