#pragma once
// A print engine and a print service over recording printers, with everything a document needs,
// plus small builders for jobs written as JSON text in the tests.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "documents/documents.h"
#include "json/value.h"
#include "platform/disk_file_system.h"
#include "platform/printer_system.h"
#include "print/print_engine.h"
#include "print/print_service.h"
#include "support/fake_clock.h"
#include "support/fake_notifier.h"
#include "support/fake_print_options.h"
#include "support/fake_printers.h"
#include "support/fake_timer.h"
#include "support/temp_folder.h"

namespace quillon::test {

// A job value from standard JSON text (numbers exact, keys in their order).
json::Value JsonValue(std::string_view text);

// Settings rows from (name, value, visible) triples; the value may be any JSON text.
struct Row {
  std::string name;
  std::string value;  // JSON text of "Descripcion", e.g. "\"rollo 55mm\"" or "10"
  std::string visible = "\"0\"";
};
json::Value Rows(const std::vector<Row>& rows);

// One text line per printed line, each run at its column.
std::vector<std::string> TicketLines(const platform::Ticket& ticket);

class DocumentBench {
 public:
  DocumentBench() {
    InstallPrinters(printers);
    service.Start();
  }

  void Configure(const std::vector<Row>& rows) { engine.SetSettingsRows(Rows(rows)); }

  // The tickets a printer received, as text lines.
  std::vector<std::vector<std::string>> Tickets(const std::u16string& printer) const;
  // The only ticket of a printer; fails the test when there is not exactly one.
  std::vector<std::string> OnlyTicket(const std::u16string& printer) const;
  int TicketCount() const;

  void KitchenOrder(std::string_view orders_json);
  void Cancellation(std::string_view orders_json);
  void Invoice(std::string_view document_json);

  // Printers "Cocina", "Bar" and "Facturas", the last being the default.
  static FakePrinterSystem& InstallPrinters(FakePrinterSystem& system);

  FakePrinterSystem printers;
  FakeNotifier notifier;
  FakeClock clock;
  TempFolder data;
  platform::DiskFileSystem disk;
  print::Outbox outbox{disk, data.Path(), clock};
  FakeTimer retry_timer;
  FakeTimer watch_timer;
  print::PrintEngine engine;
  print::PrintService service{printers, notifier, outbox, retry_timer, watch_timer};
  FakePrintOptions options;
  documents::DocumentContext context{engine, service, notifier, options, clock, "", {}, {}};
};

}  // namespace quillon::test

namespace quillon::test {

// A complete invoice document in JSON: an open table account with no items, overridden by the
// members of `overrides` (a JSON object text) and without the members named in `absent`.
std::string InvoiceJson(std::string_view overrides = "{}",
                        const std::vector<std::string>& absent = {});

// True when `expected` appears in `lines` as consecutive lines.
bool HasLines(const std::vector<std::string>& lines, const std::vector<std::string>& expected);

}  // namespace quillon::test
