#pragma once
// The print engine's shared state and operations: the settings rows of the job being printed,
// the invoice's PrintSettings, printer lookup and selection with its probe and fallback, the
// current printer, the ticket line model and the cash drawer. One instance for the process.
#include <memory>
#include <string>
#include <string_view>

#include "json/value.h"
#include "platform/notifier.h"
#include "platform/printer_system.h"
#include "print/print_settings.h"
#include "print/printer_device.h"

namespace quillon::print {

class PrintEngine {
 public:
  PrintEngine(platform::PrinterSystem& printers, platform::Notifier& notifier);
  ~PrintEngine();

  // --- settings rows ("config" of the last job that parsed) ---
  void SetSettingsRows(json::Value rows);
  const json::Value& Configuracion() const;
  std::u16string ConfigValue(std::u16string_view name) const;  // raises platform::Failure on null value
  bool ConfigVisible(std::u16string_view name) const;
  void LoadPrintSettings();  // raises platform::Failure ("Servicio" out of range, null "Descripcion")
  const PrintSettings& Settings() const;

  // --- printers ---
  bool PrinterAvailable() const;
  std::u16string DefaultPrinterName();
  int PrinterIndex(std::u16string_view name);  // raises platform::Failure when nothing matches
  bool SelectPrinter(int index, int attempt);  // raises platform::Failure for a bad index
  PrinterDevice& Printer();                    // the current printer
  void SendRawToCurrent(const std::string& bytes);  // raw job to the current printer's queue
  platform::Notifier& Notifier();

  // --- ticket line model ---
  int CharsPerLine() const;
  bool IsRoll55() const;
  bool IsRoll75() const;
  int RollFontSize() const;  // 7 on a 55 mm roll, else 10
  int ScaleColumn(int column) const;
  static int RightAlignColumn(std::u16string_view text, int width);
  static int FittingLength(std::u16string_view text, int limit);
  void PrintSeparator(std::u16string_view kind);
  int SeparatorWidth();
  void PrintWrapped(std::u16string_view text, int max_chars, int align, int indent);
  void PrintWrappedMeasured(std::u16string_view text, int& width, int align, int indent);

  // --- cash drawer ---
  // Sends the drawer kick to "Facturas" (or the fallback); why it could not, empty when it went.
  std::u16string OpenCashDrawer();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// An amount as printed: rounded to a whole number (halves to even), "." grouping: 12.500.
std::u16string AmountText(const json::Decimal& value);

}  // namespace quillon::print
