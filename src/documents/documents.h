#pragma once
// The documents a job can print. Each draws its tickets with the engine, hands each finished
// ticket to the print service, and reports to the user only through balloons.
#include <string>
#include <vector>

#include "documents/print_options.h"
#include "documents/print_settings.h"
#include "json/value.h"
#include "platform/clock.h"
#include "platform/notifier.h"
#include "platform/picture_decoder.h"
#include "print/print_engine.h"
#include "print/print_service.h"

namespace quillon::documents {

struct DocumentContext {
  print::PrintEngine& engine;
  print::TicketSink& printing;
  platform::Notifier& notifier;
  const PrintOptions& options;
  const platform::Clock& clock;
  std::string data_dir;  // folder of logo.bmp
  // Why a document, or one order of it, printed nothing because of what the job holds; filled
  // while a job runs, emptied by whoever hands the next job over.
  std::vector<std::u16string> not_printed = {};
  // The invoice's settings record: refilled by every invoice job, kept until the next one.
  PrintSettings invoice_settings;
  // Reads the logo; null reads BMP files only.
  const platform::PictureDecoder* pictures = nullptr;
  // Why the logo is left off is said once a run, not on every invoice.
  bool logo_problem_told = false;
};

void PrintKitchenOrder(DocumentContext& context, const json::Collection& orders);
void PrintCancellation(DocumentContext& context, const json::Collection& orders);
void PrintInvoice(DocumentContext& context, const json::Value& dato);

}  // namespace quillon::documents
