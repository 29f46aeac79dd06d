#pragma once
// The current printer as documents see it: every print statement, font change and picture is
// recorded into a platform::Ticket; EndDoc hands the ticket to the selected queue, KillDoc drops
// it. Columns count characters in the font of the run, so a layout does not depend on fonts.
#include <memory>
#include <string>
#include <vector>

#include "platform/printer_system.h"
#include "print/printer_device.h"

namespace quillon::print {

class TicketRecorder : public PrinterDevice {
 public:
  // The font the process starts with.
  static platform::TicketFont DefaultFont();

  // Makes `queue` the current printer (nullptr: none). An unfinished job is dropped; the font
  // carries over, since documents set a size once and then select a printer per order.
  void SetQueue(std::shared_ptr<platform::PrinterQueue> queue);
  // The current printer's queue; raises PrinterError when there is none.
  platform::PrinterQueue& Queue() const;

  std::u16string DeviceName() const override;
  void SetFontName(const std::u16string& name) override { font_.name = name; }
  std::u16string FontName() const override { return font_.name; }
  void SetFontSize(double points) override { font_.size = points; }
  double FontSize() const override { return font_.size; }
  void SetBold(bool bold) override { font_.bold = bold; }
  bool Bold() const override { return font_.bold; }
  void SetItalic(bool italic) override { font_.italic = italic; }
  bool Italic() const override { return font_.italic; }

  void Print(const std::vector<PrintItem>& items, bool stay_on_line = false) override;
  double TextWidth(const std::u16string& text) const override;
  double TextHeight(const std::u16string& text) const override;
  void DrawPicture(const std::string& file, double x, double y, double width,
                   double height) override;
  void EndDoc() override;
  void KillDoc() override;

 private:
  void OpenJob();
  void Write(const std::u16string& text);
  void TabTo(int column);
  void EndLine();
  void Reset();

  std::shared_ptr<platform::PrinterQueue> queue_;
  platform::TicketFont font_ = DefaultFont();
  bool job_open_ = false;
  platform::Ticket ticket_;
  platform::TicketLine line_;
  int column_ = 1;  // where the next character goes
};

}  // namespace quillon::print
