#include "adapters/winspool/printer_choice.h"

#include "platform/text.h"

namespace quillon::adapters::winspool {
namespace {

// Windows' own values (winspool.h), so the decisions build and are tested everywhere.
constexpr std::uint32_t kStatusPaused = 0x1;
constexpr std::uint32_t kStatusError = 0x2;
constexpr std::uint32_t kStatusPendingDeletion = 0x4;
constexpr std::uint32_t kStatusPaperJam = 0x8;
constexpr std::uint32_t kStatusPaperOut = 0x10;
constexpr std::uint32_t kStatusOffline = 0x80;
constexpr std::uint32_t kStatusNotAvailable = 0x1000;
constexpr std::uint32_t kStatusUserIntervention = 0x100000;
constexpr std::uint32_t kStatusDoorOpen = 0x400000;
constexpr std::uint32_t kAttributeWorkOffline = 0x400;

std::optional<Backend> ForcedBackend(const std::u16string& text) {
  const std::u16string upper = platform::ToUpper(text);
  if (upper.find(u"QUILLON-BACKEND=RAW") != std::u16string::npos) return Backend::kRaw;
  if (upper.find(u"QUILLON-BACKEND=DRIVER") != std::u16string::npos) return Backend::kDriver;
  return std::nullopt;
}

}  // namespace

Backend ChooseBackend(const PrinterDescription& printer) {
  if (const auto forced = ForcedBackend(printer.location)) return *forced;
  if (const auto forced = ForcedBackend(printer.comment)) return *forced;
  return platform::ToUpper(printer.driver) == u"GENERIC / TEXT ONLY" ? Backend::kRaw
                                                                     : Backend::kDriver;
}

std::optional<std::u16string> NotReadyReason(const PrinterDescription& printer) {
  const std::uint32_t status = printer.status;
  if ((status & kStatusPendingDeletion) != 0) return u"La impresora se está eliminando en Windows.";
  if ((status & kStatusPaused) != 0) return u"La impresora está en pausa en Windows.";
  if ((status & (kStatusOffline | kStatusNotAvailable)) != 0 ||
      (printer.attributes & kAttributeWorkOffline) != 0) {
    return u"La impresora está fuera de línea.";
  }
  if ((status & kStatusPaperOut) != 0) return u"La impresora no tiene papel.";
  if ((status & kStatusPaperJam) != 0) return u"La impresora tiene papel atascado.";
  if ((status & kStatusDoorOpen) != 0) return u"La impresora tiene la tapa abierta.";
  if ((status & (kStatusError | kStatusUserIntervention)) != 0) {
    return u"La impresora indica un error en Windows.";
  }
  return std::nullopt;
}

}  // namespace quillon::adapters::winspool
