// Spool printers asked before the CUPS ones, the default printer taken from the first system
// that names one, and the names of all.
#include "print/chained_printer_system.h"

#include <gtest/gtest.h>

#include "support/fake_printers.h"

namespace quillon::print {
namespace {

TEST(ChainedPrinters, TheFirstSystemThatHasThePrinterAnswersAndTheOthersAreNotAsked) {
  test::FakePrinterSystem spool, cups;
  spool.AddPrinter(u"Cocina");
  cups.AddPrinter(u"Caja");
  cups.AddPrinter(u"Cocina");
  ChainedPrinterSystem chained({&spool, &cups});

  chained.FindPrinter(u"cocina")->SendRaw("x");
  EXPECT_EQ(spool.Queue(u"Cocina")->raw_jobs, std::vector<std::string>{"x"});
  EXPECT_EQ(cups.finds, 0);

  // The queues are the systems' own: a job reaches the printer it was found for.
  chained.FindPrinter(u"Caja")->SendRaw("y");
  EXPECT_EQ(cups.Queue(u"Caja")->raw_jobs, std::vector<std::string>{"y"});
  EXPECT_EQ(chained.FindPrinter(u"Horno"), nullptr);
}

TEST(ChainedPrinters, DefaultFromTheFirstSystemThatNamesOne) {
  test::FakePrinterSystem spool, cups;
  ChainedPrinterSystem chained({&spool, &cups});
  EXPECT_EQ(chained.DefaultPrinterName(), u"");
  cups.SetDefaultName(u"Caja");
  EXPECT_EQ(chained.DefaultPrinterName(), u"Caja");
  spool.SetDefaultName(u"Facturas");
  cups.SetUnreachable(true);
  EXPECT_EQ(chained.DefaultPrinterName(), u"Facturas");
}

TEST(ChainedPrinters, NamesEverySystemsPrintersOnceInTheOrderTheyAreAsked) {
  test::FakePrinterSystem spool, cups;
  spool.AddPrinter(u"Cocina");
  spool.AddPrinter(u"Bar");
  cups.AddPrinter(u"Caja");
  cups.AddPrinter(u"COCINA ");  // found in the spool folders first, so not another printer
  ChainedPrinterSystem chained({&spool, &cups});
  EXPECT_EQ(chained.PrinterNames(), (std::vector<std::u16string>{u"Cocina", u"Bar", u"Caja"}));
  cups.SetUnreachable(true);
  EXPECT_THROW(chained.PrinterNames(), platform::Failure);
}

}  // namespace
}  // namespace quillon::print
