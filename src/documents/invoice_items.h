#pragma once
// The item table of an invoice: column titles, one line per sold item with its quantity, the
// leading words of its name and its line total, the rest of a long name and the item's details.
#include "json/value.h"
#include "print/print_engine.h"

namespace quillon::documents {

inline constexpr char16_t kInvoiceFont[] = u"Courier 14 CPI";

// `items` is the document's "pedido"; raises platform::Failure when it is not an array of items.
void PrintInvoiceItems(print::PrintEngine& engine, const json::Value& items);

}  // namespace quillon::documents
