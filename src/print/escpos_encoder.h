#pragma once
// The ESC/POS bytes of a recorded ticket: what a receipt printer on a raw queue receives and what
// a spool printer keeps as its .escpos file. One ticket is one document, ended by a cut.
//
// How a ticket becomes bytes:
// - ESC @ and then ESC t 16: the text goes out in Windows-1252, one byte a character. Characters
//   outside that code page print as "?", control characters as blanks, so job data can never
//   carry printer commands.
// - Sizes through GS !: below 12 points normal; 12 to 14 points double height (the columns stay
//   as laid out); 15 points and more double width and height. Bold through ESC E. Only changes
//   are sent.
// - Columns: a run starts at its column counted in characters of normal width; blanks of normal
//   width pad the line up to it. A double-width character takes two columns, so a run whose column
//   was already passed follows the previous run directly. Each line ends with LF.
// - Pictures: a raster (GS v 0) put before the line that was current when the picture was drawn.
//   Its rectangle in twips becomes dots at 8 dots a millimetre, kept within the roll (scaled down
//   when wider, and to kMaxPictureRows when taller), dithered (Floyd-Steinberg). The empty lines
//   that were printed under the picture to make room for it are left out, as the raster itself
//   takes that room on a roll. A picture that cannot be decoded is left out; the text still prints.
// - The roll: 576 dots (80 mm) when some line reaches past column 32, otherwise 384 (58 mm).
// - The end: GS V 66 n feeds the last line past the cutter and cuts partially.
#include <string>

#include "platform/picture_decoder.h"
#include "platform/printer_system.h"

namespace quillon::print {

// Receipt printers print 8 dots a millimetre.
inline constexpr double kDotsPerTwip = 8.0 * 25.4 / 1440.0;
// The widest roll, 80 mm.
inline constexpr int kWideRollDots = 576;
// The tallest picture a ticket carries, about 25 cm of paper: room for any logo, while a picture
// that claims more cannot run a roll out.
inline constexpr int kMaxPictureRows = 2000;

struct EscPosOptions {
  int paper_dots = 0;  // printable dots a line; 0 picks 384 or 576 from the ticket
  // Reads the picture files; nullptr reads BMP files only.
  const platform::PictureDecoder* pictures = nullptr;
};

std::string EncodeEscPos(const platform::Ticket& ticket);
std::string EncodeEscPos(const platform::Ticket& ticket, const EscPosOptions& options);

// The last column a ticket reaches, in characters of normal width (the ESC/POS column rule).
int TicketColumns(const platform::Ticket& ticket);
// 576 dots for an 80 mm roll when the ticket is wider than 32 columns, else 384 for 58 mm.
int RollDotsFor(const platform::Ticket& ticket);

}  // namespace quillon::print
