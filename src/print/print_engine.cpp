#include "print/print_engine.h"

namespace quillon::print {

void PrintEngine::BeginTicket(std::u16string printer, std::u16string kind) {
  recorder_.Drop();
  printer_ = std::move(printer);
  kind_ = std::move(kind);
}

DrawnTicket PrintEngine::EndTicket() {
  return {std::move(printer_), std::move(kind_), recorder_.Finish()};
}

void PrintEngine::CancelTicket() { recorder_.Drop(); }

}  // namespace quillon::print
