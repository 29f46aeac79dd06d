#pragma once
// A print engine with helpers to give it a job's settings rows and to read the ticket drawn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapters/spool/ticket_text.h"
#include "json/value.h"
#include "platform/text.h"
#include "print/print_engine.h"

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
  print::PrintEngine& Engine() { return engine_; }
  void SetRows(const std::vector<SettingsRow>& rows) { Engine().SetSettingsRows(MakeRows(rows)); }

  // Starts a ticket for "Caja".
  void StartTicket() { Engine().BeginTicket(u"Caja", u"comanda"); }
  // Ends the ticket and returns its text lines.
  std::vector<std::u16string> Printed() {
    return adapters::spool::TicketTextLines(Engine().EndTicket().content);
  }

 private:
  print::PrintEngine engine_;
};

}  // namespace quillon::test
