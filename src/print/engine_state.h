#pragma once
// What one PrintEngine holds; shared by the files that implement its parts.
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "json/value.h"
#include "platform/notifier.h"
#include "platform/printer_system.h"
#include "print/print_engine.h"
#include "print/print_settings.h"
#include "print/ticket_recorder.h"

namespace quillon::print {

struct PrintEngine::State {
  platform::PrinterSystem& printers;
  platform::Notifier& notifier;
  json::Value rows;  // configuracion
  PrintSettings settings;
  TicketRecorder recorder;
};

// Position of the first printer whose device name equals `name`, both in capitals and without
// surrounding blanks.
std::optional<int> FindPrinter(const std::vector<std::shared_ptr<platform::PrinterQueue>>& printers,
                               std::u16string_view name);

}  // namespace quillon::print
