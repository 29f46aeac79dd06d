#pragma once
// The money part of an invoice: subtotal, tip, service or delivery charge, the total (plain or
// highlighted) and, under the common tax regime, the table of taxes.
#include "documents/print_settings.h"
#include "json/value.h"
#include "print/print_engine.h"

namespace quillon::documents {

// `document` is the invoice's "dato"; raises platform::Failure on amounts that are not numbers or
// an "impuestos" that is not an array.
void PrintTotalsBlock(print::PrintEngine& engine, const PrintSettings& settings,
                      const json::Value& document);

}  // namespace quillon::documents
