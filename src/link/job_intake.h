#pragma once
// Receives the job texts, dispatches each complete job by its "tipo" and answers the server
// after every job. Jobs run one at a time, in arrival order: a job completed while another is
// being printed (the invoice lets events run) waits behind it.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "link/activity_log.h"
#include "link/job_handlers.h"
#include "link/message_framer.h"

namespace quillon::link {

class StatusReply {
 public:
  virtual ~StatusReply() = default;
  // Reports the busy flag to the server when connected; does nothing otherwise.
  virtual void SendStatus() = 0;
};

class JobIntake {
 public:
  static constexpr std::u16string_view kFinLine =
      u"------------------------------ fin ------------------------------";

  JobIntake(ActivityLog& log, JobHandlers& handlers, StatusReply& status)
      : log_(log), handlers_(handlers), status_(status) {}

  // One received piece of text: logged as one line, added to the buffer, and every job it
  // completes is dispatched, unless a job is running already (then they wait their turn).
  void ReceivePiece(std::u16string_view piece);

  // 1 while a job is being dispatched, else 0.
  std::int16_t IsPrinting() const { return busy_; }
  // Text received after the last complete job.
  const std::u16string& ReceiveBuffer() const { return framer_.Buffer(); }

 private:
  void DispatchWaitingJobs();
  void RunJob(const std::u16string& text);
  void ProcessMessage(const std::u16string& text);

  ActivityLog& log_;
  JobHandlers& handlers_;
  StatusReply& status_;
  MessageFramer framer_;
  std::deque<std::u16string> waiting_;
  bool dispatching_ = false;
  std::int16_t busy_ = 0;
};

}  // namespace quillon::link
