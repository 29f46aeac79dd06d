// The invoice document: gates, the account lines, discounts, payments, the customer blocks and
// their guard, the customer space, footers, the pause for events and failing invoices.
#include <gtest/gtest.h>

#include "document_bench.h"
#include "json/parser.h"
#include "platform/text.h"

namespace quillon::test {
namespace {

using platform::BalloonIcon;

const std::string kEq37(37, '=');

std::string Amount(const std::string& label, const std::string& amount, int width = 40) {
  return label + std::string(width - 1 - label.size() - amount.size(), ' ') + amount;
}

class InvoiceTest : public ::testing::Test {
 protected:
  InvoiceTest() { bench_.Configure({}); }

  std::vector<std::string> Print(std::string_view overrides = "{}",
                                 const std::vector<std::string>& absent = {}) {
    bench_.Invoice(InvoiceJson(overrides, absent));
    const auto tickets = bench_.Tickets(u"Facturas");
    return tickets.empty() ? std::vector<std::string>{} : tickets.back();
  }

  DocumentBench bench_;
};

TEST_F(InvoiceTest, SmallestInvoiceWholeTicket) {
  const auto ticket = Print();
  std::vector<std::string> expected = {kEq37,
                                       " ",
                                       kEq37,  // header and legal block with nothing visible
                                       "Boleto Fiscal No  100 ",
                                       "Mesa 5",
                                       "Fecha 2024-05-17",
                                       kEq37,
                                       "CANT    PRODUCTO" + std::string(18, ' ') + "TOTAL",
                                       "",
                                       kEq37,
                                       Amount("TOTAL ", "0"),
                                       " ",
                                       kEq37,
                                       "Software QuillonPOS",
                                       "NIT 901.234.567-8",
                                       "www.quillonpos.co",
                                       kEq37};
  for (int i = 0; i < 10; ++i) expected.push_back(" ");
  EXPECT_EQ(ticket, expected);
  ASSERT_EQ(bench_.notifier.balloons.size(), 1u);
  EXPECT_EQ(bench_.notifier.balloons[0].text, u"Factura enviada a Facturas");
  EXPECT_EQ(bench_.notifier.balloons[0].title, u"Impresion de Factura");
  EXPECT_EQ(bench_.notifier.balloons[0].icon, BalloonIcon::kInformation);
}

TEST_F(InvoiceTest, GatesPrintNothing) {
  bench_.Configure({{"Titulo del Vendedor", R"("Capitán")"}});
  bench_.options.Set(documents::PrintOption::kInvoices, false);
  Print();
  EXPECT_EQ(bench_.context.invoice_settings.seller_title, u"");  // not even the settings were read

  bench_.options.Set(documents::PrintOption::kInvoices, true);
  Print(R"({"mesa": ""})");
  Print("{}", {"mesa"});
  EXPECT_EQ(bench_.context.invoice_settings.seller_title, u"Capitán");
  EXPECT_EQ(bench_.TicketCount(), 0);
  EXPECT_TRUE(bench_.notifier.balloons.empty());
}

TEST_F(InvoiceTest, NullTableStopsWithoutLeavingTheTicketOpen) {
  bench_.context.data_dir = std::string(QUILLON_SOURCE_DIR) + "/examples/jobs/data";  // a logo
  Print(R"({"mesa": null})");
  EXPECT_EQ(bench_.TicketCount(), 0);
  EXPECT_TRUE(bench_.notifier.balloons.empty());
  EXPECT_EQ(bench_.context.not_printed, std::vector<std::u16string>{u"trae \"mesa\" nulo"});
  bench_.context.data_dir.clear();
  const auto ticket = Print();
  ASSERT_FALSE(ticket.empty());
  EXPECT_EQ(ticket.front(), kEq37);  // no logo lines left over from the stopped one
}

TEST_F(InvoiceTest, AccountKindAndNumberLine) {
  auto cotizacion = Print(R"({"tipoCuenta": "Cotizacion"})");
  EXPECT_TRUE(HasLines(
      cotizacion, {std::string(14, ' ') + "COTIZACION", " ", "Boleto Fiscal No  100 ", "Mesa 5"}));
  // Only the exact word suppresses the number line.
  EXPECT_TRUE(HasLines(Print(R"({"tipoCuenta": "COTIZACION"})"),
                       {std::string(14, ' ') + "COTIZACION", " ", "Mesa 5"}));
  EXPECT_TRUE(HasLines(Print(R"({"tipoCuenta": null})"), {kEq37, "Mesa 5"}));
  EXPECT_TRUE(HasLines(Print(R"({"idFacturaCuenta": "100"})"), {kEq37, "Boleto Fiscal No 100"}));

  bench_.Configure({{"Factura Prefijo", R"("FE")"}, {"Regimen", R"("comun")"}});
  EXPECT_TRUE(HasLines(Print(R"({"idFacturaCuenta": 1234})"), {kEq37, "Factura No FE-1234"}));
}

TEST_F(InvoiceTest, DateTimeAndSellerLines) {
  bench_.Configure({{"Hora Factura", R"("1")"}, {"Nombre Mesero Factura", R"("1")"}});
  EXPECT_TRUE(HasLines(Print(R"({"fechaFactura": "24/04/2023", "horaFactura": "14:04",
                                 "vendedor": "ANA"})"),
                       {"Fecha 24/04/2023 Hora 14:04", "Mesero  ANA", kEq37}));
  bench_.Configure({{"Hora Factura", R"("01")"},
                    {"Titulo del Vendedor", R"("Cajero")"},
                    {"Nombre Mesero Factura", R"("1")"}});
  EXPECT_TRUE(
      HasLines(Print(R"({"fechaFactura": 20230424})"), {"Fecha  20230424 ", "Cajero  Ana", kEq37}));
}

TEST_F(InvoiceTest, DiscountLines) {
  const auto ticket = Print(R"({"descuento": 5000, "DescuentoIndividual": 2000,
                                "totalPagar": 50000})");
  EXPECT_TRUE(
      HasLines(ticket, {kEq37, Amount("SUB TOTAL", "48.000"),
                        Amount("Descuento en Ventas ", "-3.000"), "", Amount("TOTAL ", "45.000")}));
  const auto none = Print(R"({"descuento": 0, "totalPagar": 50000})");
  EXPECT_TRUE(HasLines(none, {kEq37, Amount("TOTAL ", "50.000")}));
}

TEST_F(InvoiceTest, PaymentsOfAClosedAccount) {
  const auto ticket = Print(R"({"cuentaCerrada": true, "totalPagar": 60000, "totalPagado": 60000,
      "pagoEfectivo": 60000, "cambioEfectivo": 5000, "mediosPago": [
        {"Producto": "MEDIO DE PAGO Tarjeta", "Detalle": "Visa", "Valor": -20000},
        {"Producto": "MEDIO DE PAGO propina", "Detalle": "", "Valor": 1000},
        {"Producto": "CORTO", "Detalle": "Bono", "Valor": 500}]})");
  EXPECT_TRUE(HasLines(
      ticket, {Amount("TOTAL ", "60.000"), " ", Amount("Tarjeta Visa", "20.000"),
               Amount("propina ", "1.000"),  // a table account keeps the word
               Amount(" Bono", "500"), "", Amount("TOTAL PAGADO", "60.000"), kEq37,
               Amount("Efectivo Recibido", "65.000"), Amount("Cambio Entregado", "5.000"), " "}));
}

TEST_F(InvoiceTest, DeliveryPaymentsNameTheChargeDomicilio) {
  const auto ticket = Print(R"({"cuentaCerrada": true, "tipoMesa": "DOMICILIO", "mediosPago": [
        {"Producto": "MEDIO DE PAGO propina", "Detalle": "", "Valor": 3000},
        {"Producto": "MEDIO DE PAGO Propina", "Detalle": "y propina", "Valor": 2000}]})");
  EXPECT_TRUE(HasLines(
      ticket, {" ", Amount("domicilio ", "3.000"), Amount("Propina y domicilio", "2.000")}));
}

TEST_F(InvoiceTest, OpenAccountsHaveNoPayments) {
  for (const char* closed : {"false", "1", "\"true\""}) {
    const auto ticket = Print(std::string(R"({"cuentaCerrada": )") + closed +
                              R"(, "totalPagado": 100, "pagoEfectivo": 100, "mediosPago": [
        {"Producto": "MEDIO DE PAGO Tarjeta", "Detalle": "Visa", "Valor": 100}]})");
    for (const std::string& line : ticket) {
      EXPECT_EQ(line.find("Tarjeta"), std::string::npos) << closed;
      EXPECT_EQ(line.find("TOTAL PAGADO"), std::string::npos) << closed;
    }
  }
}

TEST_F(InvoiceTest, NamedCustomerWithSignatureAndCustomerSpace) {
  bench_.Configure({{"Imprimie Espacio Cliente Cuenta", R"("1")"}});
  const auto ticket = Print(R"({"cliente": {"Nombre": "Luz Peña", "IdDocumento": "cc 123",
      "Direccion": "Cra 1", "Telefono1": "300 ext a"}})");
  EXPECT_TRUE(HasLines(
      ticket,
      {kEq37, "Nombre: LUZ PEÑA", "Documento: CC 123", "DIRECCIÓN: CRA 1", "Telefono: 300 EXT A",
       " ", " ", " ", " ", "FIRMA: " + std::string(29, '_'), "C.C.: " + std::string(30, '_'), " ",
       "NOMBRE: " + std::string(29, '_'), "CEDULA: " + std::string(29, '_'),
       "DIRECCION: " + std::string(26, '_'), " ", kEq37}));
}

TEST_F(InvoiceTest, CustomerGuardResumesAtTheCustomerSpace) {
  bench_.Configure({{"Imprimie Espacio Cliente Cuenta", R"("1")"}});
  const std::vector<std::string> space = {Amount("TOTAL ", "0"),
                                          " ",
                                          "NOMBRE: " + std::string(29, '_'),
                                          "CEDULA: " + std::string(29, '_'),
                                          "DIRECCION: " + std::string(26, '_'),
                                          " ",
                                          kEq37};
  EXPECT_TRUE(HasLines(Print("{}", {"cliente"}), space));
  EXPECT_TRUE(HasLines(Print(R"({"cliente": "Luz"})"), space));
  EXPECT_TRUE(HasLines(Print(R"({"cliente": {"Nombre": ""}})"), space));
  EXPECT_TRUE(HasLines(Print(R"({"cliente": {"Nombre": null}})"), space));

  // A delivery account without a customer prints the heading before the guard takes over.
  Print(R"({"tipoMesa": "DOMICILIO"})", {"cliente"});
  const auto& delivery = bench_.printers.Queue(u"Facturas")->tickets.back();
  const auto lines = TicketLines(delivery);
  EXPECT_TRUE(HasLines(lines, {Amount("TOTAL ", "0"), kEq37, "DATOS DOMICILIO", " ",
                               "NOMBRE: " + std::string(29, '_')}));
  for (const auto& line : delivery.lines) {
    if (line.runs.empty()) continue;
    const bool heading = line.runs[0].text == u"DATOS DOMICILIO";
    EXPECT_EQ(line.runs[0].font.bold, heading) << platform::Utf16ToUtf8(line.runs[0].text);
  }
  EXPECT_EQ(bench_.TicketCount(), 5);
  for (const Balloon& balloon : bench_.notifier.balloons) {
    EXPECT_EQ(balloon.icon, BalloonIcon::kInformation);
  }
}

// Reading the absent "cliente" adds it, and then reading the absent "tipoMesa" adds another
// member while the customer is held: whatever the number of members, the customer read before
// stays valid (a sanitizer build reports any read of a moved member). The job goes through the
// parser as the agent receives it.
TEST_F(InvoiceTest, InvoiceWithoutCustomerOrTableKindAtAnyMemberCount) {
  bench_.Configure({{"Imprimie Espacio Cliente Cuenta", R"("1")"}});
  std::string fillers;
  for (int count = 0; count <= 48; ++count) {
    SCOPED_TRACE(count);
    if (count > 0) fillers += ",\"relleno" + std::to_string(count) + "\":" + std::to_string(count);
    const std::string text =
        InvoiceJson("{" + fillers.substr(fillers.empty() ? 0 : 1) + "}", {"cliente", "tipoMesa"});
    const json::ParseResult job = json::ParseJson(text, json::TextEncoding::kUtf8);
    ASSERT_EQ(job.errors, u"");
    documents::PrintInvoice(bench_.context, job.root);
    ASSERT_EQ(bench_.TicketCount(), count + 1);
    const auto lines = bench_.Tickets(u"Facturas").back();
    EXPECT_TRUE(HasLines(lines, {Amount("TOTAL ", "0"), " ", "NOMBRE: " + std::string(29, '_')}));
    EXPECT_FALSE(HasLines(lines, {"DATOS DOMICILIO"}));
  }
}

TEST_F(InvoiceTest, NullCustomerHasNeitherBlockNorSpace) {
  bench_.Configure({{"Imprimie Espacio Cliente Cuenta", R"("1")"}});
  EXPECT_TRUE(HasLines(Print(), {Amount("TOTAL ", "0"), " ", kEq37, "Software QuillonPOS"}));
}

TEST_F(InvoiceTest, DeliveryCustomerBlock) {
  const auto ticket = Print(R"({"tipoMesa": "DOMICILIO", "detalleDomicilio": "Timbre dañado",
      "cliente": {"Nombre": "Luz Peña", "IdDocumento": "cc 1", "Direccion": "Cra 1 # 2",
                  "Telefono1": "300 ext"}})");
  EXPECT_TRUE(
      HasLines(ticket, {kEq37, "DATOS DOMICILIO", "Nombre: Luz Peña", "Documento: CC 1",
                        "DIRECCION: CRA 1 # 2", "Telefono: 300 ext", "TIMBRE DAÑADO", " "}));
}

TEST_F(InvoiceTest, CustomerSpaceFollowsTheFontRowWhileColumnsFollowTheWidthRow) {
  bench_.Configure(
      {{"Imprimie Espacio Cliente Cuenta", R"("1")"}, {"Tamano de Factura", R"("rollo 55mm")"}});
  Print(R"({"cliente": {"Nombre": ""}})");
  const auto& ticket = bench_.printers.Queue(u"Facturas")->tickets.back();
  const auto lines = TicketLines(ticket);
  EXPECT_TRUE(
      HasLines(lines, {" ", "NOMBRE: " + std::string(24, '_'), "CEDULA: " + std::string(24, '_'),
                       "DIRECCION: " + std::string(21, '_')}));
  EXPECT_TRUE(HasLines(lines, {"CANT    PRODUCTO" + std::string(18, ' ') + "TOTAL"}));
  for (const auto& line : ticket.lines) {
    for (const auto& run : line.runs) {
      EXPECT_EQ(run.font.size, 7) << platform::Utf16ToUtf8(run.text);
      EXPECT_EQ(run.font.name, u"Courier 14 CPI");
    }
  }
}

TEST_F(InvoiceTest, TipLegendOnlyForTableAccountsWithATip) {
  bench_.Configure({{"Propina", R"("Aplica")"}, {"Imprimie Leyenda Propina Cuenta", R"("1")"}});
  const auto with = Print(R"({"propinaSugerida": 1000})");
  // Without a roll row the wrap measures against 35 "=" at 10 points.
  EXPECT_TRUE(
      HasLines(with, {Amount("TOTAL ", "0"), kEq37,  // no "Servicio": no tip lines
                      "POR DISPOSICIÓN DE LA", "SUPERINTENDENCIA DE INDUSTRIA Y",
                      "COMERCIO, SE INFORMA QUE EN ESTE", "ESTABLECIMIENTO LA PROPINA ES",
                      "SUGERIDA AL CONSUMIDOR Y", "CORRESPONDE AL 10% DEL TOTAL DE LA",
                      "FACTURA, EL CUAL PUEDE SER", "ACEPTADO, MODIFICADO O RECHAZADO",
                      "POR USTED DE ACUERDO CON VALORACIÓN", "DEL SERVICIO PRESTADO, SI NO DESEA",
                      "CANCELAR ESTE VALOR, HAGA CASO", "OMISO DEL MISMO.", " "}));
  for (const char* overrides :
       {R"({"propinaSugerida": 0})", R"({"propinaSugerida": 1000, "tipoMesa": "DOMICILIO"})",
        R"({"propinaSugerida": 1000, "tipoMesa": null})"}) {
    for (const std::string& line : Print(overrides)) {
      EXPECT_EQ(line.find("POR DISPOSICI"), std::string::npos) << overrides;
    }
  }
}

TEST_F(InvoiceTest, FootersWrapOnThirtyFiveCharacters) {
  bench_.Configure({{"Pie de Factura", R"("   ")"}});
  const auto blank =
      Print(R"({"pieFactura": "Vuelva pronto a la casa de la abuela, lo esperamos"})");
  EXPECT_TRUE(HasLines(blank, {Amount("TOTAL ", "0"), "", "  VUELVA PRONTO A LA CASA DE LA",
                               "       ABUELA, LO ESPERAMOS", " "}));

  bench_.Configure({{"Pie de Factura", R"("  Gracias por su visita  ")"},
                    {"Tamaño de Factura", R"("rollo 55mm")"}});
  EXPECT_TRUE(HasLines(Print(), {Amount("TOTAL ", "0", 32), "", std::string(30, '='),
                                 "GRACIAS POR SU VISITA", " "}));
}

TEST_F(InvoiceTest, StayGuestsAndDueDate) {
  bench_.Configure({{"Permanencia Factura", R"("1")"}, {"Personas Factura", R"("1")"}});
  EXPECT_TRUE(HasLines(
      Print(R"({"permanencia": 45, "nPersonas": "3",
                                 "fechaLimitePago": "2024-06-01"})"),
      {" ", "Permanencia  45  Minutos ", "Personas 3", "Fecha para pago 2024-06-01", kEq37}));
}

TEST_F(InvoiceTest, APrinterFailingWhenTheInvoiceIsDoneKeepsItForWhenItIsBack) {
  const auto good = Print();
  auto facturas = bench_.printers.Queue(u"Facturas");
  facturas->SetOffline(true, u"Impresora sin papel");
  Print();
  facturas->SetOffline(false);
  ASSERT_EQ(bench_.notifier.balloons.size(), 3u);
  EXPECT_EQ(bench_.notifier.balloons[1].icon, BalloonIcon::kError);
  EXPECT_EQ(bench_.notifier.balloons[1].title, u"Error al imprimir");
  EXPECT_EQ(bench_.notifier.balloons[1].text,
            u"Error al imprimir, La impresora Facturas no esta disponible. \r\n"
            u"Impresora sin papel Impresora sin papel");
  EXPECT_EQ(bench_.notifier.balloons[2].text, u"1 ticket esperando la impresora predeterminada");
  // The next invoice finds the printer back: the one that waited prints first, whole.
  EXPECT_EQ(Print(), good);
  const auto tickets = bench_.Tickets(u"Facturas");
  ASSERT_EQ(tickets.size(), 3u);
  EXPECT_EQ(tickets[1], good);
}

TEST_F(InvoiceTest, WrongShapesPrintNothingHalfDone) {
  const auto good = Print();
  Print(R"({"pedido": {"Valor": 1}})");
  Print(R"({"pedido": [{"Valor": 1, "NombreProducto": "Sopa", "Cantidad": "dos"}]})");
  Print(R"({"cuentaCerrada": true, "mediosPago": null})");
  Print("{}", {"impuestos"});
  ASSERT_EQ(bench_.notifier.balloons.size(), 5u);
  const std::vector<std::u16string> texts = {u"Se requiere un objeto", u"No coinciden los tipos",
                                             u"Se requiere un objeto", u"Se requiere un objeto"};
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(bench_.notifier.balloons[i + 1].text, u"No se pudo imprimir la factura: " + texts[i]);
    EXPECT_EQ(bench_.notifier.balloons[i + 1].icon, BalloonIcon::kWarning);
  }
  // Each is also handed back as the reason the job printed nothing.
  EXPECT_EQ(bench_.context.not_printed.size(), 4u);
  EXPECT_EQ(bench_.context.not_printed[1], texts[1]);
  EXPECT_EQ(Print(), good);
  EXPECT_EQ(bench_.Tickets(u"Facturas").size(), 2u);
}

}  // namespace
}  // namespace quillon::test
