#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "app/xdg_folders.h"

namespace quillon::app {
namespace {

namespace fs = std::filesystem;

fs::path BaseFolder(const char* variable, const fs::path& under_home) {
  const char* value = std::getenv(variable);
  if (value != nullptr && fs::path(value).is_absolute()) return value;
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') {  // a service may start without HOME
    const passwd* entry = getpwuid(getuid());
    home = entry != nullptr ? entry->pw_dir : "/";
  }
  return fs::path(home) / under_home;
}

}  // namespace

fs::path UserDataHome() { return BaseFolder("XDG_DATA_HOME", ".local/share"); }
fs::path UserConfigHome() { return BaseFolder("XDG_CONFIG_HOME", ".config"); }

}  // namespace quillon::app
