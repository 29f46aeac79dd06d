#include <unistd.h>

#include <system_error>

#include "app/data_folder.h"
#include "app/xdg_folders.h"

namespace quillon::app {
namespace {

namespace fs = std::filesystem;

fs::path ProgramFolder() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : program.parent_path();
}

}  // namespace

fs::path ChooseDataFolder(const std::string& data_dir) {
  if (!data_dir.empty()) return data_dir;
  fs::path program = ProgramFolder();
  // Programs' folders (/usr/bin, /usr/local/bin, ~/.local/bin) are shared by every program.
  if (!program.empty() && program.filename() != "bin" &&
      access(program.c_str(), W_OK | X_OK) == 0) {
    return program;
  }
  fs::path folder = UserDataHome() / "quillon-agent";
  std::error_code ignored;  // a folder that cannot be made is reported when it is first used
  fs::create_directories(folder, ignored);
  return folder;
}

}  // namespace quillon::app
