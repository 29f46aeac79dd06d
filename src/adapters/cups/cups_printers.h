#pragma once
// The printers of the CUPS server the desktop prints through (CUPS_SERVER and client.conf say
// which one). A raw queue gets ESC/POS bytes; a queue with a driver gets pages drawn with Qt.
// Printer names and job data only ever travel through libcups, never through a shell command.
// A ticket costs the scheduler one request to find and check its queue, one for the job and one
// or more to follow the job until it completes.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "adapters/cups/queue_description.h"
#include "platform/printer_system.h"

namespace quillon::adapters::cups {

class CupsPrinterQueue : public platform::PrinterQueue {
 public:
  explicit CupsPrinterQueue(QueueDescription queue) : queue_(std::move(queue)) {}

  std::u16string DeviceName() const override;
  // From the description read when the queue was found; asks the server nothing.
  void CheckReady() override;
  // The job id of a raw queue's Print-Job; a queue with a driver prints through Qt, which
  // tells no job id, so its tickets count as printed once the server took them.
  std::int64_t PrintTicket(const platform::Ticket& ticket) override;
  // One Print-Job request; accepted once the server answers with a job id.
  void SendRaw(const std::string& bytes) override;
  // From the state reasons read when the queue was found.
  std::u16string Fault() const override { return QueueFault(queue_); }

 private:
  std::int64_t SubmitRaw(const std::string& bytes);

  QueueDescription queue_;
};

class CupsPrinterSystem : public platform::PrinterSystem {
 public:
  // One Get-Printer-Attributes request; the server compares names without letter case.
  std::shared_ptr<platform::PrinterQueue> FindPrinter(std::u16string_view name) override;
  // The CUPS default destination (LPDEST, lpoptions, then the server's), or the empty text.
  std::u16string DefaultPrinterName() override;
  // One CUPS-Get-Printers request: the server's queues, in its order.
  std::vector<std::u16string> PrinterNames() override;
  // One Get-Jobs request on the queue for the jobs asked about, whatever their state.
  std::vector<platform::JobReport> FollowJobs(std::u16string_view printer,
                                              const std::vector<std::int64_t>& jobs) override;
  // One Cancel-Job request.
  void CancelJob(std::u16string_view printer, std::int64_t job) override;
};

// The server's current description of one queue; nullopt when it has no queue of that name.
// Raises Failure when the server cannot be asked.
std::optional<QueueDescription> DescribeQueue(const std::string& name);

}  // namespace quillon::adapters::cups
