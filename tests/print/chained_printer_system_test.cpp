// Spool printers listed before the CUPS ones, and the default printer taken from the first
// system that names one.
#include <gtest/gtest.h>

#include "print/chained_printer_system.h"
#include "support/fake_printers.h"

namespace quillon::print {
namespace {

std::vector<std::u16string> Names(platform::PrinterSystem& system) {
  std::vector<std::u16string> names;
  for (const auto& queue : system.InstalledPrinters()) names.push_back(queue->DeviceName());
  return names;
}

TEST(ChainedPrinters, FirstSystemsPrintersComeFirst) {
  test::FakePrinterSystem spool, cups;
  spool.AddPrinter(u"Cocina");
  spool.AddPrinter(u"Bar");
  cups.AddPrinter(u"Caja");
  cups.AddPrinter(u"Cocina");
  ChainedPrinterSystem chained({&spool, &cups});
  EXPECT_EQ(Names(chained), (std::vector<std::u16string>{u"Cocina", u"Bar", u"Caja", u"Cocina"}));

  // The queues are the systems' own: a job reaches the printer it was listed for.
  chained.InstalledPrinters()[2]->SendRaw("x");
  EXPECT_EQ(cups.Queue(u"Caja")->raw_jobs, std::vector<std::string>{"x"});
}

TEST(ChainedPrinters, DefaultFromTheFirstSystemThatNamesOne) {
  test::FakePrinterSystem spool, cups;
  ChainedPrinterSystem chained({&spool, &cups});
  EXPECT_EQ(chained.DefaultPrinterName(), u"");
  cups.SetDefaultName(u"Caja");
  EXPECT_EQ(chained.DefaultPrinterName(), u"Caja");
  spool.SetDefaultName(u"Facturas");
  EXPECT_EQ(chained.DefaultPrinterName(), u"Facturas");
}

}  // namespace
}  // namespace quillon::print
