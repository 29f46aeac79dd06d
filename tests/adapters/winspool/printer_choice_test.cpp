// Which Windows printers get ESC/POS bytes and which cannot print now.
#include "adapters/winspool/printer_choice.h"

#include <gtest/gtest.h>

namespace quillon::adapters::winspool {
namespace {

PrinterDescription Printer(std::u16string driver, std::u16string location = u"",
                           std::u16string comment = u"") {
  return {u"Cocina", std::move(driver), std::move(comment), std::move(location), 0, 0};
}

TEST(WinspoolBackend, TextOnlyDriverIsRawAndTheAdministratorsWordWins) {
  EXPECT_EQ(ChooseBackend(Printer(u"Generic / Text Only")), Backend::kRaw);
  EXPECT_EQ(ChooseBackend(Printer(u"generic / text only")), Backend::kRaw);
  EXPECT_EQ(ChooseBackend(Printer(u"EPSON TM-T20II Receipt")), Backend::kDriver);
  EXPECT_EQ(ChooseBackend(Printer(u"Microsoft Print to PDF", u"Cocina; Quillon-Backend=RAW")),
            Backend::kRaw);
  EXPECT_EQ(ChooseBackend(Printer(u"Generic / Text Only", u"", u"quillon-backend=driver")),
            Backend::kDriver);
  // The location is read before the comment.
  EXPECT_EQ(ChooseBackend(Printer(u"X", u"quillon-backend=raw", u"quillon-backend=driver")),
            Backend::kRaw);
}

TEST(WinspoolReadiness, StatesThatKeepTheTicketWaitingAreNamed) {
  PrinterDescription printer = Printer(u"Generic / Text Only");
  EXPECT_FALSE(NotReadyReason(printer));
  printer.status = 0x400;  // printing: still takes work
  EXPECT_FALSE(NotReadyReason(printer));
  printer.status = 0x1;
  EXPECT_EQ(NotReadyReason(printer), u"La impresora está en pausa en Windows.");
  printer.status = 0x80;
  EXPECT_EQ(NotReadyReason(printer), u"La impresora está fuera de línea.");
  printer.status = 0;
  printer.attributes = 0x400;  // "use printer offline"
  EXPECT_EQ(NotReadyReason(printer), u"La impresora está fuera de línea.");
  printer.attributes = 0;
  printer.status = 0x10;
  EXPECT_EQ(NotReadyReason(printer), u"La impresora no tiene papel.");
  printer.status = 0x2 | 0x8;
  EXPECT_EQ(NotReadyReason(printer), u"La impresora tiene papel atascado.");
  printer.status = 0x2;
  EXPECT_EQ(NotReadyReason(printer), u"La impresora indica un error en Windows.");
}

}  // namespace
}  // namespace quillon::adapters::winspool
