#include "support/fake_printers.h"

#include <algorithm>

namespace quillon::test {

void FakePrinterQueue::CheckReady() {
  ++ready_checks;
  if (offline_) throw platform::Failure(482, offline_description_);
}

void FakePrinterQueue::Accept() {
  if (offline_) throw platform::Failure(platform::kPrinterError, offline_description_);
  if (refusing_)
    throw platform::Failure(platform::kPrinterError, u"No se pudo escribir el trabajo");
  if (on_accept) on_accept();
}

void FakePrinterQueue::PrintTicket(const platform::Ticket& ticket) {
  Accept();
  tickets.push_back(ticket);
}

void FakePrinterQueue::SendRaw(const std::string& bytes) {
  Accept();
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

void FakePrinterSystem::RemovePrinter(const std::u16string& name) {
  std::erase_if(queues_, [&](const auto& queue) { return queue->DeviceName() == name; });
}

std::shared_ptr<FakePrinterQueue> FakePrinterSystem::Queue(const std::u16string& name) const {
  for (const auto& queue : queues_) {
    if (queue->DeviceName() == name) return queue;
  }
  return nullptr;
}

void FakePrinterSystem::Ask() const {
  if (unreachable_) {
    throw platform::Failure(platform::kPrinterError,
                            u"No se pudo consultar el servidor de impresión CUPS");
  }
}

std::shared_ptr<platform::PrinterQueue> FakePrinterSystem::FindPrinter(std::u16string_view name) {
  ++finds;
  Ask();
  for (const auto& queue : queues_) {
    if (platform::SamePrinterName(queue->DeviceName(), name)) return queue;
  }
  return nullptr;
}

std::u16string FakePrinterSystem::DefaultPrinterName() {
  Ask();
  return default_name_;
}

}  // namespace quillon::test
