#include "adapters/network_printer/status_bytes.h"

namespace quillon::adapters::network_printer {
namespace {

bool Bit(const std::optional<std::uint8_t>& answer, int bit) {
  return answer.has_value() && (*answer & (1U << bit)) != 0;
}

}  // namespace

bool IsStatusAnswer(std::uint8_t byte) { return (byte & 0x92U) == 0x12U; }

PrinterCondition DecodeStatus(const StatusAnswers& answers) {
  if (Bit(answers.paper_sensor, 5) || Bit(answers.paper_sensor, 6) ||
      Bit(answers.offline_cause, 5)) {
    return PrinterCondition::kPaperOut;
  }
  if (Bit(answers.offline_cause, 2)) return PrinterCondition::kCoverOpen;
  if (Bit(answers.offline_cause, 6) || Bit(answers.error_cause, 2) || Bit(answers.error_cause, 3) ||
      Bit(answers.error_cause, 5) || Bit(answers.error_cause, 6)) {
    return PrinterCondition::kError;
  }
  // Paper fed by the button is a moment's pause, not a fault; any other offline is.
  if (Bit(answers.printer, 3) && !Bit(answers.offline_cause, 3)) return PrinterCondition::kOffline;
  if (Bit(answers.paper_sensor, 2) || Bit(answers.paper_sensor, 3))
    return PrinterCondition::kPaperLow;
  return PrinterCondition::kReady;
}

bool Prints(PrinterCondition condition) {
  return condition == PrinterCondition::kReady || condition == PrinterCondition::kPaperLow;
}

std::u16string ConditionText(PrinterCondition condition) {
  switch (condition) {
    case PrinterCondition::kReady:
      return u"listo";
    case PrinterCondition::kPaperLow:
      return u"papel por acabarse";
    case PrinterCondition::kPaperOut:
      return u"sin papel";
    case PrinterCondition::kCoverOpen:
      return u"tapa abierta";
    case PrinterCondition::kOffline:
      return u"apagada o desconectada";
    case PrinterCondition::kError:
      return u"error";
  }
  return u"error";
}

}  // namespace quillon::adapters::network_printer
