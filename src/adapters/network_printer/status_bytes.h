#pragma once
// What a receipt printer says of itself through its real-time status requests, DLE EOT n
// (0x10 0x04 n), answered at once even while the printer is stopped, and what that means for the
// work it is given. Each answer is one byte with bits 1 and 4 set and bit 7 clear:
//   n=1 printer:        bit 3 offline
//   n=2 offline cause:  bit 2 cover open, bit 3 paper fed by the button, bit 5 stopped by the
//                       paper end, bit 6 an error
//   n=3 error cause:    bit 2 mechanical, bit 3 cutter, bit 5 unrecoverable, bit 6 recoverable
//   n=4 paper sensor:   bits 2-3 near the end, bits 5-6 at the end
// GS r 1 (0x1D 0x72 0x01) waits its turn in the printer's buffer: its answer, one byte with
// bit 4 clear, means that everything sent before it was processed.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::adapters::network_printer {

inline constexpr std::string_view kAskPrinter = "\x10\x04\x01";
inline constexpr std::string_view kAskOfflineCause = "\x10\x04\x02";
inline constexpr std::string_view kAskErrorCause = "\x10\x04\x03";
inline constexpr std::string_view kAskPaperSensor = "\x10\x04\x04";
inline constexpr std::string_view kAskProcessed = "\x1d\x72\x01";
// DLE DC4 fn=8: empties the receive and print buffers, on the printers that know it.
inline constexpr std::string_view kClearBuffers = "\x10\x14\x08\x01\x03\x14\x01\x06\x02\x08";

// Where a printer stands, worst first when several apply.
enum class PrinterCondition {
  kReady,
  kPaperLow,  // still prints
  kPaperOut,
  kCoverOpen,
  kOffline,  // not listening, or offline for no reason it gives
  kError,
};

// The answers to DLE EOT 1 to 4; an answer not asked for or not given is left empty.
struct StatusAnswers {
  std::optional<std::uint8_t> printer;
  std::optional<std::uint8_t> offline_cause;
  std::optional<std::uint8_t> error_cause;
  std::optional<std::uint8_t> paper_sensor;
};

// A DLE EOT answer has bits 1 and 4 set and bit 7 clear; GS r answers have bit 4 clear.
bool IsStatusAnswer(std::uint8_t byte);

PrinterCondition DecodeStatus(const StatusAnswers& answers);

// Whether the printer takes work in that condition.
bool Prints(PrinterCondition condition);

// "listo", "sin papel", "papel por acabarse", "tapa abierta", "apagada o desconectada", "error".
std::u16string ConditionText(PrinterCondition condition);

}  // namespace quillon::adapters::network_printer
