#pragma once
// The user's base folders as the XDG rules name them.
#include <filesystem>

namespace quillon::app {

// $XDG_DATA_HOME, or ~/.local/share when it is unset or not an absolute path.
std::filesystem::path UserDataHome();
// $XDG_CONFIG_HOME, or ~/.config when it is unset or not an absolute path.
std::filesystem::path UserConfigHome();

}  // namespace quillon::app
