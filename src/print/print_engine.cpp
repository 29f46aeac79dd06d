#include "print/print_engine.h"

#include "print/engine_state.h"

namespace quillon::print {

PrintEngine::PrintEngine(platform::PrinterSystem& printers, platform::Notifier& notifier)
    : state_(std::make_unique<State>(State{printers, notifier, {}, {}, {}})) {
  // The current printer starts as the system default printer, when there is one.
  const auto installed = printers.InstalledPrinters();
  if (const auto index = FindPrinter(installed, DefaultPrinterName())) {
    state_->recorder.SetQueue(installed[static_cast<std::size_t>(*index)]);
  }
}

PrintEngine::~PrintEngine() = default;

void PrintEngine::SetSettingsRows(json::Value rows) { state_->rows = std::move(rows); }
const json::Value& PrintEngine::Configuracion() const { return state_->rows; }
const PrintSettings& PrintEngine::Settings() const { return state_->settings; }
PrinterDevice& PrintEngine::Printer() { return state_->recorder; }
platform::Notifier& PrintEngine::Notifier() { return state_->notifier; }

}  // namespace quillon::print
