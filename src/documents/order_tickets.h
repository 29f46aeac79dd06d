#pragma once
// What the kitchen order and the cancellation ticket share: the option boxes that gate them, the
// kinds of sale the boxes leave out, and the product lines.
#include "documents/documents.h"
#include "json/decimal.h"
#include "json/value.h"

namespace quillon::documents {

inline constexpr char16_t kOrderFont[] = u"Courier 17 CPI";

// True when at least one of the boxes "Mesa", "Mostrador", "Domicilio" is checked.
bool AnyOrderBoxChecked(const PrintOptions& options);
// True when the order's "tipoMesa" is a kind of sale whose box is clear.
bool LeftOutByOptions(const PrintOptions& options, const json::Value& order);

// The product lines of an order. With `with_values` each line carries its value and the values
// are added to `total`; otherwise quantity and name only.
void PrintOrderProducts(print::PrintEngine& engine, const json::Value& products, bool with_values,
                        json::Decimal& total);

// The ticket's last two lines (a blank and "."), its end, its hand-off to the print service,
// and the balloon "Comanda enviada a " + the printer that took it.
void FinishOrderTicket(DocumentContext& context);

}  // namespace quillon::documents
