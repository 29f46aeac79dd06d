#include "documents/document_values.h"

#include "platform/printer_system.h"
#include "platform/text.h"

namespace quillon::documents {

bool IsNotEmpty(const json::Value& value) {
  return !value.IsNull() && !(value == std::u16string_view(u""));
}

bool DiffersFrom(const json::Value& value, std::u16string_view text) {
  return !value.IsNull() && !(value == text);
}

bool IsAbove0(const json::Value& value) {
  return !value.IsNull() && value.ToDecimal() > json::Decimal(0);
}

std::u16string JoinText(const json::Value& value) {
  return value.IsNull() ? std::u16string() : value.ToText();
}

std::vector<print::PrintItem> ValueItems(const json::Value& value) {
  if (value.IsNull() || value.IsEmpty()) return {};
  if (value.IsNumber()) return {print::PrintItem::Number(value.ToDecimal())};
  return {print::PrintItem::Text(value.ToText())};
}

void PrintLine(print::PrintEngine& engine, const std::vector<print::PrintItem>& items) {
  engine.Recorder().Print(items);
}

void PrintLine(print::PrintEngine& engine, std::u16string text) {
  engine.Recorder().Print({print::PrintItem::Text(std::move(text))});
}

void PrintAmountLine(print::PrintEngine& engine, std::u16string label,
                     const std::u16string& amount) {
  engine.Recorder().Print(
      {print::PrintItem::Text(std::move(label)),
       print::PrintItem::Tab(print::PrintEngine::RightAlignColumn(amount, engine.CharsPerLine())),
       print::PrintItem::Text(amount)});
}

void PrintAmountLine(print::PrintEngine& engine, std::u16string label,
                     const json::Decimal& amount) {
  PrintAmountLine(engine, std::move(label), print::AmountText(amount));
}

void CancelDocument(DocumentContext& context, const std::u16string& text,
                    const std::u16string& title) {
  context.engine.CancelTicket();
  context.notifier.ShowBalloonTip(text, platform::BalloonIcon::kWarning, title, kBalloonTimeoutMs);
}

}  // namespace quillon::documents
