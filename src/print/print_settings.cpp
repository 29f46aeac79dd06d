#include <limits>

#include "json/number_text.h"
#include "platform/text.h"
#include "print/engine_state.h"

namespace quillon::print {
namespace {

// The first row whose "Nombre" is exactly `name`; nullptr when none. A row that is not an
// object raises, as reading a member of it would.
const json::Dictionary* FindRow(const json::Value& rows, std::u16string_view name) {
  if (!rows.IsCollection()) return nullptr;
  const json::Value wanted{std::u16string(name)};
  for (const json::Value& row : rows.AsCollection()) {
    const json::Dictionary& fields = row.AsDictionary();
    const json::Value* row_name = fields.Find(u"Nombre");
    const json::Value nombre = row_name ? *row_name : json::Value();
    if (nombre.LooseEquals(wanted)) return &fields;
  }
  return nullptr;
}

json::Value Member(const json::Dictionary& row, std::u16string_view key) {
  const json::Value* value = row.Find(key);
  return value ? *value : json::Value();
}

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

std::u16string PrintEngine::ConfigValue(std::u16string_view name) const {
  const json::Dictionary* row = FindRow(state_->rows, name);
  return row ? Member(*row, u"Descripcion").ToText() : std::u16string();
}

bool PrintEngine::ConfigVisible(std::u16string_view name) const {
  const json::Dictionary* row = FindRow(state_->rows, name);
  return row && Member(*row, u"Visible").LooseEquals(json::Value(u"1"));
}

void PrintEngine::LoadPrintSettings() {
  PrintSettings& s = state_->settings;
  auto text = [this](const char16_t* name) { return ConfigValue(name); };
  auto flag = [this](const char16_t* name) { return ConfigValue(name) == u"1"; };
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

}  // namespace quillon::print
