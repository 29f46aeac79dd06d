#include "engine_fixture.h"

namespace quillon::test {
namespace {

const std::string kKick{'\x1b', 'p', '\x00', '\x3c', '\xf0'};

class CashDrawerTest : public EngineTest {};

TEST_F(CashDrawerTest, SendsFiveBytesToFacturas) {
  auto caja = printers.AddPrinter(u"Caja");
  auto facturas = printers.AddPrinter(u"facturas");
  printers.SetDefaultName(u"Caja");
  Engine().OpenCashDrawer();
  ASSERT_EQ(facturas->raw_jobs.size(), 1u);
  EXPECT_EQ(facturas->raw_jobs[0], kKick);
  EXPECT_EQ(facturas->raw_jobs[0].size(), 5u);
  EXPECT_EQ(static_cast<unsigned char>(facturas->raw_jobs[0].back()), 240u);
  EXPECT_TRUE(facturas->tickets.empty());
  EXPECT_TRUE(caja->raw_jobs.empty());
}

TEST_F(CashDrawerTest, WithoutFacturasGoesToTheDefault) {
  auto caja = printers.AddPrinter(u"Caja");
  printers.SetDefaultName(u"Caja");
  Engine().OpenCashDrawer();
  EXPECT_EQ(caja->raw_jobs, std::vector<std::string>{kKick});
}

TEST_F(CashDrawerTest, FailuresAreToldToTheCallerWithoutABalloonOfTheirOwn) {
  auto cocina = printers.AddPrinter(u"Cocina");
  // No Facturas, no default: the lookup fails.
  EXPECT_FALSE(Engine().OpenCashDrawer().empty());
  EXPECT_TRUE(notifier.balloons.empty());
  EXPECT_TRUE(cocina->raw_jobs.empty());

  auto facturas = printers.AddPrinter(u"Facturas");
  printers.SetDefaultName(u"Facturas");
  facturas->SetOffline(true);
  EXPECT_EQ(Engine().OpenCashDrawer(), u"no hay impresora disponible para el cajón");
  EXPECT_EQ(notifier.balloons.size(), 1u);  // only the selection's own
  EXPECT_TRUE(facturas->raw_jobs.empty());

  facturas->SetOffline(false);
  EXPECT_EQ(Engine().OpenCashDrawer(), u"");
  EXPECT_EQ(facturas->raw_jobs, std::vector<std::string>{kKick});
}

}  // namespace
}  // namespace quillon::test
