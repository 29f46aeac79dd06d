#include "documents/order_tickets.h"

#include "documents/document_values.h"
#include "documents/layout_columns.h"
#include "platform/text.h"

namespace quillon::documents {
namespace {

using print::Align;
using print::PrintItem;

void ResetProductFont(print::TicketRecorder& recorder) {
  recorder.SetBold(false);
  recorder.SetItalic(false);
  recorder.SetFontName(kOrderFont);
}

// Quantity, the leading words of the name from its column and the value ending in column W - 1;
// the rest of a long name goes below.
void PrintValuedProduct(print::PrintEngine& engine, const json::Value& product,
                        const std::u16string& name, const json::Decimal& quantity) {
  const int cut =
      print::PrintEngine::FittingLength(name, engine.ScaleColumn(kOrderProductNameWidth));
  const std::u16string amount = print::AmountText(product[u"valor"].ToDecimal());
  const int width = engine.CharsPerLine();
  PrintLine(engine, {PrintItem::Number(quantity),
                     PrintItem::Tab(engine.ScaleColumn(kOrderProductNameColumn)),
                     PrintItem::Text(name.substr(0, static_cast<std::size_t>(cut))),
                     PrintItem::Tab(print::PrintEngine::RightAlignColumn(amount, width)),
                     PrintItem::Text(amount)});
  if (name.size() > static_cast<std::size_t>(cut)) {
    engine.PrintWrapped(name.substr(static_cast<std::size_t>(cut)), width, Align::kLeft,
                        kNameContinuationColumn);
  }
}

void PrintNotes(print::PrintEngine& engine, const json::Value& notes) {
  for (const json::Value& note : notes.AsCollection()) {
    if (note.IsNull()) continue;
    const std::u16string text = note.ToText();
    if (platform::TrimBlanks(text).empty()) continue;
    engine.PrintWrappedToSeparator(u"-> " + text, Align::kLeft);
  }
}

}  // namespace

bool AnyOrderBoxChecked(const PrintOptions& options) {
  return options.IsChecked(PrintOption::kTable) || options.IsChecked(PrintOption::kCounter) ||
         options.IsChecked(PrintOption::kDelivery);
}

bool LeftOutByOptions(const PrintOptions& options, const json::Value& order) {
  const json::Value& kind = order[u"tipoMesa"];
  return (!options.IsChecked(PrintOption::kTable) && kind == u"MESA") ||
         (!options.IsChecked(PrintOption::kCounter) && kind == u"MOSTRADOR") ||
         (!options.IsChecked(PrintOption::kDelivery) && kind == u"DOMICILIO");
}

void PrintOrderProducts(print::PrintEngine& engine, const json::Value& products, bool with_values,
                        json::Decimal& total) {
  print::TicketRecorder& recorder = engine.Recorder();
  int printed = 0;
  for (const json::Value& product : products.AsCollection()) {
    ResetProductFont(recorder);
    if (!IsNotEmpty(product[u"nombre"])) continue;
    recorder.SetFontSize(12);
    if (printed > 0) engine.PrintSeparator(u"-");
    const std::u16string name = product[u"nombre"].ToText();
    const json::Decimal quantity = product[u"cantidad"].ToDecimal().Abs();
    if (with_values && engine.ConfigValue(u"Valores En Comanda") == u"1") {
      PrintValuedProduct(engine, product, name, quantity);
      total += product[u"valor"].ToDecimal();
    } else {
      engine.PrintWrappedToSeparator(quantity.ToText() + u"   " + name, Align::kLeft);
    }
    PrintNotes(engine, product[u"detalle"]);
    ++printed;
  }
}

void FinishOrderTicket(DocumentContext& context) {
  PrintLine(context.engine, u" ");
  PrintLine(context.engine, u".");
  const print::Delivery delivery = context.printing.Print(context.engine.EndTicket());
  if (!delivery.sent) return;  // it waits for its printer, and the print service says so
  context.notifier.ShowBalloonTip(u"Comanda enviada a " + delivery.printer,
                                  platform::BalloonIcon::kInformation, u"Impresion de comanda",
                                  kBalloonTimeoutMs);
}

}  // namespace quillon::documents
