#include "document_bench.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "adapters/spool/ticket_text.h"
#include "platform/text.h"

namespace quillon::test {
namespace {

using platform::Utf8ToUtf16;

json::Value Convert(const nlohmann::ordered_json& node) {
  switch (node.type()) {
    case nlohmann::ordered_json::value_t::null:
      return json::Value::Null();
    case nlohmann::ordered_json::value_t::boolean:
      return json::Value(node.get<bool>());
    case nlohmann::ordered_json::value_t::string:
      return json::Value(Utf8ToUtf16(node.get<std::string>()));
    case nlohmann::ordered_json::value_t::number_integer:
    case nlohmann::ordered_json::value_t::number_unsigned:
    case nlohmann::ordered_json::value_t::number_float: {
      const auto number = json::Decimal::Parse(Utf8ToUtf16(node.dump()), u'.');
      if (!number) throw std::runtime_error("numero no exacto en la prueba: " + node.dump());
      return json::Value(*number);
    }
    case nlohmann::ordered_json::value_t::object: {
      json::Value object = json::NewObject();
      for (const auto& [key, member] : node.items()) {
        object.AsDictionary().Add(Utf8ToUtf16(key), Convert(member));
      }
      return object;
    }
    case nlohmann::ordered_json::value_t::array: {
      json::Value array = json::NewArray();
      for (const auto& element : node) array.AsCollection().Add(Convert(element));
      return array;
    }
    default:
      return json::Value();
  }
}

}  // namespace

json::Value JsonValue(std::string_view text) {
  return Convert(nlohmann::ordered_json::parse(text));
}

json::Value Rows(const std::vector<Row>& rows) {
  std::string text = "[";
  for (const Row& row : rows) {
    if (text.size() > 1) text += ",";
    text += "{\"Nombre\":" + nlohmann::json(row.name).dump() + ",\"Descripcion\":" + row.value +
            ",\"Visible\":" + row.visible + "}";
  }
  return JsonValue(text + "]");
}

std::vector<std::string> TicketLines(const platform::Ticket& ticket) {
  std::vector<std::string> lines;
  for (const std::u16string& line : adapters::spool::TicketTextLines(ticket)) {
    lines.push_back(platform::Utf16ToUtf8(line));
  }
  return lines;
}

FakePrinterSystem& DocumentBench::InstallPrinters(FakePrinterSystem& system) {
  system.AddPrinter(u"Cocina");
  system.AddPrinter(u"Bar");
  system.AddPrinter(u"Facturas");
  system.SetDefaultName(u"Facturas");
  return system;
}

std::vector<std::vector<std::string>> DocumentBench::Tickets(const std::u16string& printer) const {
  std::vector<std::vector<std::string>> tickets;
  for (const platform::Ticket& ticket : printers.Queue(printer)->tickets) {
    tickets.push_back(TicketLines(ticket));
  }
  return tickets;
}

std::vector<std::string> DocumentBench::OnlyTicket(const std::u16string& printer) const {
  const auto tickets = Tickets(printer);
  EXPECT_EQ(tickets.size(), 1u) << platform::Utf16ToUtf8(printer);
  return tickets.empty() ? std::vector<std::string>{} : tickets.front();
}

int DocumentBench::TicketCount() const {
  int count = 0;
  for (const char16_t* name : {u"Cocina", u"Bar", u"Facturas"}) {
    count += static_cast<int>(printers.Queue(name)->tickets.size());
  }
  return count;
}

void DocumentBench::KitchenOrder(std::string_view orders_json) {
  json::Value orders = JsonValue(orders_json);
  documents::PrintKitchenOrder(context, orders.AsCollection());
}

void DocumentBench::Cancellation(std::string_view orders_json) {
  json::Value orders = JsonValue(orders_json);
  documents::PrintCancellation(context, orders.AsCollection());
}

void DocumentBench::Invoice(std::string_view document_json) {
  documents::PrintInvoice(context, JsonValue(document_json));
}

}  // namespace quillon::test

namespace quillon::test {

std::string InvoiceJson(std::string_view overrides, const std::vector<std::string>& absent) {
  nlohmann::ordered_json document = nlohmann::ordered_json::parse(R"({
    "mesa": 5, "tipoCuenta": "", "idFacturaCuenta": 100, "nomMesa": "Mesa 5",
    "fechaFactura": "2024-05-17", "horaFactura": "20:00", "vendedor": "Ana", "pedido": [],
    "descuento": 0, "totalPagar": 0, "DescuentoIndividual": 0, "cuentaCerrada": false,
    "mediosPago": [], "totalPagado": 0, "totalPagadoPropina": 0, "pagoEfectivo": 0,
    "cambioEfectivo": 0, "tipoMesa": "MESA", "cliente": null, "detalleDomicilio": "",
    "propinaSugerida": 0, "pieFactura": "", "permanencia": 0, "nPersonas": 0,
    "fechaLimitePago": "", "CntGroupon": 0, "impuestos": []})");
  const nlohmann::ordered_json changes = nlohmann::ordered_json::parse(overrides);
  for (const auto& [key, value] : changes.items()) document[key] = value;
  for (const std::string& key : absent) document.erase(key);
  return document.dump();
}

bool HasLines(const std::vector<std::string>& lines, const std::vector<std::string>& expected) {
  return std::search(lines.begin(), lines.end(), expected.begin(), expected.end()) != lines.end();
}

}  // namespace quillon::test
