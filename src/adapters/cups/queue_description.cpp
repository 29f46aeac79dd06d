#include "adapters/cups/queue_description.h"

#include <cctype>
#include <string_view>
#include <utility>

namespace quillon::adapters::cups {
namespace {

constexpr int kStopped = 5;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// printer-state-reasons keywords, without their "-report" or "-error" ending, and what they mean.
constexpr std::pair<std::string_view, std::u16string_view> kFaults[] = {
    {"offline", u"apagada o desconectada"},
    {"connecting-to-device", u"apagada o desconectada"},
    {"timed-out", u"apagada o desconectada"},
    {"media-empty", u"sin papel"},
    {"media-needed", u"sin papel"},
    {"media-jam", u"papel atascado"},
    {"door-open", u"tapa abierta"},
    {"cover-open", u"tapa abierta"},
    {"paused", u"en pausa"},
};

std::string_view WithoutSeverity(std::string_view reason) {
  for (const std::string_view ending : {"-report", "-error"}) {
    if (reason.ends_with(ending)) return reason.substr(0, reason.size() - ending.size());
  }
  return reason;
}

}  // namespace

std::u16string QueueFault(const QueueDescription& queue) {
  std::u16string fault;
  for (const std::string& reason : queue.state_reasons) {
    if (reason.ends_with("-warning")) continue;
    const std::string_view keyword = WithoutSeverity(reason);
    for (const auto& [known, words] : kFaults) {
      if (keyword != known || fault.find(words) != std::u16string::npos) continue;
      if (!fault.empty()) fault += u", ";
      fault += words;
    }
  }
  if (fault.empty() && queue.state == kStopped) fault = u"detenida";
  return fault;
}

Backend ChooseBackend(const QueueDescription& queue) {
  const std::string forced = Lower(queue.forced_backend);
  if (forced == "raw") return Backend::kRaw;
  if (forced == "driver") return Backend::kDriver;
  return queue.make_and_model == "Local Raw Printer" ? Backend::kRaw : Backend::kDriver;
}

std::optional<std::u16string> NotReadyReason(const QueueDescription& queue) {
  if (queue.state == kStopped) return u"La impresora está detenida en CUPS.";
  if (!queue.accepting_jobs) return u"La impresora no acepta trabajos en CUPS.";
  return std::nullopt;
}

}  // namespace quillon::adapters::cups
