#pragma once
// What Windows says about one printer (EnumPrintersW, level 2), and the decisions taken from it:
// whether it can print now and whether it gets ESC/POS bytes or drawn pages.
#include <cstdint>
#include <optional>
#include <string>

namespace quillon::adapters::winspool {

struct PrinterDescription {
  std::u16string name;
  std::u16string driver;         // pDriverName
  std::u16string comment;        // pComment
  std::u16string location;       // pLocation
  std::uint32_t status = 0;      // PRINTER_STATUS_* bits
  std::uint32_t attributes = 0;  // PRINTER_ATTRIBUTE_* bits
};

enum class Backend { kRaw, kDriver };

// A printer with the "Generic / Text Only" driver passes bytes to the device unchanged, so it
// gets ESC/POS; any other driver gets pages. "quillon-backend=raw" or "quillon-backend=driver" in
// the printer's location or comment (set by an administrator in its properties) overrides that.
Backend ChooseBackend(const PrinterDescription& printer);

// Why the printer cannot print now, in words for the user; nullopt when it can.
std::optional<std::u16string> NotReadyReason(const PrinterDescription& printer);

}  // namespace quillon::adapters::winspool
