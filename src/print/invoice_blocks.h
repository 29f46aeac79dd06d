#pragma once
// The fixed blocks that frame an invoice, taken from the branch's settings: the logo, the
// business header, the legal block, the legend on suggested tips and the software credit.
// Each prints on the job the invoice has open on the current printer.
#include <string>

#include "print/print_engine.h"

namespace quillon::print {

// The picture of `logo_file` (BMP, GIF or JPEG), centred below the top edge, followed by enough
// empty lines to print below it. Raises json::ValueError when the file is not such a picture.
void PrintLogo(PrintEngine& engine, const std::string& logo_file);
// Name, activity, identification, legal representative, address and telephone: each line only
// when its row is visible. A line that fails is left out and the next one still prints.
void PrintInvoiceHeader(PrintEngine& engine);
// Regime, the invoicing resolution and the authorised number range.
void PrintLegalBlock(PrintEngine& engine);
void PrintTipLegend(PrintEngine& engine);
void PrintSoftwareFooter(PrintEngine& engine);

}  // namespace quillon::print
