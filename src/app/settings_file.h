#pragma once
// The settings file agent.conf (where each system keeps it: SettingsFile in agent_wiring.h): an
// INI file as platform/ini_text reads it, the same on every system, whose keys are the long names
// of command-line options (server, spool, default-printer, encoding, fallback-after) and
// log-days, and whose section [impresoras] maps printer names as --printer NAME=VALUE does. It
// spares a service or an autostart entry from carrying flags; a flag given on the command line wins
// over the file, printer by printer.
#include <filesystem>
#include <string>

#include "app/command_line.h"

namespace quillon::app {

// Fills what the command line left unset from `file`; a missing file changes nothing. An
// unreadable file, an unknown key or a bad value changes nothing either: returns false with a
// message in Spanish that names the file, the key and what is accepted.
bool ApplySettingsFile(const std::filesystem::path& file, CommandLine* line, std::string* error);

}  // namespace quillon::app
