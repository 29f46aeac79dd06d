#pragma once
// The printers of Windows (under Wine, the CUPS queues of the machine). A printer with a raw
// backend gets ESC/POS bytes as one "RAW" job; one with a driver gets pages drawn with GDI.
// Every question goes to the spooler at print time: a printer installed while the agent runs is
// found.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "adapters/winspool/printer_choice.h"
#include "platform/printer_system.h"

namespace quillon::adapters::winspool {

class WinspoolPrinterQueue : public platform::PrinterQueue {
 public:
  explicit WinspoolPrinterQueue(PrinterDescription printer) : printer_(std::move(printer)) {}

  std::u16string DeviceName() const override { return printer_.name; }
  // From the description read when the printer was found; asks the spooler nothing.
  void CheckReady() override;
  // The job id of a raw printer's job; a printer with a driver gets GDI pages, counted as printed
  // once the spooler took them.
  std::int64_t PrintTicket(const platform::Ticket& ticket) override;
  // OpenPrinterW, StartDocPrinterW with the "RAW" data type, WritePrinter; accepted once the
  // spooler has closed the job. A job cut short is aborted, so nothing half-printed remains.
  void SendRaw(const std::string& bytes) override;
  // From the status read when the printer was found.
  std::u16string Fault() const override;

 private:
  std::int64_t SubmitRaw(const std::string& bytes);

  PrinterDescription printer_;
};

class WinspoolPrinterSystem : public platform::PrinterSystem {
 public:
  // EnumPrintersW over the local printers and the connections, first match in its order.
  std::shared_ptr<platform::PrinterQueue> FindPrinter(std::u16string_view name) override;
  // GetDefaultPrinterW, or the empty text when there is none.
  std::u16string DefaultPrinterName() override;
  // EnumPrintersW over the same printers, in its order.
  std::vector<std::u16string> PrinterNames() override;
  // GetJobW for each job; a job the spooler no longer has left it without an error.
  std::vector<platform::JobReport> FollowJobs(std::u16string_view printer,
                                              const std::vector<std::int64_t>& jobs) override;
  // SetJobW with JOB_CONTROL_DELETE.
  void CancelJob(std::u16string_view printer, std::int64_t job) override;
};

}  // namespace quillon::adapters::winspool
