#pragma once
// The "current printer" every document prints through: fonts, print statements in the line
// model, fixed-pitch measurement, pictures, and the job's end (EndDoc) or cancellation (KillDoc).
// Implemented by the ticket recorder over a platform printer queue; failures raise
// platform::PrinterError.
#include <string>
#include <vector>

#include "json/decimal.h"

namespace quillon::print {

// One item of a print statement.
struct PrintItem {
  enum class Kind { Text, Tab, Number };
  Kind kind = Kind::Text;
  std::u16string text;  // Text
  int column = 1;       // Tab(n)
  json::Decimal number;  // Number: written as " 12,5 " (a "-" in place of the blank when negative)

  static PrintItem Text(std::u16string t) { return {Kind::Text, std::move(t), 1, {}}; }
  static PrintItem Tab(int n) { return {Kind::Tab, {}, n, {}}; }
  static PrintItem Number(json::Decimal d) { return {Kind::Number, {}, 1, d}; }
};

class PrinterDevice {
 public:
  virtual ~PrinterDevice() = default;

  // Throws PrinterError when there is no usable current printer.
  virtual std::u16string DeviceName() const = 0;

  virtual void SetFontName(const std::u16string& name) = 0;
  virtual std::u16string FontName() const = 0;
  virtual void SetFontSize(double points) = 0;
  virtual double FontSize() const = 0;
  virtual void SetBold(bool bold) = 0;
  virtual bool Bold() const = 0;
  virtual void SetItalic(bool italic) = 0;  // the further style flag; documents only clear it
  virtual bool Italic() const = 0;

  // Writes the items on the current line, then ends the line unless stay_on_line.
  // The first statement of a job opens the job on the queue (and may raise PrinterError).
  virtual void Print(const std::vector<PrintItem>& items, bool stay_on_line = false) = 0;

  // Fixed pitch, in twips: 0.6 x size x 20 per character; height 1.2 x size x 20 per line.
  virtual double TextWidth(const std::u16string& text) const = 0;
  virtual double TextHeight(const std::u16string& text) const = 0;

  // Draws an image file scaled into (x, y, width, height) twips of the page.
  virtual void DrawPicture(const std::string& file, double x, double y, double width,
                           double height) = 0;

  virtual void EndDoc() = 0;   // sends the ticket to the queue
  virtual void KillDoc() = 0;  // drops what was printed since the job began
};

}  // namespace quillon::print
