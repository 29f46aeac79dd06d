#pragma once
// Recording printers: each queue keeps the tickets and raw jobs it received and can be taken
// offline; the system lists the queues in the order they were added and names a default.
#include <memory>
#include <string>
#include <vector>

#include "platform/printer_system.h"

namespace quillon::test {

class FakePrinterQueue : public platform::PrinterQueue {
 public:
  explicit FakePrinterQueue(std::u16string name) : name_(std::move(name)) {}

  std::u16string DeviceName() const override { return name_; }
  void CheckReady() override;  // raises platform::Failure while offline
  void PrintTicket(const platform::Ticket& ticket) override;
  void SendRaw(const std::string& bytes) override;

  // Offline queues fail every operation with `description`.
  void SetOffline(bool offline, std::u16string description = u"La impresora está fuera de línea");

  std::vector<platform::Ticket> tickets;
  std::vector<std::string> raw_jobs;
  int ready_checks = 0;  // calls of CheckReady, failed ones included

 private:
  std::u16string name_;
  bool offline_ = false;
  std::u16string offline_description_;
};

class FakePrinterSystem : public platform::PrinterSystem {
 public:
  std::shared_ptr<FakePrinterQueue> AddPrinter(const std::u16string& name);
  // The queue whose device name is exactly `name`; nullptr when none.
  std::shared_ptr<FakePrinterQueue> Queue(const std::u16string& name) const;
  void SetDefaultName(std::u16string name) { default_name_ = std::move(name); }

  std::vector<std::shared_ptr<platform::PrinterQueue>> InstalledPrinters() override;
  std::u16string DefaultPrinterName() override { return default_name_; }

 private:
  std::vector<std::shared_ptr<FakePrinterQueue>> queues_;
  std::u16string default_name_;
};

}  // namespace quillon::test
