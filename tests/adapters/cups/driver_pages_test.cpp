// Pages for a queue with a driver.
#include "adapters/cups/driver_pages.h"

#include <gtest/gtest.h>

namespace quillon::adapters::cups {
namespace {

platform::Ticket OneLine() {
  platform::Ticket ticket;
  ticket.lines.push_back(
      {{platform::TicketRun{1, u"HOLA", platform::TicketFont{u"Courier 14 CPI", 10}}}, 10});
  return ticket;
}

TEST(DriverPage, PrintingNeedsTheGraphicalPartOfTheProgram) {
  // No QGuiApplication in this test program: a clear failure instead of a crash.
  try {
    PrintTicketPages("Cocina", OneLine());
    FAIL() << "printed without a QGuiApplication";
  } catch (const platform::Failure& error) {
    EXPECT_EQ(error.Number(), 482);
    EXPECT_NE(error.Description().find(u"parte gráfica"), std::u16string::npos);
  }
}

}  // namespace
}  // namespace quillon::adapters::cups
