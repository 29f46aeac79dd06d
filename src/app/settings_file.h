#pragma once
// The settings file agent.conf in $XDG_CONFIG_HOME/quillon-agent (~/.config/quillon-agent): an
// INI file as QSettings reads it, whose keys are the long names of four command-line options:
// server, spool, default-printer and encoding. It spares a service or an autostart entry from
// carrying flags; a flag given on the command line wins over the file.
#include <filesystem>
#include <string>

#include "app/command_line.h"

namespace quillon::app {

std::filesystem::path SettingsFilePath();

// Fills what the command line left unset from `file`; a missing file changes nothing. An
// unreadable file, an unknown key or a bad value changes nothing either: returns false with a
// message in Spanish that names the file, the key and what is accepted.
bool ApplySettingsFile(const std::filesystem::path& file, CommandLine* line, std::string* error);

}  // namespace quillon::app
