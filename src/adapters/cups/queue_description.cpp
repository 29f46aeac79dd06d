#include "adapters/cups/queue_description.h"

#include <cctype>

namespace quillon::adapters::cups {
namespace {

constexpr int kStopped = 5;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

Backend ChooseBackend(const QueueDescription& queue) {
  const std::string forced = Lower(queue.forced_backend);
  if (forced == "raw") return Backend::Raw;
  if (forced == "driver") return Backend::Driver;
  return queue.make_and_model == "Local Raw Printer" ? Backend::Raw : Backend::Driver;
}

std::optional<std::u16string> NotReadyReason(const QueueDescription& queue) {
  if (queue.state == kStopped) return u"La impresora está detenida en CUPS.";
  if (!queue.accepting_jobs) return u"La impresora no acepta trabajos en CUPS.";
  return std::nullopt;
}

}  // namespace quillon::adapters::cups
