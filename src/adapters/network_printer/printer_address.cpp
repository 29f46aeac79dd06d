#include "adapters/network_printer/printer_address.h"

namespace quillon::adapters::network_printer {
namespace {

constexpr std::string_view kScheme = "tcp://";

bool HostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '-' || c == '_';
}

}  // namespace

std::optional<PrinterAddress> ParsePrinterAddress(std::string_view uri) {
  if (!uri.starts_with(kScheme)) return std::nullopt;
  std::string_view rest = uri.substr(kScheme.size());
  if (rest.ends_with('/')) rest.remove_suffix(1);
  PrinterAddress address;
  if (const auto colon = rest.rfind(':'); colon != std::string_view::npos) {
    const std::string_view digits = rest.substr(colon + 1);
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    int port = 0;
    for (const char c : digits) {
      if (c < '0' || c > '9') return std::nullopt;
      port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535) return std::nullopt;
    address.port = port;
    rest = rest.substr(0, colon);
  }
  if (rest.empty()) return std::nullopt;
  for (const char c : rest) {
    if (!HostCharacter(c)) return std::nullopt;
  }
  address.host = std::string(rest);
  return address;
}

bool LooksLikeAddress(std::string_view value) {
  return value.find("://") != std::string_view::npos;
}

std::string AddressText(const PrinterAddress& address) {
  return std::string(kScheme) + address.host + ":" + std::to_string(address.port);
}

}  // namespace quillon::adapters::network_printer
