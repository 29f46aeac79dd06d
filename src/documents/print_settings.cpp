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
  s.legal_rep_name = text(u"Nombre Representante Legal");
  s.legal_rep_surname1 = text(u"Apellido 1 Representante Legal");
  s.legal_rep_surname2 = text(u"Apellido 2 Representante Legal");
  s.business_name = text(u"Nombre Establecimiento");
  s.economic_activity = text(u"Actividad Economica");
  s.id_type = text(u"Tipo Identificacion");
  s.invoice_prefix = text(u"Factura Prefijo");
  s.id_number = text(u"Numero Identificacion");
  s.dian_resolution = text(u"Resolucion Dian Facturacion");
  s.dian_resolution_date = text(u"Resolucion Dian Fecha");
  s.first_invoice_number = text(u"Factura Inicial");
  s.last_invoice_number = text(u"Factura Final");
  s.tax_regime = text(u"Regimen");
  s.economic_activity_code = text(u"Codigo Actividad Economica");
  s.address = text(u"Direccion");
  s.phone1 = text(u"Telefono 1");
  s.invoice_footer = text(u"Pie de Factura");
  s.invoice_header = text(u"Encabezado de Factura");
  s.tip_legend = flag(u"Imprimie Leyenda Propina Cuenta");
  s.customer_space = flag(u"Imprimie Espacio Cliente Cuenta");
  s.show_time = flag(u"Hora Factura");
  s.show_stay = flag(u"Permanencia Factura");
  s.show_guests = flag(u"Personas Factura");
  s.show_waiter_name = flag(u"Nombre Mesero Factura");
  s.highlight_total = flag(u"ResaltarTotal Cuenta");
  s.service = ServiceValue(text(u"Servicio"));
  const std::u16string tip = text(u"Propina");
  s.tip_applies = tip == u"Aplica" || tip == u"1";
  s.seller_title = or_default(text(u"Titulo del Vendedor"), u"Mesero");
  s.closed_invoice_name =
      or_default(text(u"Nombre factura cerrada"),
                 platform::ToUpper(s.tax_regime) == u"COMUN" ? u"Factura" : u"Boleto Fiscal");
  s.tip_option_5_and_10 = flag(u"Opcion Propina 5% y 10%");
  s.delivery_concept = or_default(text(u"Concepto Domicilio"), u"Domicilio");
}

}  // namespace quillon::documents
