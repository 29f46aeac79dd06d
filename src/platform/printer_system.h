#pragma once
// What the operating system offers for printing: the installed printers (queues), the default
// printer's name, and per queue a finished ticket or raw bytes. A ticket is the recorded layout
// of one document: lines of runs placed at character columns, each run with its font.
#include <memory>
#include <string>
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
  // Throws PrinterError when the queue cannot print now. Leaves nothing on paper.
  virtual void CheckReady() = 0;
  // Prints one finished ticket; throws PrinterError.
  virtual void PrintTicket(const Ticket& ticket) = 0;
  // Sends bytes unchanged as one raw job; throws PrinterError.
  virtual void SendRaw(const std::string& bytes) = 0;
};

class PrinterSystem {
 public:
  virtual ~PrinterSystem() = default;
  // In a stable order; positions are indexes into this list.
  virtual std::vector<std::shared_ptr<PrinterQueue>> InstalledPrinters() = 0;
  // The system default printer's name, or the empty text when there is none.
  virtual std::u16string DefaultPrinterName() = 0;
};

}  // namespace quillon::platform
