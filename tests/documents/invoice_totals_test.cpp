// The item table and the totals of an invoice, printed on their own: columns on both widths,
// skipped items, details, the three totals branches, the highlighted total and the tax table.
#include "documents/invoice_totals.h"

#include <gtest/gtest.h>

#include "document_bench.h"
#include "documents/invoice_items.h"
#include "platform/text.h"

namespace quillon::test {
namespace {

std::string At(int column, const std::string& text) { return std::string(column - 1, ' ') + text; }
std::string Line(std::initializer_list<std::pair<int, std::string>> runs) {
  std::string line;
  for (const auto& [column, text] : runs) {
    const auto length = static_cast<int>(platform::Utf8ToUtf16(line).size());  // characters
    line.append(static_cast<std::size_t>(column - 1 - length), ' ');
    line.append(text);
  }
  return line;
}

const std::vector<Row> kTips = {{"Servicio", R"("10")"}, {"Propina", R"("Aplica")"}};

class InvoicePartsTest : public ::testing::Test {
 protected:
  // Prints one part on its own ticket with the settings `rows`.
  template <typename Part>
  std::vector<std::string> PrintPart(const std::vector<Row>& rows, Part part) {
    bench_.Configure(rows);
    print::PrintEngine& engine = bench_.engine;
    documents::LoadPrintSettings(engine, settings_);
    engine.BeginTicket(u"Facturas", u"factura");
    engine.Recorder().SetFontSize(engine.RollFontSize());
    part(engine);
    drawn_ = engine.EndTicket().content;
    return TicketLines(drawn_);
  }
  std::vector<std::string> Totals(const std::vector<Row>& rows, std::string_view overrides) {
    const json::Value document = JsonValue(InvoiceJson(overrides));
    return PrintPart(
        rows, [&](print::PrintEngine& e) { documents::PrintTotalsBlock(e, settings_, document); });
  }
  std::vector<std::string> Items(const std::vector<Row>& rows, std::string_view items) {
    const json::Value pedido = JsonValue(items);
    return PrintPart(rows, [&](print::PrintEngine& e) { documents::PrintInvoiceItems(e, pedido); });
  }

  DocumentBench bench_;
  documents::PrintSettings settings_;
  platform::Ticket drawn_;  // the last part drawn
};

TEST_F(InvoicePartsTest, EmptyItemTable) {
  const std::vector<std::string> expected = {std::string(37, '='),
                                             Line({{1, "CANT"}, {9, "PRODUCTO"}, {35, "TOTAL"}}),
                                             "", std::string(37, '=')};
  EXPECT_EQ(Items({}, "[]"), expected);
}

TEST_F(InvoicePartsTest, ItemLinesOnFortyAndThirtyTwoCharacters) {
  const std::string items = R"([
      {"Cantidad": 2, "NombreProducto": "HAMBURGUESA DOBLE CON QUESO", "Valor": 25000, "Detalle": null},
      {"Cantidad": 1, "NombreProducto": "Regalo", "Valor": 0, "Detalle": "no se ve"},
      {"Cantidad": 1, "NombreProducto": "Devolución", "Valor": -5000, "Detalle": null},
      {"Cantidad": 1, "NombreProducto": "Sin valor", "Detalle": null},
      {"Cantidad": -3, "NombreProducto": "SUPERCALIFRAGILISTICO grande", "Valor": 1000.5}])";
  const std::vector<std::string> wide = {
      std::string(37, '='),
      Line({{1, "CANT"}, {9, "PRODUCTO"}, {35, "TOTAL"}}),
      "",
      Line({{1, " 2 "}, {6, "HAMBURGUESA DOBLE "}, {34, "25.000"}}),
      At(5, "CON QUESO"),
      Line({{1, " 3 "}, {35, "1.001"}}),  // a first word of 20 or more leaves no name part
      At(5, "SUPERCALIFRAGILISTICO GRANDE"),
      std::string(37, '=')};
  EXPECT_EQ(Items({}, items), wide);

  const std::vector<std::string> narrow = {std::string(30, '='),
                                           Line({{1, "CANT"}, {7, "PRODUCTO"}, {27, "TOTAL"}}),
                                           "",
                                           Line({{1, " 2 "}, {5, "HAMBURGUESA "}, {26, "25.000"}}),
                                           At(5, "DOBLE CON QUESO"),
                                           Line({{1, " 3 "}, {27, "1.001"}}),
                                           At(5, "SUPERCALIFRAGILISTICO GRANDE"),
                                           std::string(30, '=')};
  EXPECT_EQ(Items({{"Tamaño de Factura", R"("rollo 55mm")"}}, items), narrow);
}

TEST_F(InvoicePartsTest, DetailsSplitAtTheExactTag) {
  const auto ticket = Items({}, R"([{"Cantidad": 1, "NombreProducto": "Sopa", "Valor": 100,
      "Detalle": "Sin cebolla<br/><br/>  <br/>Extra queso<BR/>y sal"}])");
  const std::vector<std::string> expected = {Line({{1, " 1 "}, {6, "Sopa"}, {37, "100"}}),
                                             "-> SIN CEBOLLA", "-> EXTRA QUESO<BR/>Y SAL",
                                             std::string(37, '=')};
  EXPECT_TRUE(HasLines(ticket, expected));
}

TEST_F(InvoicePartsTest, ClosedTableAccountWithTip) {
  const std::string closed = R"({"cuentaCerrada": true, "totalPagado": 50000,
                                 "totalPagadoPropina": 5000})";
  const std::vector<std::string> tip = {Line({{1, "SUB TOTAL"}, {34, "50.000"}}),
                                        Line({{1, "PROPINA"}, {35, "5.000"}}),
                                        Line({{1, "TOTAL"}, {34, "55.000"}})};
  EXPECT_EQ(Totals(kTips, closed), tip);
  // No service: no tip condition, only the paid total.
  EXPECT_EQ(Totals({{"Propina", R"("Aplica")"}}, closed),
            std::vector<std::string>{Line({{1, "TOTAL "}, {34, "50.000"}})});
  // A suggested tip that was not paid: the tip branch without its lines.
  EXPECT_EQ(Totals(kTips, R"({"cuentaCerrada": true, "totalPagado": 50000,
                              "propinaSugerida": 5000})"),
            std::vector<std::string>{Line({{1, "TOTAL"}, {34, "50.000"}})});
  // Coupons carry no tip of their own.
  EXPECT_EQ(
      Totals(kTips, R"({"cuentaCerrada": true, "totalPagado": 50000, "CntGroupon": 2,
                              "totalPagadoPropina": 5000})"),
      (std::vector<std::string>{
          Line({{1, "SUB TOTAL"}, {34, "50.000"}}), Line({{1, "PROPINA GROUPON "}, {39, "0"}}),
          Line({{1, "PROPINA  "}, {35, "5.000"}}), Line({{1, "TOTAL"}, {34, "55.000"}})}));
}

TEST_F(InvoicePartsTest, DeliveryChargeEvenWithoutService) {
  EXPECT_EQ(Totals({{"Concepto Domicilio", R"("")"}},
                   R"({"cuentaCerrada": true, "tipoMesa": "DOMICILIO", "totalPagado": 20000,
                       "totalPagadoPropina": 3000})"),
            (std::vector<std::string>{Line({{1, "SUB TOTAL"}, {34, "20.000"}}),
                                      Line({{1, "DOMICILIO"}, {35, "3.000"}}),
                                      Line({{1, "TOTAL"}, {34, "23.000"}})}));
}

TEST_F(InvoicePartsTest, OpenAccountTipLines) {
  const std::string open = R"({"totalPagar": 30000, "descuento": 1000, "propinaSugerida": 2900,
                               "mesa": )";
  auto rows = kTips;
  rows.push_back({"Concepto Domicilio", R"("Envío")"});
  EXPECT_EQ(Totals(rows, open + "2001}"),
            (std::vector<std::string>{Line({{1, "SUB TOTAL"}, {34, "29.000"}}),
                                      Line({{1, "ENVÍO "}, {35, "2.900"}}),
                                      Line({{1, "TOTAL"}, {34, "31.900"}})}));
  EXPECT_EQ(
      Totals(rows, open + "\"2000\", \"CntGroupon\": 1}"),
      (std::vector<std::string>{
          Line({{1, "SUB TOTAL"}, {34, "29.000"}}), Line({{1, "PROPINA SUGERIDA "}, {35, "2.900"}}),
          Line({{1, "PROPINA GROUPON "}, {39, "0"}}), Line({{1, "TOTAL"}, {34, "31.900"}})}));
  rows.push_back({"Opcion Propina 5% y 10%", R"("1")"});
  EXPECT_EQ(Totals(rows, R"({"totalPagar": 30000, "propinaSugerida": 3000})"),
            (std::vector<std::string>{Line({{1, "SUB TOTAL"}, {34, "30.000"}}),
                                      Line({{1, "__ APRUEBA PROPINA 10% "}, {35, "3.000"}}),
                                      Line({{1, "__ APRUEBA PROPINA 5% "}, {35, "1.500"}}),
                                      Line({{1, "__ OTRO VALOR "}, {27, std::string(13, '_')}})}));
}

TEST_F(InvoicePartsTest, HighlightedTotalIsLargeAndBoldThenBackToTheRollSize) {
  // W is 32 but the font rows say nothing: back to 10 points.
  auto lines =
      Totals({{"ResaltarTotal Cuenta", R"("1")"}, {"Tamaño de Factura", R"("rollo 55mm")"}},
             R"({"cuentaCerrada": true, "totalPagado": 1, "totalPagar": 50000,
                          "descuento": 5000})");
  EXPECT_EQ(lines, std::vector<std::string>{" ** TOTAL 45.000 **"});
  const auto& line = drawn_.lines.at(0);
  EXPECT_EQ(line.runs.at(0).font.size, 15);
  EXPECT_TRUE(line.runs.at(0).font.bold);
  EXPECT_EQ(bench_.engine.Recorder().FontSize(), 10);
  EXPECT_FALSE(bench_.engine.Recorder().Bold());

  auto rows = kTips;
  rows.push_back({"ResaltarTotal Cuenta", R"("1")"});
  rows.push_back({"Tamano de Factura", R"("rollo 55mm")"});
  EXPECT_EQ(Totals(rows, R"({"totalPagar": 20000, "propinaSugerida": 2000})").back(),
            "** TOTAL 22.000 **");
  EXPECT_EQ(bench_.engine.Recorder().FontSize(), 7);
}

TEST_F(InvoicePartsTest, TaxTableUnderTheCommonRegimeOnly) {
  const std::string taxes = R"({"totalPagar": 108000, "impuestos": [
      {"nombre": "Impoconsumo 8%", "base": 100000, "valor": 8000},
      {"nombre": "iva 19%", "base": 0.4, "valor": 0}]})";
  const std::vector<std::string> wide = {
      Line({{1, "TOTAL "}, {33, "108.000"}}),
      " ",
      std::string(37, '='),
      Line({{1, "IMPUESTO"}, {26, "BASE"}, {35, "VALOR"}}),
      Line({{1, "IMPOCONSUMO 8%"}, {23, "100.000"}, {35, "8.000"}}),
      Line({{1, "IVA 19%"}, {29, "0"}, {39, "0"}})};
  EXPECT_EQ(Totals({{"Regimen", R"("comun")"}}, taxes), wide);
  const std::vector<std::string> narrow = {
      Line({{1, "TOTAL "}, {25, "108.000"}}),
      " ",
      std::string(30, '='),
      Line({{1, "IMPUESTO"}, {20, "BASE"}, {27, "VALOR"}}),
      Line({{1, "IMPOCONSUMO 8%"}, {17, "100.000"}, {27, "8.000"}}),
      Line({{1, "IVA 19%"}, {23, "0"}, {31, "0"}})};
  EXPECT_EQ(Totals({{"Regimen", R"("COMUN")"}, {"Tamaño de Factura", R"("rollo 55mm")"}}, taxes),
            narrow);
  EXPECT_EQ(Totals({{"Regimen", R"("Simplificado")"}}, taxes).size(), 1u);
}

}  // namespace
}  // namespace quillon::test
