#include "support/fake_printers.h"

namespace quillon::test {

void FakePrinterQueue::CheckReady() {
  ++ready_checks;
  if (offline_) throw platform::Failure(482, offline_description_);
}

void FakePrinterQueue::PrintTicket(const platform::Ticket& ticket) {
  CheckReady();
  tickets.push_back(ticket);
}

void FakePrinterQueue::SendRaw(const std::string& bytes) {
  CheckReady();
  raw_jobs.push_back(bytes);
}

void FakePrinterQueue::SetOffline(bool offline, std::u16string description) {
  offline_ = offline;
  offline_description_ = std::move(description);
}

std::shared_ptr<FakePrinterQueue> FakePrinterSystem::AddPrinter(const std::u16string& name) {
  queues_.push_back(std::make_shared<FakePrinterQueue>(name));
  return queues_.back();
}

std::shared_ptr<FakePrinterQueue> FakePrinterSystem::Queue(const std::u16string& name) const {
  for (const auto& queue : queues_) {
    if (queue->DeviceName() == name) return queue;
  }
  return nullptr;
}

std::vector<std::shared_ptr<platform::PrinterQueue>> FakePrinterSystem::InstalledPrinters() {
  return {queues_.begin(), queues_.end()};
}

}  // namespace quillon::test
