#pragma once
// The print engine's drawing side: the settings rows of the job being printed and their lookups,
// the ticket being drawn, and the ticket line model. Documents draw one ticket at a time into a
// value; the print service sends it. One instance for the process.
#include <string>
#include <string_view>

#include "json/value.h"
#include "print/drawn_ticket.h"
#include "print/ticket_recorder.h"

namespace quillon::print {

// Where a wrapped line sits: from the left edge (or from an indent column), or centred.
enum class Align { kLeft, kCentre };

class PrintEngine {
 public:
  // --- settings rows ("config" of the last job that parsed) ---
  void SetSettingsRows(json::Value rows) { rows_ = std::move(rows); }
  std::u16string ConfigValue(std::u16string_view name) const;  // raises Failure on a null value
  bool ConfigVisible(std::u16string_view name) const;

  // --- the ticket being drawn ---
  // Starts a ticket for `printer` (empty: the default printer); anything drawn and not ended is
  // dropped. The font stays as the last ticket left it.
  void BeginTicket(std::u16string printer, std::u16string kind);
  DrawnTicket EndTicket();
  // Drops what was drawn: a ticket that failed halfway is never sent.
  void CancelTicket();
  TicketRecorder& Recorder() { return recorder_; }

  // --- ticket line model ---
  int CharsPerLine() const;
  bool IsRoll55() const;
  bool IsRoll75() const;
  int RollFontSize() const;  // 7 on a 55 mm roll, else 10
  int ScaleColumn(int column) const;
  static int RightAlignColumn(std::u16string_view text, int width);
  static int FittingLength(std::u16string_view text, int limit);
  void PrintSeparator(std::u16string_view kind);
  int SeparatorWidth();
  // In capitals, broken at words into lines of up to `max_chars` characters; a left-aligned
  // line starts in column `indent` when that is 1 or more (a centred one ignores it).
  void PrintWrapped(std::u16string_view text, int max_chars, Align align, int indent = 0);
  // In capitals, broken at words where their printed width in the current font would pass the
  // separator's (SeparatorWidth); centred on the roll's characters a line.
  void PrintWrappedToSeparator(std::u16string_view text, Align align);

 private:
  json::Value rows_;  // configuracion
  TicketRecorder recorder_;
  std::u16string printer_;
  std::u16string kind_;
};

// An amount as printed: rounded to a whole number (halves away from zero), "." grouping: 12.500.
std::u16string AmountText(const json::Decimal& value);

}  // namespace quillon::print
