#pragma once
// The running agent: the window or the console, the printers, the documents and the connection
// to the print server, wired together on the Qt event loop.
#include <filesystem>

#include "app/command_line.h"

namespace quillon::app {

// Folder of Acceso and logo.bmp (ChooseDataFolder).
std::filesystem::path DataDir(const CommandLine& line);

// Runs until the agent is ended; the Qt application object must exist (QApplication for the
// desktop, any QGuiApplication when headless). Returns the exit status.
int RunAgent(const CommandLine& line, bool headless);

// --print-job: one job file through the same dispatch as a job from the server, with the
// options stored in Acceso. 0 when it printed, 1 for a job that does not parse (the parser's
// error text goes to standard error) or a print failure, 2 for a file that cannot be read.
int RunPrintJob(const CommandLine& line);

}  // namespace quillon::app
