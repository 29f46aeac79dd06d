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

std::int64_t FakePrinterQueue::PrintTicket(const platform::Ticket& ticket) {
  Accept();
  if (spooler_ != nullptr) return spooler_->Submit(name_, ticket);
  tickets.push_back(ticket);
  return platform::kNoJob;
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

std::vector<std::u16string> FakePrinterSystem::PrinterNames() {
  Ask();
  std::vector<std::u16string> names;
  for (const auto& queue : queues_) names.push_back(queue->DeviceName());
  return names;
}

std::vector<platform::JobReport> FakePrinterSystem::FollowJobs(
    std::u16string_view printer, const std::vector<std::int64_t>& jobs) {
  ++follows;
  Ask();
  std::vector<platform::JobReport> reports;
  for (const std::int64_t id : jobs) {
    const auto job = jobs_.find(id);
    const bool known =
        job != jobs_.end() && platform::SamePrinterName(job->second.printer, printer);
    reports.push_back({id, known ? job->second.state : platform::JobState::kCompleted});
  }
  return reports;
}

void FakePrinterSystem::CancelJob(std::u16string_view, std::int64_t id) {
  Ask();
  canceled.push_back(id);
  const auto job = jobs_.find(id);
  if (job == jobs_.end()) return;
  if (job->second.state == platform::JobState::kQueued ||
      job->second.state == platform::JobState::kHeld) {
    job->second.state = platform::JobState::kCanceled;
  }
}

std::int64_t FakePrinterSystem::Submit(const std::u16string& printer, platform::Ticket ticket) {
  const std::int64_t id = jobs_.empty() ? 1 : jobs_.rbegin()->first + 1;
  jobs_[id] = {printer, std::move(ticket)};
  return id;
}

void FakePrinterSystem::SetJobState(std::int64_t id, platform::JobState state) {
  Job& job = jobs_.at(id);
  job.state = state;
  if (state != platform::JobState::kCompleted) return;
  if (auto queue = Queue(job.printer)) queue->tickets.push_back(job.ticket);
}

std::vector<std::int64_t> FakePrinterSystem::UnfinishedJobs() const {
  std::vector<std::int64_t> unfinished;
  for (const auto& [id, job] : jobs_) {
    if (job.state == platform::JobState::kQueued || job.state == platform::JobState::kHeld) {
      unfinished.push_back(id);
    }
  }
  return unfinished;
}

}  // namespace quillon::test
