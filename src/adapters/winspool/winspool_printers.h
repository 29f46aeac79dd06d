#pragma once
// The printers of Windows (under Wine, the CUPS queues of the machine). A printer with a raw
// backend gets ESC/POS bytes as one "RAW" job; one with a driver gets pages drawn with GDI.
// Every question goes to the spooler at print time: a printer installed while the agent runs is
// found.
#include <memory>
#include <string>

#include "adapters/winspool/printer_choice.h"
#include "platform/printer_system.h"

namespace quillon::adapters::winspool {

class WinspoolPrinterQueue : public platform::PrinterQueue {
 public:
  explicit WinspoolPrinterQueue(PrinterDescription printer) : printer_(std::move(printer)) {}

  std::u16string DeviceName() const override { return printer_.name; }
  // From the description read when the printer was found; asks the spooler nothing.
  void CheckReady() override;
  void PrintTicket(const platform::Ticket& ticket) override;
  // OpenPrinterW, StartDocPrinterW with the "RAW" data type, WritePrinter; accepted once the
  // spooler has closed the job. A job cut short is aborted, so nothing half-printed remains.
  void SendRaw(const std::string& bytes) override;

 private:
  PrinterDescription printer_;
};

class WinspoolPrinterSystem : public platform::PrinterSystem {
 public:
  // EnumPrintersW over the local printers and the connections, first match in its order.
  std::shared_ptr<platform::PrinterQueue> FindPrinter(std::u16string_view name) override;
  // GetDefaultPrinterW, or the empty text when there is none.
  std::u16string DefaultPrinterName() override;
};

}  // namespace quillon::adapters::winspool
