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
  void PrintKitchenOrder(json::Collection& orders) override { Record("comanda", Shared(orders)); }
  void PrintInvoice(const json::Value& dato) override { Record("factura", dato); }
  void PrintCancellation(json::Collection& orders) override { Record("anulacion", Shared(orders)); }
  void OpenCashDrawer() override { Record("cajon", json::Value()); }

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

 private:
  // The collection as a value the test can inspect (a copy: the job's tree dies with the job).
  static json::Value Shared(const json::Collection& orders) {
    auto copy = json::MakeCollection();
    for (const json::Value& item : orders) copy->Add(item);
    return json::Value(copy);
  }
  void Record(const std::string& name, json::Value argument) {
    calls.push_back({name, std::move(argument)});
    if (name != "config" && during_call) during_call(name);
  }
};

}  // namespace quillon::test
