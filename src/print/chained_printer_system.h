#pragma once
// Several printer systems seen as one: the spool printers of --spool first, then the CUPS ones.
#include <vector>

#include "platform/printer_system.h"

namespace quillon::print {

class ChainedPrinterSystem : public platform::PrinterSystem {
 public:
  // The systems must outlive this one; they are asked in this order, and a later one only when
  // the earlier ones do not have the printer.
  explicit ChainedPrinterSystem(std::vector<platform::PrinterSystem*> systems)
      : systems_(std::move(systems)) {}

  std::shared_ptr<platform::PrinterQueue> FindPrinter(std::u16string_view name) override;
  // The first system's default printer that is named at all.
  std::u16string DefaultPrinterName() override;
  // Each system's names in turn, a name only once: the first system's printer is the one found.
  std::vector<std::u16string> PrinterNames() override;
  // Asked of the system that holds the printer: the first that finds it, else the last one.
  std::vector<platform::JobReport> FollowJobs(std::u16string_view printer,
                                              const std::vector<std::int64_t>& jobs) override;
  void CancelJob(std::u16string_view printer, std::int64_t job) override;

 private:
  platform::PrinterSystem& Holding(std::u16string_view printer);

  std::vector<platform::PrinterSystem*> systems_;
};

}  // namespace quillon::print
