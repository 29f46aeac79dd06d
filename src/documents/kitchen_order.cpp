#include "documents/document_values.h"
#include "documents/documents.h"
#include "documents/order_tickets.h"

namespace quillon::documents {
namespace {

using print::Align;
using print::PrintItem;

void PrintCustomerAndPlatform(print::PrintEngine& engine, const json::Value& order) {
  const int width = engine.CharsPerLine();
  engine.Recorder().SetFontSize(engine.RollFontSize());
  if (IsNotEmpty(order[u"clienteNombre"])) {
    engine.PrintSeparator(u"=");
    engine.PrintWrapped(u"DATOS CLIENTE", width, Align::kLeft);
    engine.PrintWrapped(u"Nombre: " + JoinText(order[u"clienteNombre"]), width, Align::kLeft);
    engine.PrintWrapped(u"Telefono: " + JoinText(order[u"clienteTelefono"]), width, Align::kLeft);
    engine.PrintWrappedToSeparator(u"Direccion: " + JoinText(order[u"clienteDireccion"]),
                                   Align::kLeft);
  }
  engine.Recorder().SetFontSize(12);
  if (IsNotEmpty(order[u"codPlataforma"])) {
    engine.PrintSeparator(u"=");
    engine.PrintWrapped(order[u"codPlataforma"].ToText(), width, Align::kLeft);
  }
}

void PrintTicket(DocumentContext& context, const json::Value& order) {
  print::PrintEngine& engine = context.engine;
  print::TicketRecorder& recorder = engine.Recorder();
  const int width = engine.CharsPerLine();
  if (!order[u"titulo"].IsNull()) {
    recorder.SetFontSize(engine.RollFontSize());
    engine.PrintWrappedToSeparator(order[u"titulo"].ToText(), Align::kCentre);
    engine.PrintSeparator(u"=");
  }
  recorder.SetFontSize(engine.RollFontSize());
  engine.PrintWrappedToSeparator(order[u"area"].ToText(), Align::kCentre);
  recorder.SetBold(false);
  recorder.SetItalic(false);
  recorder.SetFontName(kOrderFont);
  engine.PrintSeparator(u"=");
  recorder.SetFontSize(16);
  PrintLine(engine, ValueItems(order[u"nomMesa"]));
  engine.PrintSeparator(u"=");
  recorder.SetFontSize(12);

  json::Decimal total;
  PrintOrderProducts(engine, order[u"productos"], true, total);
  if (engine.ConfigValue(u"Valores En Comanda") == u"1") {
    engine.PrintWrapped(u"TOTAL   " + total.ToText(), width, Align::kLeft);
  }
  recorder.SetFontSize(12);
  engine.PrintSeparator(u"=");
  engine.PrintWrappedToSeparator(u"Atiende: " + JoinText(order[u"responsable"]), Align::kLeft);
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
