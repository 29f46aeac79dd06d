#pragma once
// What Windows says about a job (JOB_INFO_1's Status) and about a printer holding jobs (its
// PRINTER_STATUS_* bits), as the print service follows them.
#include <cstdint>
#include <string>

#include "adapters/winspool/printer_choice.h"
#include "platform/printer_system.h"

namespace quillon::adapters::winspool {

// A job that printed or completed is done; one being deleted was canceled; one the spooler could
// not send on (an error, the printer off or out of paper, blocked, waiting for someone) or that
// is paused is held back: it does not print until the printer or someone acts.
platform::JobState JobStateOf(std::uint32_t status);

// What keeps a printer from printing what it holds, in words for the user; empty when nothing.
std::u16string PrinterFault(const PrinterDescription& printer);

}  // namespace quillon::adapters::winspool
