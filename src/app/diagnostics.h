#pragma once
// The diagnostics file: one zip an IT person receives by mail instead of asking for each file
// of a branch in turn. It holds the build and the system, the settings (agent.conf as it is,
// the branch code and options of Acceso), the printers and their states, the tickets of the
// outbox as text (their files only when asked for), the last days of registro/ and the names
// and sizes of rechazados/.
#include <filesystem>
#include <string>

#include "app/command_line.h"

namespace quillon::app {

inline constexpr int kDiagnosticsLogDays = 7;

struct DiagnosticsSources {
  const CommandLine& line;  // the settings in effect, agent.conf's included
  std::filesystem::path data_dir;
  std::filesystem::path settings_file;  // agent.conf, whether or not it exists
  std::string settings_error;           // why agent.conf could not be applied; empty when it was
};

struct DiagnosticsResult {
  bool written = false;
  std::u16string text;    // where the file is, or why it could not be written, in Spanish
  std::u16string reason;  // why it could not be written, without the sentence around it
};

// Writes the zip whole at `zip` (never half a file there); `with_tickets` adds the ticket files
// of outbox/, outbox/descartados/ and impresos/.
DiagnosticsResult WriteDiagnostics(const DiagnosticsSources& sources,
                                   const std::filesystem::path& zip, bool with_tickets);

// --diagnostico ARCHIVO.zip [--con-tickets]: 0 with the line that says where the file is, 2 with
// the reason on standard error when it could not be written.
int RunDiagnostics(const DiagnosticsSources& sources);

}  // namespace quillon::app
