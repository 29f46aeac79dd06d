#pragma once
// What the operating system offers for printing: a printer found by name at print time with its
// state, the default printer's name, and per printer a finished ticket or raw bytes. A ticket is
// the recorded layout of one document: lines of runs placed at character columns, each with a font.
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
  // Hands one finished ticket to the printer; returns once the printer system has accepted it.
  // Throws Failure.
  virtual void PrintTicket(const Ticket& ticket) = 0;
  // Sends bytes unchanged as one raw job; throws Failure.
  virtual void SendRaw(const std::string& bytes) = 0;
  // Work of the printer's own once the ticket it accepted has left the outbox, kept out of the
  // moment between the two; never fails the ticket.
  virtual void AfterAccepted() {}
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
};

// Whether two printer names are the same name: in capitals, without surrounding blanks.
bool SamePrinterName(std::u16string_view a, std::u16string_view b);

}  // namespace quillon::platform
