#include "documents/print_settings.h"

#include <limits>

#include "json/number_text.h"
#include "platform/text.h"

namespace quillon::documents {
namespace {

// "Servicio": a number under the "," convention, rounded halves to even; anything else is 0.
std::int16_t ServiceValue(std::u16string_view text) {
  if (!json::IsNumericText(text)) return 0;
  const auto number = json::TextToDecimal(text);
  if (!number) throw platform::Failure::Overflow();
  const json::Decimal whole = number->RoundHalfEven(0);
  if (whole < json::Decimal(std::numeric_limits<std::int16_t>::min()) ||
      whole > json::Decimal(std::numeric_limits<std::int16_t>::max())) {
    throw platform::Failure::Overflow();
  }
  return static_cast<std::int16_t>(whole.ToInt64());
}

}  // namespace

void LoadPrintSettings(const print::PrintEngine& engine, PrintSettings& s) {
  auto text = [&engine](const char16_t* name) { return engine.ConfigValue(name); };
  auto flag = [&engine](const char16_t* name) { return engine.ConfigValue(name) == u"1"; };
  auto or_default = [](const std::u16string& value, const char16_t* fallback) {
    return value.empty() ? std::u16string(fallback) : value;
  };

  // Field by field in this order: a failing row leaves the fields after it as they were.
  s.legalRepName = text(u"Nombre Representante Legal");
  s.legalRepSurname1 = text(u"Apellido 1 Representante Legal");
  s.legalRepSurname2 = text(u"Apellido 2 Representante Legal");
  s.businessName = text(u"Nombre Establecimiento");
  s.economicActivity = text(u"Actividad Economica");
  s.idType = text(u"Tipo Identificacion");
  s.invoicePrefix = text(u"Factura Prefijo");
  s.idNumber = text(u"Numero Identificacion");
  s.dianResolution = text(u"Resolucion Dian Facturacion");
  s.dianResolutionDate = text(u"Resolucion Dian Fecha");
  s.firstInvoiceNumber = text(u"Factura Inicial");
  s.lastInvoiceNumber = text(u"Factura Final");
  s.taxRegime = text(u"Regimen");
  s.economicActivityCode = text(u"Codigo Actividad Economica");
  s.address = text(u"Direccion");
  s.phone1 = text(u"Telefono 1");
  s.invoiceFooter = text(u"Pie de Factura");
  s.invoiceHeader = text(u"Encabezado de Factura");
  s.tipLegend = flag(u"Imprimie Leyenda Propina Cuenta");
  s.customerSpace = flag(u"Imprimie Espacio Cliente Cuenta");
  s.showTime = flag(u"Hora Factura");
  s.showStay = flag(u"Permanencia Factura");
  s.showGuests = flag(u"Personas Factura");
  s.showWaiterName = flag(u"Nombre Mesero Factura");
  s.highlightTotal = flag(u"ResaltarTotal Cuenta");
  s.service = ServiceValue(text(u"Servicio"));
  const std::u16string tip = text(u"Propina");
  s.tipApplies = tip == u"Aplica" || tip == u"1";
  s.sellerTitle = or_default(text(u"Titulo del Vendedor"), u"Mesero");
  s.closedInvoiceName =
      or_default(text(u"Nombre factura cerrada"),
                 platform::ToUpper(s.taxRegime) == u"COMUN" ? u"Factura" : u"Boleto Fiscal");
  s.tipOption5and10 = flag(u"Opcion Propina 5% y 10%");
  s.deliveryConcept = or_default(text(u"Concepto Domicilio"), u"Domicilio");
}

}  // namespace quillon::documents
