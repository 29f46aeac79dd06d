#pragma once
// The surface documents draw a ticket on: every print statement, font change and picture is
// recorded into a platform::Ticket. Columns count characters in the font of the run, so a layout
// does not depend on fonts. The font outlives the ticket: the next ticket starts in the font the
// last one left, as documents set a size once and then draw one ticket per order.
#include <string>
#include <vector>

#include "platform/printer_system.h"
#include "print/print_item.h"

namespace quillon::print {

class TicketRecorder {
 public:
  // The font the process starts with.
  static platform::TicketFont DefaultFont();

  void SetFontName(const std::u16string& name) { font_.name = name; }
  const std::u16string& FontName() const { return font_.name; }
  void SetFontSize(double points) { font_.size = points; }
  double FontSize() const { return font_.size; }
  void SetBold(bool bold) { font_.bold = bold; }
  bool Bold() const { return font_.bold; }
  // The further style flag; documents only clear it.
  void SetItalic(bool italic) { font_.italic = italic; }
  bool Italic() const { return font_.italic; }

  // Writes the items on the current line, then ends the line unless stay_on_line.
  void Print(const std::vector<PrintItem>& items, bool stay_on_line = false);

  // Fixed pitch, in twips: 0.6 x size x 20 per character; height 1.2 x size x 20 per line.
  double TextWidth(const std::u16string& text) const;
  double TextHeight(const std::u16string& text) const;

  // Draws an image file scaled into (x, y, width, height) twips of the page.
  void DrawPicture(const std::string& file, double x, double y, double width, double height);

  // The ticket drawn since the last Finish or Drop; the recorder starts a new one.
  platform::Ticket Finish();
  // Forgets what was drawn since the last Finish or Drop.
  void Drop();

 private:
  void Write(const std::u16string& text);
  void TabTo(int column);
  void EndLine();

  platform::TicketFont font_ = DefaultFont();
  platform::Ticket ticket_;
  platform::TicketLine line_;
  int column_ = 1;  // where the next character goes
};

}  // namespace quillon::print
