#pragma once
// The jobs received lately, kept in a small file of the data folder, so that a job the server
// sends again because its status reply may have been lost prints only the tickets that did not
// go the first time. Jobs carry no identity: a job is known by a digest of its bytes, and its
// Nth ticket is the same ticket whenever the bytes are the same.
//
// The rule: a job is taken for a re-send when it is the first job of a connection (or the first
// since the start) and has the same bytes as a recent job whose reply may not have reached the
// server. A reply may not have reached it unless the connection it was written to stayed up for
// kSettleTicks watch ticks after it. The first job of a connection settles every such job: a
// server that re-sends what went unanswered sends it first, so what it does not send first it
// is not sending again.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace quillon::link {

class RecentJobs {
 public:
  static constexpr std::size_t kKept = 50;
  // Seconds of a connection that stayed up after a reply, with the watch ticking once a second.
  static constexpr int kSettleTicks = 5;

  // Whether a ticket of that origin (TicketOrigin) is kept in the outbox or among the printed.
  using TicketKept = std::function<bool(const std::string& origin)>;

  // Reads what an earlier run left in `file`; an unreadable file or line is no memory.
  // `ticket_kept` settles a ticket that a stop caught between being handed over and being
  // recorded as taken; without it such a ticket counts as not taken.
  RecentJobs(platform::FileSystem& files, std::filesystem::path file, TicketKept ticket_kept = {});

  // A job begins; its record is written before any of its tickets goes. When it is a re-send,
  // its tickets already taken are not handed over again.
  void BeginJob(std::string_view bytes, bool first_on_connection);
  // The running job's next ticket: runs `hand_over` and records the ticket as taken, unless an
  // earlier run of the same job took it already. A failure raised by `hand_over` takes nothing.
  // With no job running everything is handed over.
  void HandOverOnce(const std::function<void()>& hand_over);
  // The ticket being handed over is in the outbox already, before `hand_over` returns: it counts
  // as taken from now on, even if a crash follows.
  void TicketStored();
  // The origin of the ticket being handed over ("digest-size-number"), for the ticket to carry;
  // empty with no job running.
  std::string TicketOrigin() const;
  // Tickets of the running job left out because an earlier run took them.
  int SkippedTickets() const { return skipped_; }
  // The running job is over; `reply_written` when its status reply went onto the connection.
  void EndJob(bool reply_written);

  // One watch tick with the connection up: replies written long enough ago have reached.
  void ConnectionUp();
  // The connection ended: the replies written on it not long enough ago may be lost.
  void ConnectionEnded();

 private:
  struct Record {
    std::uint64_t digest = 0;
    std::size_t size = 0;
    int taken = 0;  // its first tickets that went into the outbox
    // The ticket being handed over when the record was last written (it may or may not have
    // reached the outbox); -1: none.
    int pending = -1;
    bool settled = false;  // its reply reached the server, or it will not come again
    int ticks = -1;        // watch ticks since its reply, while its connection is up; -1: none
  };

  void Load();
  void Save() const;
  void MarkTaken();

  std::string OriginOf(const Record& record, int ticket) const;

  platform::FileSystem& files_;
  std::filesystem::path file_;
  TicketKept ticket_kept_;
  std::deque<Record> records_;  // oldest first
  Record* running_ = nullptr;
  int handed_ = 0;  // tickets of the running job so far, taken or skipped
  int skip_ = 0;    // of them, how many an earlier run took
  int skipped_ = 0;
  int handing_ = -1;  // the ticket being handed over, until it is recorded as taken
};

}  // namespace quillon::link
