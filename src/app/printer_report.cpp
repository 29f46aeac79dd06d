#include "app/printer_report.h"

#include <exception>
#include <memory>
#include <vector>

#include "adapters/spool/spool_printers.h"
#include "app/printers.h"
#include "platform/failure.h"
#include "platform/text.h"

namespace quillon::app {
namespace {

std::u16string PrinterState(platform::PrinterSystem& system, const std::u16string& name) {
  try {
    const std::shared_ptr<platform::PrinterQueue> queue = system.FindPrinter(name);
    if (!queue) return u"ya no está";
    std::u16string state = u"lista";
    try {
      queue->CheckReady();
    } catch (const std::exception& not_ready) {
      state = u"no puede imprimir: " + platform::FailureDescription(not_ready);
    }
    const std::u16string fault = queue->Fault();
    if (!fault.empty() && state.find(fault) == std::u16string::npos)
      state += u"; informa: " + fault;
    return state;
  } catch (const std::exception& failure) {
    return u"no se pudo consultar: " + platform::FailureDescription(failure);
  }
}

std::u16string SystemReport(const std::u16string& heading, platform::PrinterSystem& system) {
  std::u16string text = heading + u":\n";
  std::vector<std::u16string> names;
  try {
    names = system.PrinterNames();
  } catch (const std::exception& failure) {
    return text + u"  No se pudo consultar: " + platform::FailureDescription(failure) + u"\n";
  }
  std::u16string default_name;
  try {
    default_name = system.DefaultPrinterName();
  } catch (const std::exception& failure) {
    text +=
        u"  No se pudo saber la predeterminada: " + platform::FailureDescription(failure) + u"\n";
  }
  if (names.empty()) text += u"  (ninguna)\n";
  bool default_listed = default_name.empty();
  for (const std::u16string& name : names) {
    const bool is_default = !default_name.empty() && platform::SamePrinterName(name, default_name);
    default_listed = default_listed || is_default;
    text += u"  " + name + (is_default ? u" (predeterminada)" : u"") + u": " +
            PrinterState(system, name) + u"\n";
  }
  if (!default_listed) {
    text += u"  Predeterminada: " + default_name + u", que no está entre las impresoras\n";
  }
  return text;
}

}  // namespace

std::u16string PrinterReport(const CommandLine& line) {
  std::u16string text;
  if (!line.spool_dir.empty()) {
    adapters::spool::SpoolPrinterSystem spool(line.spool_dir,
                                              platform::Utf8ToUtf16(line.default_printer));
    text += SystemReport(
                u"Carpetas de impresoras (--spool " + platform::Utf8ToUtf16(line.spool_dir) + u")",
                spool) +
            u"\n";
  }
  CommandLine system_only = line;
  system_only.spool_dir.clear();
  const std::unique_ptr<platform::PrinterSystem> system = MakePrinterSystem(system_only);
  return text + SystemReport(u"Impresoras del sistema", *system);
}

}  // namespace quillon::app
