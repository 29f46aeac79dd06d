#pragma once
// Records the dispatched calls, in order, with what each received; a test can hook a call to
// raise a failure or to deliver more data in the middle of a job.
#include <functional>
#include <string>
#include <vector>

#include "json/value.h"
#include "link/job_handlers.h"

namespace quillon::test {

class FakeJobHandlers : public link::JobHandlers {
 public:
  struct Call {
    std::string name;  // "config", "comanda", "factura", "anulacion", "cajon"
    json::Value argument;
  };

  void SetSettingsRows(json::Value rows) override {
    configuracion = rows;
    Record("config", rows);
  }
  link::NotPrinted PrintKitchenOrder(const json::Collection& orders) override {
    return Record("comanda", Shared(orders));
  }
  link::NotPrinted PrintInvoice(const json::Value& dato) override {
    return Record("factura", dato);
  }
  link::NotPrinted PrintCancellation(const json::Collection& orders) override {
    return Record("anulacion", Shared(orders));
  }
  link::NotPrinted OpenCashDrawer() override { return Record("cajon", json::Value()); }

  // The document calls only (not "config"), in order.
  std::vector<std::string> Printed() const {
    std::vector<std::string> names;
    for (const Call& call : calls) {
      if (call.name != "config") names.push_back(call.name);
    }
    return names;
  }

  std::vector<Call> calls;
  json::Value configuracion;
  // Runs inside every document call, after it is recorded.
  std::function<void(const std::string& name)> during_call;
  // What the next document calls answer they could not print.
  link::NotPrinted not_printed;

 private:
  // The collection as a value the test can inspect (a copy: the job's tree dies with the job).
  static json::Value Shared(const json::Collection& orders) {
    json::Value copy = json::NewArray();
    for (const json::Value& item : orders) copy.AsCollection().Add(item);
    return copy;
  }
  link::NotPrinted Record(const std::string& name, json::Value argument) {
    calls.push_back({name, std::move(argument)});
    if (name != "config" && during_call) during_call(name);
    return not_printed;
  }
};

}  // namespace quillon::test
