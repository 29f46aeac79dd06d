#include "documents/document_values.h"
#include "documents/documents.h"
#include "documents/order_tickets.h"
#include "platform/text.h"

namespace quillon::documents {
namespace {

void PrintTicket(DocumentContext& context, const json::Value& order) {
  print::PrintEngine& engine = context.engine;
  print::TicketRecorder& recorder = engine.Recorder();
  engine.PrintWrappedToSeparator(order[u"area"].ToText(), print::Align::kCentre);
  recorder.SetBold(false);
  recorder.SetItalic(false);
  recorder.SetFontName(kOrderFont);
  engine.PrintSeparator(u"=");
  recorder.SetFontSize(16);
  PrintLine(engine, u"A N U L A C I O N!!");
  PrintLine(engine, ValueItems(order[u"nomMesa"]));
  engine.PrintSeparator(u"=");
  recorder.SetFontSize(12);
  json::Decimal unused_total;
  PrintOrderProducts(engine, order[u"productos"], false, unused_total);
  recorder.SetFontSize(12);
  engine.PrintSeparator(u"=");
  PrintLine(engine, u"Fecha\\Hora: ");
  PrintLine(engine, platform::Utf8ToUtf16(platform::DateTimeText(context.clock.Now())));
  recorder.SetFontSize(engine.RollFontSize());
  FinishOrderTicket(context);
}

}  // namespace

void PrintCancellation(DocumentContext& context, const json::Collection& orders) {
  print::PrintEngine& engine = context.engine;
  if (!AnyOrderBoxChecked(context.options)) return;
  engine.Recorder().SetFontSize(engine.RollFontSize());
  for (const json::Value& order : orders) {
    try {
      if (LeftOutByOptions(context.options, order)) continue;
      engine.BeginTicket(order[u"area"].ToText(), u"anulacion");
      PrintTicket(context, order);
    } catch (const std::exception& failure) {
      CancelDocument(context,
                     u"No se pudo imprimir la anulación: " + platform::FailureDescription(failure),
                     u"Error al imprimir");
      context.not_printed.push_back(u"un pedido no se pudo imprimir (" +
                                    platform::FailureDescription(failure) + u")");
    }
  }
}

}  // namespace quillon::documents
