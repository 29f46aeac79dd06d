#include "documents/invoice_totals.h"

#include "documents/document_values.h"
#include "documents/layout_columns.h"
#include "json/number_text.h"
#include "platform/text.h"

namespace quillon::documents {
namespace {

using json::Decimal;
using print::PrintEngine;
using print::PrintItem;

// The server sends how many coupons were used but no tip per coupon, so a coupon adds no tip.
const Decimal kTipPerCoupon(0);

Decimal Amount(const json::Value& document, std::u16string_view key) {
  return document[key].ToDecimal();
}

Decimal GrouponTip(const json::Value& document) {
  return Amount(document, u"CntGroupon") * kTipPerCoupon;
}

// An account is closed when "cuentaCerrada" reads as yes; a null is an open account.
bool IsClosed(const json::Value& document) {
  const json::Value& closed = document[u"cuentaCerrada"];
  return !closed.IsNull() && closed.ToBool();
}

bool IsDelivery(const json::Value& document) { return document[u"tipoMesa"] == u"DOMICILIO"; }

// "mesa" above 2000 is a delivery account; a table reference that is not a number counts as 0.
Decimal TableNumber(const json::Value& document) {
  const json::Value& table = document[u"mesa"];
  if (table.IsNumber()) return table.ToDecimal();
  if (table.IsText()) return json::TextToDecimal(table.ToText()).value_or(Decimal(0));
  return Decimal(0);
}

void PrintHighlightedTotal(PrintEngine& engine, const std::u16string& text) {
  print::TicketRecorder& recorder = engine.Recorder();
  recorder.SetFontSize(15);
  recorder.SetBold(true);
  PrintLine(engine, text);
  recorder.SetFontSize(engine.RollFontSize());
  recorder.SetBold(false);
}

Decimal PrintClosedTipLines(PrintEngine& engine, const PrintSettings& settings,
                            const json::Value& document) {
  const Decimal paid = Amount(document, u"totalPagado");
  const Decimal tip = Amount(document, u"totalPagadoPropina");
  if (IsAbove0(document[u"totalPagadoPropina"])) {
    PrintAmountLine(engine, u"SUB TOTAL", paid);
    if (IsDelivery(document)) {
      PrintAmountLine(engine, platform::ToUpper(settings.delivery_concept), tip);
    } else if (IsAbove0(document[u"CntGroupon"])) {
      const Decimal groupon = GrouponTip(document);
      PrintAmountLine(engine, u"PROPINA GROUPON ", groupon);
      PrintAmountLine(engine, u"PROPINA  ", tip - groupon);
    } else {
      PrintAmountLine(engine, u"PROPINA", tip);
    }
  }
  return paid + tip;
}

Decimal PrintOpenTipLines(PrintEngine& engine, const PrintSettings& settings,
                          const json::Value& document) {
  const Decimal to_pay = Amount(document, u"totalPagar");
  const Decimal discount = Amount(document, u"descuento");
  const Decimal suggested = Amount(document, u"propinaSugerida");
  PrintAmountLine(engine, u"SUB TOTAL", to_pay - discount);
  if (TableNumber(document) > Decimal(2000)) {
    PrintAmountLine(engine, platform::ToUpper(settings.delivery_concept) + u" ", suggested);
  } else if (settings.tip_option_5_and_10) {
    PrintAmountLine(engine, u"__ APRUEBA PROPINA 10% ", suggested);
    PrintAmountLine(engine, u"__ APRUEBA PROPINA 5% ", suggested / Decimal(2));
    PrintAmountLine(engine, u"__ OTRO VALOR ", std::u16string(13, u'_'));
  } else {
    PrintAmountLine(engine, u"PROPINA SUGERIDA ", suggested);
    if (IsAbove0(document[u"CntGroupon"])) {
      PrintAmountLine(engine, u"PROPINA GROUPON ", GrouponTip(document));
    }
  }
  return to_pay + suggested - discount;
}

void PrintTaxTable(PrintEngine& engine, const json::Collection& taxes) {
  const int width = engine.CharsPerLine();
  const int base_end = engine.ScaleColumn(kTaxBaseEndColumn);
  auto placed = [](std::u16string text, int end) {
    const int column = PrintEngine::RightAlignColumn(text, end);
    return std::vector<PrintItem>{PrintItem::Tab(column), PrintItem::Text(std::move(text))};
  };
  auto row = [&](std::u16string name, std::u16string base, std::u16string value) {
    std::vector<PrintItem> items{PrintItem::Text(std::move(name))};
    for (PrintItem& item : placed(std::move(base), base_end)) items.push_back(std::move(item));
    for (PrintItem& item : placed(std::move(value), width)) items.push_back(std::move(item));
    PrintLine(engine, items);
  };
  PrintLine(engine, u" ");
  engine.PrintSeparator(u"=");
  row(u"IMPUESTO", u"BASE", u"VALOR");
  for (const json::Value& tax : taxes) {
    row(platform::ToUpper(JoinText(tax[u"nombre"])), print::AmountText(tax[u"base"].ToDecimal()),
        print::AmountText(tax[u"valor"].ToDecimal()));
  }
}

}  // namespace

void PrintTotalsBlock(PrintEngine& engine, const PrintSettings& settings,
                      const json::Value& document) {
  const bool any_tip = IsAbove0(document[u"propinaSugerida"]) ||
                       IsAbove0(document[u"totalPagadoPropina"]) ||
                       IsAbove0(document[u"CntGroupon"]);
  const bool tip_condition =
      any_tip && (IsDelivery(document) || (settings.service > 0 && settings.tip_applies));
  const bool closed = IsClosed(document);

  if (tip_condition) {
    const Decimal total = closed ? PrintClosedTipLines(engine, settings, document)
                                 : PrintOpenTipLines(engine, settings, document);
    // With the 5% and 10% choice the customer writes the tip in, so no total is printed.
    if (!settings.tip_option_5_and_10) {
      if (settings.highlight_total) {
        PrintHighlightedTotal(engine, u"** TOTAL " + print::AmountText(total) + u" **");
      } else {
        PrintAmountLine(engine, u"TOTAL", total);
      }
    }
  } else if (settings.highlight_total) {
    const Decimal to_pay = Amount(document, u"totalPagar") - Amount(document, u"descuento");
    PrintHighlightedTotal(engine, u" ** TOTAL " + print::AmountText(to_pay) + u" **");
  } else if (closed) {
    PrintAmountLine(engine, u"TOTAL ", Amount(document, u"totalPagado"));
  } else {
    PrintAmountLine(engine, u"TOTAL ",
                    Amount(document, u"totalPagar") - Amount(document, u"descuento"));
  }

  const json::Collection& taxes = document[u"impuestos"].AsCollection();
  if (platform::ToUpper(settings.tax_regime) == u"COMUN" && taxes.Count() > 0) {
    PrintTaxTable(engine, taxes);
  }
}

}  // namespace quillon::documents
