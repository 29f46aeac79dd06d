#pragma once
// What the operating system offers for printing: a printer found by name at print time with its
// state, the default printer's name, and per printer a finished ticket or raw bytes. A ticket is
// the recorded layout of one document: lines of runs placed at character columns, each with a font.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/failure.h"

namespace quillon::platform {

struct TicketFont {
  std::u16string name;
  double size = 10;  // points
  bool bold = false;
  bool italic = false;
  bool operator==(const TicketFont&) const = default;
};

struct TicketRun {
  int column = 1;  // 1-based character column where the run starts
  std::u16string text;
  TicketFont font;
};

struct TicketLine {
  std::vector<TicketRun> runs;  // in column order; an empty line has none
  double height_points = 10;    // font size that set the line's height
};

// A picture drawn on the page, in twips from the top-left corner of the ticket.
struct TicketPicture {
  std::string file;  // path of the image file as loaded
  double x = 0, y = 0, width = 0, height = 0;
  int line_index = 0;  // the line that was current when it was drawn
};

struct Ticket {
  std::vector<TicketLine> lines;
  std::vector<TicketPicture> pictures;
};

class PrinterQueue {
 public:
  virtual ~PrinterQueue() = default;
  virtual std::u16string DeviceName() const = 0;
  // Throws Failure when the printer cannot print now, as the system described it when the
  // printer was found. Leaves nothing on paper.
  virtual void CheckReady() = 0;
  // Hands one finished ticket to the printer; returns once the printer system has accepted it,
  // with the number of the job it follows the ticket by until it is on paper (see
  // PrinterSystem::FollowJobs), or kNoJob when nothing is left to follow: the ticket is as
  // printed as this printer can ever tell. Throws Failure.
  virtual std::int64_t PrintTicket(const Ticket& ticket) = 0;
  // Sends bytes unchanged as one raw job; throws Failure.
  virtual void SendRaw(const std::string& bytes) = 0;
  // Work of the printer's own once the ticket it accepted has left the outbox, kept out of the
  // moment between the two; never fails the ticket.
  virtual void AfterAccepted() {}
  // What the printer reports that keeps it from printing the work it holds (off, out of paper,
  // cover open...), in words for the user, as read when the printer was found; empty when it
  // reports nothing wrong.
  virtual std::u16string Fault() const { return {}; }
};

inline constexpr std::int64_t kNoJob = 0;

// Where a job handed to the printer system stands.
enum class JobState {
  kQueued,     // waiting for the printer, or being printed
  kHeld,       // kept back by the system itself (a device it could not reach); not printing
  kCompleted,  // printed, or gone from the system without an error
  kCanceled,   // taken away by someone (an operator, the printer's own panel)
  kAborted,    // given up by the system after an error
};

struct JobReport {
  std::int64_t job = kNoJob;
  JobState state = JobState::kQueued;
};

class PrinterSystem {
 public:
  virtual ~PrinterSystem() = default;
  // The printer named `name` as it stands now, its state read with it; names compare in capitals
  // without surrounding blanks, and the first printer in the system's order wins. nullptr when
  // there is none. Throws Failure when the system cannot be asked at all.
  virtual std::shared_ptr<PrinterQueue> FindPrinter(std::u16string_view name) = 0;
  // The system default printer's name, or the empty text when there is none. Throws
  // Failure when the system cannot be asked at all.
  virtual std::u16string DefaultPrinterName() = 0;
  // Every printer's name, in the system's order, for the people who look after the agent.
  // Throws Failure when the system cannot be asked at all.
  virtual std::vector<std::u16string> PrinterNames() = 0;
  // Where each of `jobs`, handed to the printer `printer` (its device name) by this program,
  // stands now: one report per job asked about, in any order. A job the system no longer knows
  // left it without an error. Throws Failure when the system cannot be asked.
  virtual std::vector<JobReport> FollowJobs(std::u16string_view printer,
                                            const std::vector<std::int64_t>& jobs) = 0;
  // Takes the job back from the printer; a job that has finished already stays as it finished
  // (FollowJobs tells how). Throws Failure when the system cannot be asked.
  virtual void CancelJob(std::u16string_view printer, std::int64_t job) = 0;
};

// Whether two printer names are the same name: in capitals, without surrounding blanks.
bool SamePrinterName(std::u16string_view a, std::u16string_view b);
// The form in which printer names compare, for keys of maps by printer.
std::u16string PrinterNameKey(std::u16string_view name);

}  // namespace quillon::platform
