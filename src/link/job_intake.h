#pragma once
// Receives the job texts, dispatches each complete job by its "tipo" and answers the server
// after every job. Jobs run one at a time, in arrival order: a job completed while another is
// being printed (the invoice lets events run) waits behind it. A job that prints nothing, or
// leaves a part out, because of what it holds is shown in a balloon and its received bytes are
// kept.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "json/parser.h"
#include "link/activity_log.h"
#include "link/job_handlers.h"
#include "link/message_framer.h"
#include "link/recent_jobs.h"
#include "link/rejected_job_store.h"
#include "link/wire_text.h"
#include "platform/notifier.h"

namespace quillon::link {

class StatusReply {
 public:
  virtual ~StatusReply() = default;
  // Reports the busy flag to the server when connected; does nothing otherwise. True when the
  // message went onto the connection.
  virtual bool SendStatus() = 0;
};

class JobIntake {
 public:
  static constexpr std::u16string_view kFinLine =
      u"------------------------------ fin ------------------------------";
  static constexpr std::u16string_view kRejectedTitle = u"Trabajo sin imprimir";
  static constexpr std::u16string_view kResentLine =
      u"Trabajo repetido tras reconectar: ya se había impreso";
  static constexpr std::u16string_view kResentTitle = u"Trabajo repetido";

  // `rejected` may be null: a job run by hand from a file is not kept again. `recent` is the
  // memory of the jobs received lately, null for a job that no server can send again.
  JobIntake(ActivityLog& log, platform::Notifier& notifier, JobHandlers& handlers,
            StatusReply& status, WireEncoding encoding, RejectedJobStore* rejected,
            RecentJobs* recent = nullptr)
      : log_(log),
        notifier_(notifier),
        handlers_(handlers),
        status_(status),
        encoding_(encoding),
        decoder_(encoding),
        rejected_(rejected),
        recent_(recent) {}

  // Received bytes: logged as one line, added to the buffer, and every job they complete is
  // dispatched, unless a job is running already (then they wait their turn).
  void ReceiveBytes(std::string_view bytes);
  // A whole job given at once and read already (a job file), on an intake with no job running:
  // logged and dispatched as a job that arrived in one piece, without parsing it again.
  void RunWholeJob(std::string_view bytes, const json::ParseResult& read);
  // The connection closed or failed. No server continues a message on a new connection, so the
  // text of a job without its terminator is dropped, with a log line that says how much; jobs
  // already complete still run. The next job to come is the first of a new connection.
  void EndStream();
  // One watch tick with the connection up (what tells that the last replies reached the server).
  void ConnectionUp();

  // 1 while a job is being dispatched, else 0.
  std::int16_t IsPrinting() const { return busy_; }
  // Bytes received after the last complete job.
  const std::string& ReceiveBuffer() const { return framer_.Buffer(); }
  // Jobs that printed nothing, or left a part out, since the start.
  int RejectedCount() const { return rejected_count_; }

 private:
  // Why a job did not print all it asked for, and what kind of job it was.
  struct Rejection {
    std::u16string kind = u"Trabajo";  // as the balloon names it
    std::u16string file_kind = u"trabajo";
    NotPrinted reasons;
  };

  struct WaitingJob {
    std::string bytes;
    bool first_on_connection = false;
  };

  void DispatchWaitingJobs();
  void RunJob(std::string_view bytes, const json::ParseResult& read, bool first_on_connection);
  void ProcessMessage(const std::u16string& text, const json::ParseResult& read,
                      Rejection& rejection);
  // The balloon's and the file's names of a known kind of job.
  static void NameKind(const std::u16string& kind, Rejection& rejection);
  // A job of a known shape handed to the handler of its kind.
  void PrintJob(const std::u16string& kind, const json::Value& dato, Rejection& rejection);
  void Reject(std::string_view bytes, const Rejection& rejection);
  void ReportResent(int skipped);

  ActivityLog& log_;
  platform::Notifier& notifier_;
  JobHandlers& handlers_;
  StatusReply& status_;
  WireEncoding encoding_;
  WireDecoder decoder_;  // for the log of each piece
  RejectedJobStore* rejected_;
  RecentJobs* recent_;
  MessageFramer framer_;
  std::deque<WaitingJob> waiting_;
  bool next_is_first_ = true;  // no job yet on this connection, or since the start
  bool dispatching_ = false;
  std::int16_t busy_ = 0;
  int rejected_count_ = 0;
};

}  // namespace quillon::link
