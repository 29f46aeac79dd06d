#include "documents/invoice_items.h"

#include "documents/document_values.h"
#include "documents/layout_columns.h"
#include "platform/text.h"

namespace quillon::documents {
namespace {

using print::Align;
using print::PrintEngine;
using print::PrintItem;

// Modifiers and notes of an item travel as one text, separated by this exact tag.
constexpr std::u16string_view kDetailSeparator = u"<br/>";

void PrintDetails(PrintEngine& engine, const std::u16string& details) {
  std::size_t start = 0;
  while (true) {
    const std::size_t end = details.find(kDetailSeparator, start);
    const std::u16string piece = details.substr(start, end - start);
    if (!platform::TrimBlanks(piece).empty()) {
      engine.PrintWrappedToSeparator(u"-> " + piece, Align::kLeft);
    }
    if (end == std::u16string::npos) break;
    start = end + kDetailSeparator.size();
  }
}

void PrintSoldItem(PrintEngine& engine, const json::Value& item) {
  const int width = engine.CharsPerLine();
  const json::Decimal value = item[u"Valor"].ToDecimal();
  const std::u16string name = item[u"NombreProducto"].ToText();
  const auto cut = static_cast<std::size_t>(
      PrintEngine::FittingLength(name, engine.ScaleColumn(kInvoiceItemNameWidth)));
  const std::u16string amount = print::AmountText(value);
  PrintLine(engine, {PrintItem::Number(item[u"Cantidad"].ToDecimal().Abs()),
                     PrintItem::Tab(engine.ScaleColumn(kInvoiceItemNameColumn)),
                     PrintItem::Text(name.substr(0, cut)),
                     PrintItem::Tab(PrintEngine::RightAlignColumn(amount, width)),
                     PrintItem::Text(amount)});
  if (name.size() > cut)
    engine.PrintWrapped(name.substr(cut), width, Align::kLeft, kNameContinuationColumn);
  const json::Value& details = item[u"Detalle"];
  if (!details.IsNull()) PrintDetails(engine, details.ToText());
}

}  // namespace

void PrintInvoiceItems(PrintEngine& engine, const json::Value& items) {
  const json::Collection& list = items.AsCollection();
  const int width = engine.CharsPerLine();
  engine.Recorder().SetFontName(kInvoiceFont);
  engine.PrintSeparator(u"=");
  PrintLine(
      engine,
      {PrintItem::Text(u"CANT"), PrintItem::Tab(engine.ScaleColumn(kInvoiceProductHeadingColumn)),
       PrintItem::Text(u"PRODUCTO"), PrintItem::Tab(PrintEngine::RightAlignColumn(u"TOTAL", width)),
       PrintItem::Text(u"TOTAL")});
  PrintLine(engine, std::vector<PrintItem>{});
  for (const json::Value& item : list) {
    // Free and returned items are not billed, so they are not shown.
    if (!IsAbove0(item[u"Valor"])) continue;
    PrintSoldItem(engine, item);
  }
  engine.PrintSeparator(u"=");
}

}  // namespace quillon::documents
