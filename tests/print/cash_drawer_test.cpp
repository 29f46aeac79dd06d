#include "print/cash_drawer.h"

#include <gtest/gtest.h>

#include "support/fake_printers.h"
#include "support/service_parts.h"

namespace quillon::test {
namespace {

const std::string kKick{'\x1b', 'p', '\x00', '\x3c', '\xf0'};

class CashDrawerTest : public ::testing::Test {
 protected:
  FakePrinterSystem printers_;
  ServiceParts parts_{printers_};
  print::PrintService& service_ = parts_.service;
};

TEST_F(CashDrawerTest, SendsFiveBytesToFacturas) {
  auto caja = printers_.AddPrinter(u"Caja");
  auto facturas = printers_.AddPrinter(u"facturas");
  printers_.SetDefaultName(u"Caja");
  print::OpenCashDrawer(service_);
  ASSERT_EQ(facturas->raw_jobs.size(), 1u);
  EXPECT_EQ(facturas->raw_jobs[0], kKick);
  EXPECT_EQ(facturas->raw_jobs[0].size(), 5u);
  EXPECT_EQ(static_cast<unsigned char>(facturas->raw_jobs[0].back()), 240u);
  EXPECT_TRUE(facturas->tickets.empty());
  EXPECT_TRUE(caja->raw_jobs.empty());
}

TEST_F(CashDrawerTest, WithoutFacturasGoesToTheDefault) {
  auto caja = printers_.AddPrinter(u"Caja");
  printers_.SetDefaultName(u"Caja");
  print::OpenCashDrawer(service_);
  EXPECT_EQ(caja->raw_jobs, std::vector<std::string>{kKick});
}

TEST_F(CashDrawerTest, FailuresAreToldToTheCallerAndTheKickIsNotKept) {
  auto cocina = printers_.AddPrinter(u"Cocina");
  // No Facturas, no default: the lookup fails, without a balloon of its own.
  EXPECT_THROW(print::OpenCashDrawer(service_), platform::Failure);
  EXPECT_TRUE(parts_.notifier.balloons.empty());
  EXPECT_TRUE(cocina->raw_jobs.empty());

  auto facturas = printers_.AddPrinter(u"Facturas");
  printers_.SetDefaultName(u"Facturas");
  facturas->SetOffline(true);
  EXPECT_THROW(print::OpenCashDrawer(service_), platform::Failure);
  EXPECT_EQ(parts_.notifier.balloons.size(), 1u);  // only the selection's own
  EXPECT_TRUE(facturas->raw_jobs.empty());

  facturas->SetOffline(false);
  print::OpenCashDrawer(service_);  // a new kick only: the failed ones are gone
  EXPECT_EQ(facturas->raw_jobs, std::vector<std::string>{kKick});
}

}  // namespace
}  // namespace quillon::test
