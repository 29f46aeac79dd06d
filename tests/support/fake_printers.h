#pragma once
// Recording printers: each queue keeps the tickets and raw jobs it received and can be taken
// offline or made to refuse work; the system finds queues in the order they were added, names a
// default, can be made unreachable, and counts what it was asked.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/printer_system.h"

namespace quillon::test {

class FakePrinterSystem;

class FakePrinterQueue : public platform::PrinterQueue {
 public:
  explicit FakePrinterQueue(std::u16string name) : name_(std::move(name)) {}

  std::u16string DeviceName() const override { return name_; }
  void CheckReady() override;  // raises platform::Failure while offline
  // kNoJob, or the number of a job its system follows when the queue spools.
  std::int64_t PrintTicket(const platform::Ticket& ticket) override;
  std::u16string Fault() const override { return fault; }
  void SendRaw(const std::string& bytes) override;

  // Offline queues fail every operation with `description`.
  void SetOffline(bool offline, std::u16string description = u"La impresora está fuera de línea");
  // A queue that says it is ready but refuses the work itself (a full disk, a read-only folder).
  void SetRefusing(bool refusing) { refusing_ = refusing; }

  // A spooling queue hands its tickets to jobs of its system (FakePrinterSystem::SetJobState),
  // as a spooler does; the others have them on paper at once.
  void SetSpooling(FakePrinterSystem* system) { spooler_ = system; }

  // Runs when the queue is about to accept a ticket or raw job.
  std::function<void()> on_accept;

  std::vector<platform::Ticket> tickets;
  std::vector<std::string> raw_jobs;
  int ready_checks = 0;  // calls of CheckReady, failed ones included
  std::u16string fault;  // what the queue reports keeps it from printing

 private:
  void Accept();

  std::u16string name_;
  bool offline_ = false;
  bool refusing_ = false;
  std::u16string offline_description_;
  FakePrinterSystem* spooler_ = nullptr;
};

class FakePrinterSystem : public platform::PrinterSystem {
 public:
  std::shared_ptr<FakePrinterQueue> AddPrinter(const std::u16string& name);
  void RemovePrinter(const std::u16string& name);
  // The queue whose device name is exactly `name`; nullptr when none.
  std::shared_ptr<FakePrinterQueue> Queue(const std::u16string& name) const;
  void SetDefaultName(std::u16string name) { default_name_ = std::move(name); }
  // An unreachable system raises on every question.
  void SetUnreachable(bool unreachable) { unreachable_ = unreachable; }

  std::shared_ptr<platform::PrinterQueue> FindPrinter(std::u16string_view name) override;
  std::u16string DefaultPrinterName() override;
  // The device names of the queues, in the order they were added.
  std::vector<std::u16string> PrinterNames() override;
  std::vector<platform::JobReport> FollowJobs(std::u16string_view printer,
                                              const std::vector<std::int64_t>& jobs) override;
  // A canceled job's state becomes kCanceled, unless it finished.
  void CancelJob(std::u16string_view printer, std::int64_t job) override;

  // A new job on `printer` holding `ticket`, queued; its number.
  std::int64_t Submit(const std::u16string& printer, platform::Ticket ticket);
  // A job that completes has its ticket appear on its queue's `tickets`.
  void SetJobState(std::int64_t job, platform::JobState state);
  // The jobs not finished, of every queue.
  std::vector<std::int64_t> UnfinishedJobs() const;
  std::vector<std::int64_t> canceled;  // as asked by CancelJob, in order

  int finds = 0;    // calls of FindPrinter
  int follows = 0;  // calls of FollowJobs

 private:
  void Ask() const;

  struct Job {
    std::u16string printer;
    platform::Ticket ticket;
    platform::JobState state = platform::JobState::kQueued;
  };

  std::vector<std::shared_ptr<FakePrinterQueue>> queues_;
  std::map<std::int64_t, Job> jobs_;
  std::u16string default_name_;
  bool unreachable_ = false;
};

}  // namespace quillon::test
