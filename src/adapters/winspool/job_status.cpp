#include "adapters/winspool/job_status.h"

#include <utility>

namespace quillon::adapters::winspool {
namespace {

// Windows' own values (winspool.h), so the decisions build and are tested everywhere.
constexpr std::uint32_t kJobPaused = 0x1;
constexpr std::uint32_t kJobError = 0x2;
constexpr std::uint32_t kJobDeleting = 0x4;
constexpr std::uint32_t kJobOffline = 0x20;
constexpr std::uint32_t kJobPaperOut = 0x40;
constexpr std::uint32_t kJobPrinted = 0x80;
constexpr std::uint32_t kJobDeleted = 0x100;
constexpr std::uint32_t kJobBlocked = 0x200;
constexpr std::uint32_t kJobUserIntervention = 0x400;
constexpr std::uint32_t kJobComplete = 0x1000;

constexpr std::pair<std::uint32_t, std::u16string_view> kPrinterFaults[] = {
    {0x80, u"apagada o desconectada"},    // PRINTER_STATUS_OFFLINE
    {0x1000, u"apagada o desconectada"},  // PRINTER_STATUS_NOT_AVAILABLE
    {0x10, u"sin papel"},                 // PRINTER_STATUS_PAPER_OUT
    {0x40, u"sin papel"},                 // PRINTER_STATUS_PAPER_PROBLEM
    {0x8, u"papel atascado"},             // PRINTER_STATUS_PAPER_JAM
    {0x400000, u"tapa abierta"},          // PRINTER_STATUS_DOOR_OPEN
    {0x1, u"en pausa"},                   // PRINTER_STATUS_PAUSED
    {0x100000, u"necesita atención"},     // PRINTER_STATUS_USER_INTERVENTION
    {0x2, u"en error"},                   // PRINTER_STATUS_ERROR
};
constexpr std::uint32_t kAttributeWorkOffline = 0x400;

}  // namespace

platform::JobState JobStateOf(std::uint32_t status) {
  if ((status & (kJobPrinted | kJobComplete)) != 0) return platform::JobState::kCompleted;
  if ((status & (kJobDeleting | kJobDeleted)) != 0) return platform::JobState::kCanceled;
  if ((status & (kJobError | kJobOffline | kJobPaperOut | kJobBlocked | kJobUserIntervention |
                 kJobPaused)) != 0) {
    return platform::JobState::kHeld;
  }
  return platform::JobState::kQueued;
}

std::u16string PrinterFault(const PrinterDescription& printer) {
  std::u16string fault;
  for (const auto& [bit, words] : kPrinterFaults) {
    if ((printer.status & bit) == 0 || fault.find(words) != std::u16string::npos) continue;
    if (!fault.empty()) fault += u", ";
    fault += words;
  }
  if (fault.empty() && (printer.attributes & kAttributeWorkOffline) != 0) {
    fault = u"apagada o desconectada";
  }
  return fault;
}

}  // namespace quillon::adapters::winspool
