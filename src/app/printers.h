#pragma once
// The printers the agent prints on: the spool folders of --spool (listed first, with
// --default-printer as their default) and the CUPS queues of the workstation.
#include <memory>

#include "app/command_line.h"
#include "platform/printer_system.h"

namespace quillon::app {

std::unique_ptr<platform::PrinterSystem> MakePrinterSystem(const CommandLine& line);

}  // namespace quillon::app
