#pragma once
// Where a network receipt printer listens: tcp://HOST[:PORT], port 9100 when none is given.
#include <optional>
#include <string>
#include <string_view>

namespace quillon::adapters::network_printer {

inline constexpr int kDefaultPrinterPort = 9100;

struct PrinterAddress {
  std::string host;
  int port = kDefaultPrinterPort;
  bool operator==(const PrinterAddress&) const = default;
};

// nullopt when `uri` is not tcp:// with a host and, when given, a port from 1 to 65535.
std::optional<PrinterAddress> ParsePrinterAddress(std::string_view uri);
// Whether the value is meant as an address (it names a scheme) rather than a printer's name.
bool LooksLikeAddress(std::string_view value);
// "tcp://10.0.0.7:9100"
std::string AddressText(const PrinterAddress& address);

}  // namespace quillon::adapters::network_printer
