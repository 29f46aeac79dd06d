#include <exception>

#include "platform/text.h"
#include "print/engine_state.h"

namespace quillon::print {
namespace {

std::u16string LookupKey(std::u16string_view name) {
  return platform::ToUpper(platform::TrimBlanks(name));
}

platform::Failure PrinterNotFound(std::u16string_view name, std::u16string_view fallback) {
  std::u16string text = u"No se encontró la impresora \"" + std::u16string(name) + u"\"";
  text += fallback.empty() ? u" y no hay impresora predeterminada"
                           : u" ni la impresora predeterminada \"" + std::u16string(fallback) + u"\"";
  return platform::Failure(platform::kPrinterError, text);
}

}  // namespace

std::optional<int> FindPrinter(const std::vector<std::shared_ptr<platform::PrinterQueue>>& printers,
                               std::u16string_view name) {
  const std::u16string key = LookupKey(name);
  for (std::size_t i = 0; i < printers.size(); ++i) {
    if (LookupKey(printers[i]->DeviceName()) == key) return static_cast<int>(i);
  }
  return std::nullopt;
}

bool PrintEngine::PrinterAvailable() const {
  try {
    state_->recorder.DeviceName();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

std::u16string PrintEngine::DefaultPrinterName() { return state_->printers.DefaultPrinterName(); }

int PrintEngine::PrinterIndex(std::u16string_view name) {
  const auto installed = state_->printers.InstalledPrinters();
  if (const auto index = FindPrinter(installed, name)) return *index;
  // One fallback to the default printer; when that is not installed either, the caller fails.
  const std::u16string fallback = DefaultPrinterName();
  if (const auto index = FindPrinter(installed, fallback)) return *index;
  throw PrinterNotFound(name, fallback);
}

bool PrintEngine::SelectPrinter(int index, int attempt) {
  const auto installed = state_->printers.InstalledPrinters();
  if (index < 0 || static_cast<std::size_t>(index) >= installed.size()) {
    throw platform::Failure(
        9, u"No hay ninguna impresora en la posición " + platform::u16(std::to_string(index)));
  }
  TicketRecorder& printer = state_->recorder;
  printer.SetQueue(installed[static_cast<std::size_t>(index)]);

  // The probe: an empty line opens a job (the queue checks it can print), and the job is
  // cancelled at once, so a usable printer gets nothing on paper.
  std::u16string failure;
  try {
    printer.Print({});
    printer.KillDoc();
    return true;
  } catch (const std::exception& caught) {
    failure = platform::FailureDescription(caught);
  }

  bool result = false;
  if (attempt == 0) {
    result = SelectPrinter(PrinterIndex(DefaultPrinterName()), 1);
  } else {
    state_->notifier.ShowBalloonTip(u"Error al imprimir, La impresora " + printer.DeviceName() +
                                        u" no esta disponible. " + u"\r\n" + failure + u" " +
                                        failure,
                                    platform::BalloonIcon::Error, u"Error al imprimir", 30000);
  }
  if (attempt == 0 && result) {
    printer.Print({PrintItem::Text(u"Error en Impresora " + printer.DeviceName())});
  }
  printer.KillDoc();  // also drops the line above
  return result;
}

void PrintEngine::SendRawToCurrent(const std::string& bytes) {
  state_->recorder.Queue().SendRaw(bytes);
}

}  // namespace quillon::print
