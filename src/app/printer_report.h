#pragma once
// The printers the agent can print on and the state of each, as text: the spool folders of
// --spool and the system's printers, each asked on its own, so that a system that cannot be
// asked does not hide the other's printers.
#include <string>

#include "app/command_line.h"

namespace quillon::app {

// One heading a printer system, then one line a printer: "  Cocina: lista",
// "  Facturas (predeterminada): no puede imprimir: La impresora está fuera de línea".
std::u16string PrinterReport(const CommandLine& line);

}  // namespace quillon::app
