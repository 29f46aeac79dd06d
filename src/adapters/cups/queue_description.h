#pragma once
// What CUPS says about one queue, and the decisions taken from it: whether it can print now and
// whether it gets ESC/POS bytes or drawn pages.
#include <optional>
#include <string>
#include <vector>

namespace quillon::adapters::cups {

struct QueueDescription {
  std::string name;
  int state = 3;  // printer-state: 3 idle, 4 processing, 5 stopped
  bool accepting_jobs = true;
  std::vector<std::string> state_reasons;  // printer-state-reasons, "none" when all is well
  std::string make_and_model;              // printer-make-and-model
  // The queue's default "quillon-backend" ("raw" or "driver"), set by an administrator with
  // lpadmin -p NAME -o quillon-backend-default=raw.
  std::string forced_backend;
};

enum class Backend { kRaw, kDriver };

// A queue without a driver is what CUPS describes as "Local Raw Printer"; it passes bytes to the
// device unchanged, so it gets ESC/POS. Any other queue has a driver and gets pages.
// A "quillon-backend" option of "raw" or "driver" overrides that.
Backend ChooseBackend(const QueueDescription& queue);

// Why the queue cannot print now, in words for the user; nullopt when it can.
std::optional<std::u16string> NotReadyReason(const QueueDescription& queue);

// What keeps the queue from printing the jobs it holds, from its state and state reasons, in
// words for the user ("sin papel", "apagada o desconectada"); empty when it reports nothing.
// Warnings (paper running low) are not faults.
std::u16string QueueFault(const QueueDescription& queue);

}  // namespace quillon::adapters::cups
