#pragma once
// The data folder: Acceso, logo.bmp and whatever else the agent keeps between runs.
#include <filesystem>
#include <string>

namespace quillon::app {

// `data_dir` (--data-dir) when given. Otherwise the program's own folder, as on a workstation
// where the agent was copied into a folder of its own or runs from its build folder, as long as
// the user can write there and it is not a programs' folder named bin (where an installed agent
// lives beside every other program, and which root could write into). Otherwise
// $XDG_DATA_HOME/quillon-agent (~/.local/share/quillon-agent), created when missing.
std::filesystem::path ChooseDataFolder(const std::string& data_dir);

}  // namespace quillon::app
