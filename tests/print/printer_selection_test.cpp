#include "engine_fixture.h"

namespace quillon::test {
namespace {

class SelectionTest : public EngineTest {
 protected:
  // Selects `name` the way documents do.
  bool Select(const std::u16string& name) {
    return Engine().SelectPrinter(Engine().PrinterIndex(name), 0);
  }
  std::u16string Current() { return Engine().Printer().DeviceName(); }
};

TEST_F(SelectionTest, LookupIgnoresLetterCaseAndSurroundingBlanks) {
  printers.AddPrinter(u"Caja");
  printers.AddPrinter(u" COCINA ");
  printers.AddPrinter(u"Cocina");
  printers.AddPrinter(u"Barra ñandú");
  printers.SetDefaultName(u"Caja");
  EXPECT_EQ(Engine().PrinterIndex(u"cocina"), 1);
  EXPECT_EQ(Engine().PrinterIndex(u"  Cocina"), 1);
  EXPECT_EQ(Engine().PrinterIndex(u"BARRA ÑANDÚ"), 3);
  EXPECT_EQ(Engine().PrinterIndex(u"Horno"), 0);
}

TEST_F(SelectionTest, NoDefaultAndNoMatchRaises) {
  printers.AddPrinter(u"Cocina");
  EXPECT_THROW(Engine().PrinterIndex(u"Horno"), platform::Failure);
  printers.SetDefaultName(u"Desinstalada");
  EXPECT_THROW(Engine().PrinterIndex(u"Horno"), platform::Failure);
}

TEST_F(SelectionTest, CurrentPrinterStartsAsTheDefault) {
  printers.AddPrinter(u"Cocina");
  printers.AddPrinter(u"Caja");
  printers.SetDefaultName(u"Caja");
  EXPECT_TRUE(Engine().PrinterAvailable());
  EXPECT_EQ(Current(), u"Caja");
}

TEST_F(SelectionTest, NoDefaultMeansNoPrinterAvailable) {
  printers.AddPrinter(u"Cocina");
  EXPECT_FALSE(Engine().PrinterAvailable());
  EXPECT_THROW(Engine().Printer().Print({}), platform::Failure);
  ASSERT_TRUE(Select(u"Cocina"));
  EXPECT_TRUE(Engine().PrinterAvailable());
}

TEST_F(SelectionTest, ProbeLeavesNothingOnPaper) {
  auto caja = printers.AddPrinter(u"Caja");
  auto cocina = printers.AddPrinter(u"Cocina");
  printers.SetDefaultName(u"Caja");
  ASSERT_TRUE(Select(u"COCINA"));
  EXPECT_EQ(Current(), u"Cocina");
  EXPECT_EQ(cocina->ready_checks, 1);
  Engine().Printer().EndDoc();  // the probe's job was cancelled: nothing to end
  EXPECT_TRUE(cocina->tickets.empty());
  EXPECT_TRUE(caja->tickets.empty());
  EXPECT_TRUE(notifier.balloons.empty());
}

TEST_F(SelectionTest, MissingPrinterFallsBackSilently) {
  auto caja = printers.AddPrinter(u"Caja");
  printers.SetDefaultName(u"Caja");
  ASSERT_TRUE(Select(u"Horno"));
  Engine().Printer().Print({print::PrintItem::Text(u"PEDIDO")});
  EXPECT_EQ(Printed(*caja), std::vector<std::u16string>{u"PEDIDO"});
  EXPECT_TRUE(notifier.balloons.empty());
}

TEST_F(SelectionTest, OfflinePrinterFallsBackWithoutExtraOutput) {
  auto caja = printers.AddPrinter(u"Caja");
  auto cocina = printers.AddPrinter(u"Cocina");
  printers.SetDefaultName(u"Caja");
  cocina->SetOffline(true);
  ASSERT_TRUE(Select(u"Cocina"));
  EXPECT_EQ(Current(), u"Caja");
  // The "Error en Impresora" line is cancelled with the probe's job.
  Engine().Printer().Print({print::PrintItem::Text(u"PEDIDO")});
  EXPECT_EQ(Printed(*caja), std::vector<std::u16string>{u"PEDIDO"});
  EXPECT_TRUE(cocina->tickets.empty());
  EXPECT_TRUE(notifier.balloons.empty());
}

TEST_F(SelectionTest, BothFailingShowsOneBalloonNamingTheDefault) {
  auto caja = printers.AddPrinter(u"Caja");
  auto cocina = printers.AddPrinter(u"Cocina");
  printers.SetDefaultName(u"Caja");
  cocina->SetOffline(true, u"Sin papel");
  caja->SetOffline(true, u"Tapa abierta");
  EXPECT_FALSE(Select(u"Cocina"));
  ASSERT_EQ(notifier.balloons.size(), 1u);
  const Balloon& balloon = notifier.balloons[0];
  EXPECT_EQ(balloon.text,
            u"Error al imprimir, La impresora Caja no esta disponible. \r\nTapa abierta Tapa abierta");
  EXPECT_EQ(balloon.icon, platform::BalloonIcon::Error);
  EXPECT_EQ(balloon.title, u"Error al imprimir");
  EXPECT_EQ(balloon.timeout_ms, 30000);
  EXPECT_TRUE(caja->tickets.empty());
  EXPECT_TRUE(cocina->tickets.empty());
}

TEST_F(SelectionTest, OfflineDefaultAloneFailsOnce) {
  auto caja = printers.AddPrinter(u"Caja");
  printers.SetDefaultName(u"Caja");
  caja->SetOffline(true);
  EXPECT_FALSE(Select(u"Horno"));
  EXPECT_EQ(notifier.balloons.size(), 1u);
}

TEST_F(SelectionTest, BadPositionRaises) {
  printers.AddPrinter(u"Caja");
  EXPECT_THROW(Engine().SelectPrinter(1, 0), platform::Failure);
  EXPECT_THROW(Engine().SelectPrinter(-1, 0), platform::Failure);
}

TEST_F(SelectionTest, SameNameInTwoCasesTakesTheFirst) {
  printers.AddPrinter(u"BARRA");
  printers.AddPrinter(u"barra");
  printers.SetDefaultName(u"barra");
  ASSERT_TRUE(Select(u"Barra"));
  EXPECT_EQ(Current(), u"BARRA");
}

}  // namespace
}  // namespace quillon::test
