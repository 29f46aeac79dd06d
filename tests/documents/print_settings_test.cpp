#include "documents/print_settings.h"

#include "print/engine_fixture.h"

namespace quillon::test {
namespace {

using json::Value;

class SettingsTest : public EngineTest {
 protected:
  void Load() { documents::LoadPrintSettings(Engine(), settings_); }
  documents::PrintSettings settings_;
};

TEST_F(SettingsTest, LookupTakesTheFirstExactMatch) {
  SetRows({{u"Servicio", u"10"}, {u"Servicio", u"5"}, {u"servicio", u"7"}, {u"Propina ", u"1"}});
  EXPECT_EQ(Engine().ConfigValue(u"Servicio"), u"10");
  EXPECT_EQ(Engine().ConfigValue(u"SERVICIO"), u"");
  EXPECT_EQ(Engine().ConfigValue(u"Propina"), u"");
  EXPECT_EQ(Engine().ConfigValue(u"Falta"), u"");
  Load();
  EXPECT_EQ(settings_.service, 10);
}

TEST_F(SettingsTest, NumbersReadAsTextWithTheCommaMark) {
  SetRows({{u"Valor", json::Decimal::FromParts(125, 1)}, {u"Sin valor", Value()}});
  EXPECT_EQ(Engine().ConfigValue(u"Valor"), u"12,5");
  EXPECT_EQ(Engine().ConfigValue(u"Sin valor"), u"");
}

TEST_F(SettingsTest, EveryCallSeesTheLatestRows) {
  SetRows({{u"Regimen", u"Comun"}});
  EXPECT_EQ(Engine().ConfigValue(u"Regimen"), u"Comun");
  SetRows({{u"Regimen", u"Simplificado"}});
  EXPECT_EQ(Engine().ConfigValue(u"Regimen"), u"Simplificado");
}

TEST_F(SettingsTest, VisibleOnlyForTextOrNumberOne) {
  SetRows({{u"A", u"x", u"1"},
           {u"B", u"x", 1},
           {u"C", u"x", 0},
           {u"D", u"x", u"si"},
           {u"E", u"x", true},
           {u"F", u"x"},
           {u"G", u"x", Value::Null()},
           {u"A", u"x", u"0"}});
  EXPECT_TRUE(Engine().ConfigVisible(u"A"));
  EXPECT_TRUE(Engine().ConfigVisible(u"B"));
  for (const char16_t* name : {u"C", u"D", u"E", u"F", u"G", u"Z"}) {
    EXPECT_FALSE(Engine().ConfigVisible(name)) << platform::Utf16ToUtf8(name);
  }
}

TEST_F(SettingsTest, NullDescriptionAndNonObjectRowsRaise) {
  SetRows({{u"Regimen", Value::Null()}});
  EXPECT_THROW(Engine().ConfigValue(u"Regimen"), platform::Failure);
  EXPECT_THROW(Load(), platform::Failure);

  Value rows = json::NewArray();
  rows.AsCollection().Add(Value(u"texto suelto"));
  Engine().SetSettingsRows(rows);
  try {
    Engine().ConfigVisible(u"Regimen");
    FAIL() << "a row that is not an object must raise";
  } catch (const platform::Failure& error) {
    EXPECT_EQ(error.Number(), 424);
  }
}

TEST_F(SettingsTest, ServiceRoundsHalvesToEven) {
  const std::vector<std::pair<Value, int>> cases = {{u"10", 10},   {u"10,5", 10}, {u"11,5", 12},
                                                    {u"-2,5", -2}, {u"diez", 0},  {u"", 0},
                                                    {Value(), 0},  {Value(9), 9}, {u"1.000", 1000}};
  for (const auto& [text, expected] : cases) {
    SetRows({{u"Servicio", text}});
    Load();
    EXPECT_EQ(settings_.service, expected) << platform::Utf16ToUtf8(text.ToText());
  }
}

TEST_F(SettingsTest, ServiceOutsideSixteenBitsRaisesOverflow) {
  SetRows({{u"Servicio", u"32767,4"}});
  Load();
  EXPECT_EQ(settings_.service, 32767);
  SetRows({{u"Servicio", u"32767,5"}});
  try {
    Load();
    FAIL() << "32768 does not fit";
  } catch (const platform::Failure& error) {
    EXPECT_EQ(error.Number(), 6);
  }
  SetRows({{u"Servicio", u"-32768,5"}});
  Load();
  EXPECT_EQ(settings_.service, -32768);
}

TEST_F(SettingsTest, FlagsAreTrueOnlyForExactlyOne) {
  const std::vector<Value> not_one = {u"01", u" 1", u"1 ", true, u"si", u"True", Value(2)};
  for (const Value& value : not_one) {
    SetRows({{u"Hora Factura", value}, {u"ResaltarTotal Cuenta", value}});
    Load();
    EXPECT_FALSE(settings_.show_time) << platform::Utf16ToUtf8(value.ToText());
    EXPECT_FALSE(settings_.highlight_total);
  }
  SetRows({{u"Hora Factura", u"1"}, {u"ResaltarTotal Cuenta", Value(1)}});
  Load();
  EXPECT_TRUE(settings_.show_time);
  EXPECT_TRUE(settings_.highlight_total);
}

TEST_F(SettingsTest, TipAppliesForAplicaOrOneOnly) {
  const std::vector<std::pair<Value, bool>> cases = {{u"Aplica", true},  {u"1", true},
                                                     {Value(1), true},   {u"aplica", false},
                                                     {u"APLICA", false}, {u"si", false}};
  for (const auto& [value, expected] : cases) {
    SetRows({{u"Propina", value}});
    Load();
    EXPECT_EQ(settings_.tip_applies, expected) << platform::Utf16ToUtf8(value.ToText());
  }
}

TEST_F(SettingsTest, DefaultsForMissingTexts) {
  SetRows({{u"Regimen", u"comun"}});
  Load();
  const documents::PrintSettings& s = settings_;
  EXPECT_EQ(s.seller_title, u"Mesero");
  EXPECT_EQ(s.delivery_concept, u"Domicilio");
  EXPECT_EQ(s.closed_invoice_name, u"Factura");
  EXPECT_EQ(s.tax_regime, u"comun");

  SetRows({{u"Regimen", u"Simplificado"}});
  Load();
  EXPECT_EQ(settings_.closed_invoice_name, u"Boleto Fiscal");

  SetRows({{u"Regimen", u"Comun"},
           {u"Nombre factura cerrada", u"Factura de venta"},
           {u"Titulo del Vendedor", u"Cajero"},
           {u"Concepto Domicilio", u"Envio"}});
  Load();
  EXPECT_EQ(settings_.closed_invoice_name, u"Factura de venta");
  EXPECT_EQ(settings_.seller_title, u"Cajero");
  EXPECT_EQ(settings_.delivery_concept, u"Envio");
}

TEST_F(SettingsTest, ReloadAssignsEveryField) {
  SetRows({{u"Nombre Establecimiento", u"La Casona"},
           {u"Personas Factura", u"1"},
           {u"Servicio", u"8"},
           {u"Factura Prefijo", u"FE"}});
  Load();
  EXPECT_EQ(settings_.business_name, u"La Casona");
  EXPECT_EQ(settings_.invoice_prefix, u"FE");
  SetRows({});
  Load();
  EXPECT_EQ(settings_.business_name, u"");
  EXPECT_EQ(settings_.invoice_prefix, u"");
  EXPECT_FALSE(settings_.show_guests);
  EXPECT_EQ(settings_.service, 0);
}

}  // namespace
}  // namespace quillon::test
