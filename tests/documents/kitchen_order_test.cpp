// Kitchen orders and cancellation tickets: gates, skipped orders and products, the value layout
// on both widths, fonts, the exact total, and failing orders that leave no half ticket behind.
#include <gtest/gtest.h>

#include <algorithm>

#include "document_bench.h"
#include "platform/text.h"
#include "support/service_parts.h"

namespace quillon::test {
namespace {

using platform::BalloonIcon;

std::string Order(const std::string& table_kind, const std::string& area,
                  const std::string& products, const std::string& extra = "") {
  return R"({"tipoMesa":")" + table_kind + R"(","area":)" + area +
         R"(,"titulo":null,"nomMesa":"Mesa 1","productos":)" + products +
         R"(,"responsable":"Ana","nPedido":7,"fecha":"2024-05-17 12:00","clienteNombre":"",)"
         R"("clienteTelefono":"","clienteDireccion":"","codPlataforma":"")" +
         extra + "}";
}

const std::string kOneProduct = R"([{"nombre":"Sopa","cantidad":1,"valor":9000,"detalle":[]}])";

class KitchenOrderTest : public ::testing::Test {
 protected:
  KitchenOrderTest() { bench_.Configure({{"Valores En Comanda", R"("1")"}}); }
  DocumentBench bench_;
};

TEST_F(KitchenOrderTest, OptionBoxesDecideWhichKindsOfSalePrint) {
  bench_.options.Set(documents::PrintOption::kTable, false);
  bench_.KitchenOrder("[" + Order("MESA", R"("Cocina")", kOneProduct) + "," +
                      Order("MOSTRADOR", R"("Bar")", kOneProduct) + "," +
                      Order("mesa", R"("Cocina")", kOneProduct) + "]");
  // "MESA" is left out; the counter sale and the lower-case "mesa" print.
  EXPECT_EQ(bench_.Tickets(u"Bar").size(), 1u);
  EXPECT_EQ(bench_.Tickets(u"Cocina").size(), 1u);
  ASSERT_EQ(bench_.notifier.balloons.size(), 2u);
  EXPECT_EQ(bench_.notifier.balloons[0].text, u"Comanda enviada a Bar");
  EXPECT_EQ(bench_.notifier.balloons[0].title, u"Impresion de comanda");
  EXPECT_EQ(bench_.notifier.balloons[0].icon, BalloonIcon::kInformation);
  EXPECT_EQ(bench_.notifier.balloons[0].timeout_ms, 30000);
}

TEST_F(KitchenOrderTest, AllBoxesClearPrintsNothingWhateverTheKind) {
  for (const auto option : {documents::PrintOption::kTable, documents::PrintOption::kCounter,
                            documents::PrintOption::kDelivery}) {
    bench_.options.Set(option, false);
  }
  bench_.KitchenOrder("[" + Order("OTRO", R"("Cocina")", kOneProduct) + "]");
  bench_.Cancellation("[" + Order("OTRO", R"("Cocina")", kOneProduct) + "]");
  EXPECT_EQ(bench_.TicketCount(), 0);
  EXPECT_TRUE(bench_.notifier.balloons.empty());
}

TEST(KitchenOrderWithoutPrinters, EveryTicketWaitsAndIsShownInsteadOfVanishing) {
  FakePrinterSystem none;
  ServiceParts parts(none);
  print::PrintEngine engine;
  FakePrintOptions options;
  documents::DocumentContext context{
      engine, parts.service, parts.notifier, options, parts.clock, "", {}, {}};
  json::Value orders = JsonValue("[" + Order("MESA", R"("Cocina")", kOneProduct) + "]");
  documents::PrintKitchenOrder(context, orders.AsCollection());
  documents::PrintCancellation(context, orders.AsCollection());
  documents::PrintInvoice(context, JsonValue(InvoiceJson()));
  const auto waiting = parts.service.Waiting();
  ASSERT_EQ(waiting.size(), 3u);
  EXPECT_EQ(waiting[0].kind, u"comanda");
  EXPECT_EQ(waiting[1].kind, u"anulacion");
  EXPECT_EQ(waiting[2].kind, u"factura");
  EXPECT_EQ(waiting[2].printer, u"predeterminada");
  std::vector<std::u16string> texts;
  for (const Balloon& balloon : parts.notifier.balloons) texts.push_back(balloon.text);
  EXPECT_NE(std::find(texts.begin(), texts.end(), u"2 tickets esperando la impresora Cocina"),
            texts.end());
  EXPECT_NE(
      std::find(texts.begin(), texts.end(), u"1 ticket esperando la impresora predeterminada"),
      texts.end());
}

TEST_F(KitchenOrderTest, AreaNnEmptyOrNullIsNotPrintedButACancellationIs) {
  const std::string orders = "[" + Order("MESA", R"("NN")", kOneProduct) + "," +
                             Order("MESA", R"("")", kOneProduct) + "," +
                             Order("MESA", "null", kOneProduct) + "]";
  bench_.KitchenOrder(orders);
  EXPECT_EQ(bench_.TicketCount(), 0);
  EXPECT_TRUE(bench_.notifier.balloons.empty());
  // "NN" and "" name no area on purpose; a null one is a job that lost its area.
  EXPECT_EQ(bench_.context.not_printed,
            std::vector<std::u16string>{u"un pedido trae \"area\" nulo"});

  // A cancellation for "NN" goes to the default printer, since no printer has that name.
  bench_.Cancellation("[" + Order("MESA", R"("NN")", kOneProduct) + "]");
  const auto ticket = bench_.OnlyTicket(u"Facturas");
  ASSERT_FALSE(ticket.empty());
  EXPECT_EQ(ticket[0], std::string(18, ' ') + "NN");
}

TEST_F(KitchenOrderTest, MissingTituloStillPrintsItsSeparatorNullDoesNot) {
  bench_.KitchenOrder("[" + Order("MESA", R"("Cocina")", kOneProduct) + "]");
  std::string without = Order("MESA", R"("Bar")", kOneProduct);
  without.replace(without.find(R"("titulo":null,)"), 14, "");
  bench_.KitchenOrder("[" + without + "]");
  EXPECT_EQ(bench_.OnlyTicket(u"Cocina")[0], std::string(16, ' ') + "COCINA");
  const auto bar = bench_.OnlyTicket(u"Bar");
  EXPECT_EQ(bar[0], std::string(37, '='));
  EXPECT_EQ(bar[1], std::string(17, ' ') + "BAR");
}

TEST_F(KitchenOrderTest, SkippedProductsPrintNothingAndDoNotCountForDashes) {
  bench_.KitchenOrder("[" + Order("MESA", R"("Cocina")", R"([
      {"nombre":"","cantidad":1,"valor":100,"detalle":["nota perdida"]},
      {"nombre":"Sopa","cantidad":-2,"valor":9000,"detalle":["   ", "sin sal"]},
      {"nombre":null,"cantidad":1,"valor":100,"detalle":[]},
      {"nombre":"Jugo","cantidad":1,"valor":4000,"detalle":[]}])") +
                      "]");
  const auto ticket = bench_.OnlyTicket(u"Cocina");
  EXPECT_TRUE(HasLines(
      ticket, {std::string(37, '='), " 2    Sopa" + std::string(24, ' ') + "9.000", "-> SIN SAL",
               std::string(39, '-'), " 1    Jugo" + std::string(24, ' ') + "4.000", "TOTAL 13000",
               std::string(37, '=')}));
  for (const std::string& line : ticket) EXPECT_EQ(line.find("PERDIDA"), std::string::npos);
}

TEST_F(KitchenOrderTest, ValueLayoutOnFortyAndThirtyTwoCharacters) {
  const std::string products =
      R"([{"nombre":"Papas fritas grandes con queso","cantidad":2,"valor":15500,"detalle":[]}])";
  bench_.KitchenOrder("[" + Order("MESA", R"("Cocina")", products) + "]");
  EXPECT_TRUE(
      HasLines(bench_.OnlyTicket(u"Cocina"),
               {" 2    Papas fritas " + std::string(14, ' ') + "15.500", "    GRANDES CON QUESO"}));

  bench_.Configure({{"Valores En Comanda", R"("1")"}, {"Tamaño de Factura", R"("rollo 55mm")"}});
  bench_.KitchenOrder("[" + Order("MESA", R"("Bar")", products) + "]");
  // Name from column 6, at most up to column 14; the value ends in column 31.
  const auto narrow = bench_.OnlyTicket(u"Bar");
  EXPECT_TRUE(HasLines(narrow, {" 2   Papas fritas " + std::string(7, ' ') + "15.500",
                                "    GRANDES CON QUESO", "TOTAL 15500", std::string(30, '=')}));
}

TEST_F(KitchenOrderTest, TicketTotalIsExact) {
  bench_.KitchenOrder("[" + Order("MESA", R"("Cocina")", R"([
      {"nombre":"Pan","cantidad":1,"valor":0.1,"detalle":[]},
      {"nombre":"Sal","cantidad":1,"valor":0.2,"detalle":[]}])") +
                      "]");
  EXPECT_TRUE(HasLines(bench_.OnlyTicket(u"Cocina"), {"TOTAL 0,3"}));
}

TEST_F(KitchenOrderTest, PlainLayoutWithoutValuesAndNoTotal) {
  bench_.Configure({{"Valores En Comanda", R"("0")"}});
  bench_.KitchenOrder("[" + Order("MESA", R"("Cocina")", R"([
      {"nombre":"Sopa   del   dia","cantidad":"1,5","valor":9000,"detalle":[]}])") +
                      "]");
  const auto ticket = bench_.OnlyTicket(u"Cocina");
  EXPECT_TRUE(HasLines(ticket, {std::string(37, '='), "1,5 SOPA DEL DIA", std::string(37, '=')}));
  for (const std::string& line : ticket) EXPECT_NE(line.rfind("TOTAL", 0), 0u) << line;
}

// The font of the first run that starts `start` (blanks aside).
platform::TicketFont FontOfLine(const platform::Ticket& ticket, const std::string& start) {
  for (const auto& line : ticket.lines) {
    for (const auto& run : line.runs) {
      if (platform::Utf16ToUtf8(platform::TrimBlanks(run.text)).rfind(start, 0) == 0) {
        return run.font;
      }
    }
  }
  ADD_FAILURE() << "sin la linea " << start;
  return platform::TicketFont{};
}

TEST_F(KitchenOrderTest, FontsOfTheTicket) {
  bench_.Configure({{"Valores En Comanda", R"("1")"}, {"Tamano de Factura", R"("rollo 55mm")"}});
  bench_.KitchenOrder("[" + Order("MESA", R"("Cocina")", kOneProduct, R"(,"clienteNombre":"Luz")") +
                      "]");
  const auto& ticket = bench_.printers.Queue(u"Cocina")->tickets.at(0);
  const auto font_of = [&](const std::string& start) { return FontOfLine(ticket, start); };
  EXPECT_EQ(font_of("COCINA").size, 7);
  EXPECT_EQ(font_of("Mesa 1").size, 16);
  EXPECT_EQ(font_of("Mesa 1").name, u"Courier 17 CPI");
  EXPECT_EQ(font_of("Sopa").size, 12);
  EXPECT_EQ(font_of("Pedido 7").size, 12);
  EXPECT_EQ(font_of("NOMBRE: LUZ").size, 7);
  EXPECT_EQ(font_of(".").size, 12);
  EXPECT_FALSE(font_of("Sopa").bold);
}

TEST_F(KitchenOrderTest, CustomerBlockAndPlatformCode) {
  bench_.KitchenOrder("[" +
                      Order("DOMICILIO", R"("Cocina")", kOneProduct,
                            R"(,"clienteNombre":"Luz Peña","clienteTelefono":"300 1",)"
                            R"("clienteDireccion":"Cra 1 # 2-3","codPlataforma":"WEB-9")") +
                      "]");
  EXPECT_TRUE(HasLines(
      bench_.OnlyTicket(u"Cocina"),
      {"2024-05-17 12:00", std::string(37, '='), "DATOS CLIENTE", "NOMBRE: LUZ PEÑA",
       "TELEFONO: 300 1", "DIRECCION: CRA 1 # 2-3", std::string(37, '='), "WEB-9", " ", "."}));
}

TEST_F(KitchenOrderTest, FailingOrderIsCancelledAndTheNextOrdersAndJobsPrintWhole) {
  const std::string bad = Order("MESA", R"("Cocina")", R"([
      {"nombre":"Sopa","cantidad":1,"valor":9000,"detalle":[]},
      {"nombre":"Jugo","cantidad":"dos","valor":4000,"detalle":[]}])");
  bench_.KitchenOrder("[" + bad + "," + Order("MESA", R"("Bar")", kOneProduct) + "]");
  EXPECT_TRUE(bench_.Tickets(u"Cocina").empty());
  ASSERT_EQ(bench_.Tickets(u"Bar").size(), 1u);
  ASSERT_EQ(bench_.notifier.balloons.size(), 2u);
  EXPECT_EQ(bench_.notifier.balloons[0].text, u"No coinciden los tipos");
  EXPECT_EQ(bench_.notifier.balloons[0].title, u"Comanda");
  EXPECT_EQ(bench_.notifier.balloons[0].icon, BalloonIcon::kWarning);
  EXPECT_EQ(bench_.context.not_printed,
            std::vector<std::u16string>{u"un pedido no se pudo imprimir (No coinciden los tipos)"});

  // The next job on the same printer starts on a clean ticket.
  bench_.KitchenOrder("[" + Order("MESA", R"("Cocina")", kOneProduct) + "]");
  const auto ticket = bench_.OnlyTicket(u"Cocina");
  ASSERT_FALSE(ticket.empty());
  EXPECT_EQ(ticket.front(), std::string(16, ' ') + "COCINA");
}

TEST_F(KitchenOrderTest, WrongShapesAreReportedWithoutHalfTickets) {
  bench_.KitchenOrder(
      "[" + Order("MESA", R"("Cocina")", R"({"nombre":"Sopa"})") + "," +
      Order("MESA", R"("Cocina")", R"([{"nombre":"Sopa","cantidad":1,"valor":1,"detalle":"x"}])") +
      ", \"no es un pedido\"]");
  EXPECT_EQ(bench_.TicketCount(), 0);
  ASSERT_EQ(bench_.notifier.balloons.size(), 3u);
  for (const Balloon& balloon : bench_.notifier.balloons) {
    EXPECT_EQ(balloon.title, u"Comanda");
    EXPECT_EQ(balloon.text, u"Se requiere un objeto");
  }
}

class CancellationTest : public ::testing::Test {
 protected:
  CancellationTest() { bench_.Configure({{"Valores En Comanda", R"("1")"}}); }
  DocumentBench bench_;
};

TEST_F(CancellationTest, PrintsTheMomentOfPrintingAndNoValues) {
  bench_.clock.now = {2024, 1, 2, 3, 4, 5};
  bench_.Cancellation("[" + Order("MESA", R"("Cocina")", R"([
      {"nombre":"Sopa","cantidad":-1,"valor":9000,"detalle":["fría"]},
      {"nombre":"Jugo","cantidad":2,"valor":4000,"detalle":[]}])") +
                      "]");
  const auto ticket = bench_.OnlyTicket(u"Cocina");
  const std::vector<std::string> expected = {std::string(16, ' ') + "COCINA",
                                             std::string(37, '='),
                                             "A N U L A C I O N!!",
                                             "Mesa 1",
                                             std::string(37, '='),
                                             "1 SOPA",
                                             "-> FRÍA",
                                             std::string(39, '-'),
                                             "2 JUGO",
                                             std::string(37, '='),
                                             "Fecha\\Hora: ",
                                             "2024-01-02 03:04:05",
                                             " ",
                                             "."};
  EXPECT_EQ(ticket, expected);
  ASSERT_EQ(bench_.notifier.balloons.size(), 1u);
  EXPECT_EQ(bench_.notifier.balloons[0].text, u"Comanda enviada a Cocina");
}

TEST_F(CancellationTest, RollSizeSetOnceCarriesOverToEveryOrdersPrinter) {
  bench_.Configure({{"Tamano de Factura", R"("rollo 55mm")"}});
  bench_.Cancellation("[" + Order("MESA", R"("Cocina")", kOneProduct) + "," +
                      Order("MESA", R"("Bar")", kOneProduct) + "]");
  // The area line of the first order is printed at the roll size set before any printer was
  // selected; the next order's area line at the size the first ticket left behind.
  const auto& first = bench_.printers.Queue(u"Cocina")->tickets.at(0);
  const auto& second = bench_.printers.Queue(u"Bar")->tickets.at(0);
  ASSERT_FALSE(first.lines.empty());
  ASSERT_FALSE(second.lines.empty());
  EXPECT_EQ(first.lines[0].runs.at(0).font.size, 7);
  EXPECT_EQ(second.lines[0].runs.at(0).font.size, 7);
  EXPECT_EQ(second.lines[0].runs.at(0).font.name, u"Courier 17 CPI");
}

TEST_F(CancellationTest, ClearBoxLeavesOutItsKindOfSale) {
  bench_.options.Set(documents::PrintOption::kDelivery, false);
  bench_.Cancellation("[" + Order("DOMICILIO", R"("Cocina")", kOneProduct) + "," +
                      Order("MOSTRADOR", R"("Bar")", kOneProduct) + "]");
  EXPECT_TRUE(bench_.Tickets(u"Cocina").empty());
  EXPECT_EQ(bench_.Tickets(u"Bar").size(), 1u);
}

TEST_F(CancellationTest, FailingOrderIsCancelledAndReported) {
  bench_.Cancellation("[" + Order("MESA", R"("Cocina")", R"([
      {"nombre":"Sopa","cantidad":1,"detalle":[]},
      {"nombre":"Jugo","cantidad":"x","detalle":[]}])") +
                      "," + Order("MESA", R"("Bar")", kOneProduct) + "]");
  EXPECT_TRUE(bench_.Tickets(u"Cocina").empty());
  EXPECT_EQ(bench_.Tickets(u"Bar").size(), 1u);
  ASSERT_EQ(bench_.notifier.balloons.size(), 2u);
  EXPECT_EQ(bench_.notifier.balloons[0].title, u"Error al imprimir");
  EXPECT_EQ(bench_.notifier.balloons[0].icon, BalloonIcon::kWarning);
  EXPECT_EQ(bench_.notifier.balloons[0].text,
            u"No se pudo imprimir la anulación: No coinciden los tipos");
  EXPECT_EQ(bench_.context.not_printed,
            std::vector<std::u16string>{u"un pedido no se pudo imprimir (No coinciden los tipos)"});
}

}  // namespace
}  // namespace quillon::test
