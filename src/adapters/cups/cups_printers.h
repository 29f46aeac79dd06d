#pragma once
// The printers of the CUPS server the desktop prints through (CUPS_SERVER and client.conf say
// which one). A raw queue gets ESC/POS bytes; a queue with a driver gets pages drawn with Qt.
// Printer names and job data only ever travel through libcups, never through a shell command.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "adapters/cups/queue_description.h"
#include "platform/printer_system.h"

namespace quillon::adapters::cups {

class CupsPrinterQueue : public platform::PrinterQueue {
 public:
  explicit CupsPrinterQueue(std::string name) : name_(std::move(name)) {}

  std::u16string DeviceName() const override;
  // Asks the server about the queue; no job is created.
  void CheckReady() override;
  void PrintTicket(const platform::Ticket& ticket) override;
  void SendRaw(const std::string& bytes) override;

 private:
  QueueDescription ReadyQueue() const;  // raises platform::Failure when it cannot print now
  std::string name_;
};

class CupsPrinterSystem : public platform::PrinterSystem {
 public:
  // Every queue of the server, sorted by name; none when the server cannot be reached.
  std::vector<std::shared_ptr<platform::PrinterQueue>> InstalledPrinters() override;
  // The CUPS default destination (LPDEST, lpoptions, then the server's), or the empty text.
  std::u16string DefaultPrinterName() override;
};

// The server's current description of one queue; nullopt when it has no queue of that name.
// Raises PrinterError when the server cannot be asked.
std::optional<QueueDescription> DescribeQueue(const std::string& name);

}  // namespace quillon::adapters::cups
