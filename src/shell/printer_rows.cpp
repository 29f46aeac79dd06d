#include "shell/printer_rows.h"

#include <algorithm>

#include "platform/text.h"

namespace quillon::shell {

std::vector<PrinterStatus> KnownPrinters(PrinterDirectory* directory,
                                         const std::vector<print::UsedPrinter>& used) {
  std::vector<PrinterStatus> known =
      directory != nullptr ? directory->Mapped() : std::vector<PrinterStatus>();
  auto listed = [&known](std::u16string_view name) {
    return std::find_if(known.begin(), known.end(), [name](const PrinterStatus& printer) {
      return platform::SamePrinterName(printer.name, name);
    });
  };
  for (const print::UsedPrinter& printer : used) {
    const std::u16string state = printer.not_responding ? u"no responde" : u"listo";
    const auto row = listed(printer.name);
    if (row == known.end()) {
      known.push_back(
          {printer.name, directory != nullptr ? directory->HowReached(printer.name) : u"", state});
    } else if (!row->direct && printer.not_responding) {
      row->state = state;
    }
  }
  if (directory == nullptr) return known;
  const std::u16string default_printer = directory->DefaultPrinter();
  if (!default_printer.empty() && listed(default_printer) == known.end())
    known.push_back({default_printer, directory->HowReached(default_printer), u"sin estado"});
  return known;
}

std::u16string PrinterRowText(const PrinterStatus& printer) {
  std::u16string text = printer.name;
  for (const std::u16string* part : {&printer.reached, &printer.state}) {
    if (!part->empty()) text += u"  " + *part;
  }
  return text;
}

}  // namespace quillon::shell
