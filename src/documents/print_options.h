#pragma once
// The four printing options of the main window, which decide what a job prints.
#include <array>
#include <cstddef>

namespace quillon::documents {

// In box order: invoices and pre-bills ("Facturas y PreFactruas"), then the kinds of sale whose
// orders print: "Mesa", "Mostrador", "Domicilio".
enum class PrintOption { kInvoices, kTable, kCounter, kDelivery };

inline constexpr std::array<PrintOption, 4> kPrintOptions = {
    PrintOption::kInvoices, PrintOption::kTable, PrintOption::kCounter, PrintOption::kDelivery};

// The option's place in box order, from 0.
constexpr std::size_t BoxIndex(PrintOption option) { return static_cast<std::size_t>(option); }

class PrintOptions {
 public:
  virtual ~PrintOptions() = default;
  virtual bool IsChecked(PrintOption option) const = 0;
};

}  // namespace quillon::documents
