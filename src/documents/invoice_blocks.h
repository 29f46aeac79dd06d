#pragma once
// The fixed blocks that frame an invoice, taken from the branch's settings: the logo, the
// business header, the legal block, the legend on suggested tips and the software credit.
// Each prints on the ticket the invoice is drawing.
#include <string>

#include "documents/print_settings.h"
#include "platform/picture_decoder.h"
#include "print/print_engine.h"

namespace quillon::documents {

// The picture of `logo_file` as `pictures` reads it, centred below the top edge, followed by
// enough empty lines to print below it. A logo that is empty, cannot be read, or would be taller
// than print::kMaxPictureRows once fitted to the roll is left out: nothing is drawn and the
// reason comes back, in Spanish; empty when the logo was drawn.
std::u16string PrintLogo(print::PrintEngine& engine, const std::string& logo_file,
                         const platform::PictureDecoder& pictures);
// Name, activity, identification, legal representative, address and telephone: each line only
// when its row is visible. A line that fails is left out and the next one still prints.
void PrintInvoiceHeader(print::PrintEngine& engine, const PrintSettings& settings);
// Regime, the invoicing resolution and the authorised number range.
void PrintLegalBlock(print::PrintEngine& engine, const PrintSettings& settings);
void PrintTipLegend(print::PrintEngine& engine);
void PrintSoftwareFooter(print::PrintEngine& engine);

}  // namespace quillon::documents
