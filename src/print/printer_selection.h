#pragma once
// The printer that takes a piece of work, chosen by name at print time: the named printer when
// it is there and ready, else once the default printer.
#include <functional>
#include <string>
#include <string_view>

#include "platform/printer_system.h"

namespace quillon::print {

struct Routing {
  std::u16string printer;         // the printer that accepted the work; empty when none did
  std::u16string failed_printer;  // the last printer tried, when none accepted it
  std::u16string failure;         // why that printer could not take it
  bool missing = false;           // that printer was not there at all
  bool Accepted() const { return !printer.empty(); }
};

// Hands the work meant for `name` (empty: the default printer) to the first of the named and the
// default printer that is found, ready, and accepts it. `send` gives the work to a printer and
// throws platform::Failure when it does not accept it.
Routing Route(platform::PrinterSystem& printers, std::u16string_view name,
              const std::function<void(platform::PrinterQueue&)>& send);

}  // namespace quillon::print
