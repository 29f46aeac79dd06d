#pragma once
// An engine over recording printers, with helpers to give it a job's settings rows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "json/value.h"
#include "adapters/spool/ticket_text.h"
#include "platform/text.h"
#include "print/print_engine.h"
#include "support/fake_notifier.h"
#include "support/fake_printers.h"

namespace quillon::test {

struct SettingsRow {
  std::u16string nombre;
  json::Value descripcion;
  json::Value visible = json::Value();
};

inline json::Value MakeRows(const std::vector<SettingsRow>& rows) {
  json::Value collection = json::NewArray();
  for (const SettingsRow& row : rows) {
    json::Value fields = json::NewObject();
    fields.AsDictionary().Set(u"Nombre", json::Value(row.nombre));
    fields.AsDictionary().Set(u"Descripcion", row.descripcion);
    if (!row.visible.IsEmpty()) fields.AsDictionary().Set(u"Visible", row.visible);
    collection.AsCollection().Add(std::move(fields));
  }
  return collection;
}

class EngineTest : public ::testing::Test {
 protected:
  // The engine is made on first use, after the test has installed its printers.
  print::PrintEngine& Engine() {
    if (!engine_) engine_ = std::make_unique<print::PrintEngine>(printers, notifier);
    return *engine_;
  }
  void SetRows(const std::vector<SettingsRow>& rows) { Engine().SetSettingsRows(MakeRows(rows)); }

  // Installs "Caja" as the default printer and selects it.
  std::shared_ptr<FakePrinterQueue> UseCaja() {
    auto caja = printers.AddPrinter(u"Caja");
    printers.SetDefaultName(u"Caja");
    EXPECT_TRUE(Engine().SelectPrinter(Engine().PrinterIndex(u"Caja"), 0));
    return caja;
  }

  // Ends the job and returns the text lines the queue received.
  std::vector<std::u16string> Printed(FakePrinterQueue& queue) {
    Engine().Printer().EndDoc();
    if (queue.tickets.empty()) return {};
    return adapters::spool::TicketTextLines(queue.tickets.back());
  }

  FakePrinterSystem printers;
  FakeNotifier notifier;

 private:
  std::unique_ptr<print::PrintEngine> engine_;
};

}  // namespace quillon::test
