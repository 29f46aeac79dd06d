#include "documents/document_values.h"
#include "documents/documents.h"
#include "documents/order_tickets.h"

namespace quillon::documents {
namespace {

using print::PrintItem;

void PrintCustomerAndPlatform(print::PrintEngine& engine, const json::Value& order) {
  const int width = engine.CharsPerLine();
  int measured = 0;
  engine.Canvas().SetFontSize(engine.RollFontSize());
  if (IsNotEmpty(order[u"clienteNombre"])) {
    engine.PrintSeparator(u"=");
    engine.PrintWrapped(u"DATOS CLIENTE", width, 0, 0);
    engine.PrintWrapped(u"Nombre: " + JoinText(order[u"clienteNombre"]), width, 0, 0);
    engine.PrintWrapped(u"Telefono: " + JoinText(order[u"clienteTelefono"]), width, 0, 0);
    engine.PrintWrappedMeasured(u"Direccion: " + JoinText(order[u"clienteDireccion"]), measured, 0,
                                0);
  }
  engine.Canvas().SetFontSize(12);
  if (IsNotEmpty(order[u"codPlataforma"])) {
    engine.PrintSeparator(u"=");
    engine.PrintWrapped(order[u"codPlataforma"].ToText(), width, 0, 0);
  }
}

void PrintTicket(DocumentContext& context, const json::Value& order) {
  print::PrintEngine& engine = context.engine;
  print::TicketRecorder& printer = engine.Canvas();
  const int width = engine.CharsPerLine();
  int measured = 0;
  if (!order[u"titulo"].IsNull()) {
    printer.SetFontSize(engine.RollFontSize());
    engine.PrintWrappedMeasured(order[u"titulo"].ToText(), measured, 2, 0);
    engine.PrintSeparator(u"=");
  }
  printer.SetFontSize(engine.RollFontSize());
  engine.PrintWrappedMeasured(order[u"area"].ToText(), measured, 2, 0);
  printer.SetBold(false);
  printer.SetItalic(false);
  printer.SetFontName(kOrderFont);
  engine.PrintSeparator(u"=");
  printer.SetFontSize(16);
  PrintLine(engine, ValueItems(order[u"nomMesa"]));
  engine.PrintSeparator(u"=");
  printer.SetFontSize(12);

  json::Decimal total;
  PrintOrderProducts(engine, order[u"productos"], true, total);
  if (engine.ConfigValue(u"Valores En Comanda") == u"1") {
    engine.PrintWrapped(u"TOTAL   " + total.ToText(), width, 1, 0);
  }
  printer.SetFontSize(12);
  engine.PrintSeparator(u"=");
  engine.PrintWrappedMeasured(u"Atiende: " + JoinText(order[u"responsable"]), measured, 0, 0);
  PrintLine(engine, u"Pedido " + JoinText(order[u"nPedido"]));
  PrintLine(engine, u"Fecha\\Hora: ");
  PrintLine(engine, ValueItems(order[u"fecha"]));
  PrintCustomerAndPlatform(engine, order);
  FinishOrderTicket(context);
}

}  // namespace

void PrintKitchenOrder(DocumentContext& context, const json::Collection& orders) {
  print::PrintEngine& engine = context.engine;
  if (!AnyOrderBoxChecked(context.options)) return;
  for (const json::Value& order : orders) {
    // A failing order is cancelled and reported; the areas after it still get their tickets.
    try {
      if (LeftOutByOptions(context.options, order)) continue;
      const json::Value& area = order[u"area"];
      if (area.IsNull()) {
        context.not_printed.push_back(u"un pedido trae \"area\" nulo");
        continue;
      }
      if (area == u"NN" || area == u"") continue;
      engine.BeginTicket(area.ToText(), u"comanda");
      PrintTicket(context, order);
    } catch (const std::exception& failure) {
      CancelDocument(context, platform::FailureDescription(failure), u"Comanda");
      context.not_printed.push_back(u"un pedido no se pudo imprimir (" +
                                    platform::FailureDescription(failure) + u")");
    }
  }
}

}  // namespace quillon::documents
