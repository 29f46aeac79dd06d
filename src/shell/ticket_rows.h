#pragma once
// How the window shows tickets: a row for each waiting or printed ticket, and the summary of the
// waiting ones that the tray icon's tooltip carries.
#include <string>
#include <vector>

#include "print/print_service.h"

namespace quillon::shell {

// "2024-05-17 13:45:07  Cocina  comanda"; for one a spooler has, "  En la impresora", with what
// its printer reports when it does not respond ("  En la impresora: sin papel"); for one that
// waits behind those, "  Detrás de los tickets de Cocina"; for one set aside, "  No se puede
// imprimir".
std::u16string WaitingRow(const print::WaitingTicket& ticket);
// "12  2024-05-17 13:45:07  Cocina  comanda"
std::u16string PrintedRow(const print::PrintedTicket& ticket);
// One line a printer, in the order their first ticket began to wait: "2 tickets esperando la
// impresora Cocina", or for a printer that does not respond "La impresora Cocina no responde:
// 2 tickets sin imprimir (sin papel)". Tickets a printer that responds is printing are not
// counted. Empty when nothing waits.
std::u16string WaitingSummary(const std::vector<print::WaitingTicket>& waiting);

}  // namespace quillon::shell
