#pragma once
// The printers of the CUPS server the desktop prints through (CUPS_SERVER and client.conf say
// which one). A raw queue gets ESC/POS bytes; a queue with a driver gets pages drawn with Qt.
// Printer names and job data only ever travel through libcups, never through a shell command.
// A ticket costs the scheduler one request to find and check its queue and one for the job.
#include <memory>
#include <optional>
#include <string>

#include "adapters/cups/queue_description.h"
#include "platform/printer_system.h"

namespace quillon::adapters::cups {

class CupsPrinterQueue : public platform::PrinterQueue {
 public:
  explicit CupsPrinterQueue(QueueDescription queue) : queue_(std::move(queue)) {}

  std::u16string DeviceName() const override;
  // From the description read when the queue was found; asks the server nothing.
  void CheckReady() override;
  void PrintTicket(const platform::Ticket& ticket) override;
  // One Print-Job request; accepted once the server answers with a job id.
  void SendRaw(const std::string& bytes) override;

 private:
  QueueDescription queue_;
};

class CupsPrinterSystem : public platform::PrinterSystem {
 public:
  // One Get-Printer-Attributes request; the server compares names without letter case.
  std::shared_ptr<platform::PrinterQueue> FindPrinter(std::u16string_view name) override;
  // The CUPS default destination (LPDEST, lpoptions, then the server's), or the empty text.
  std::u16string DefaultPrinterName() override;
};

// The server's current description of one queue; nullopt when it has no queue of that name.
// Raises Failure when the server cannot be asked.
std::optional<QueueDescription> DescribeQueue(const std::string& name);

}  // namespace quillon::adapters::cups
