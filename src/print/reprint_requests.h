#pragma once
// Reprints and discards asked for from the command line. When no agent runs, the command line
// does it itself; while an agent runs, the data folder belongs to it, so the command line leaves
// a request in peticiones/ and the agent, which looks there every second, does it and leaves the
// answer beside the request.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "print/print_service.h"

namespace quillon::print {

struct RequestAnswer {
  bool done = false;
  std::u16string text;  // what the user is told
};

enum class RequestKind { kReprint, kDiscard };

// What the user is told when no printed ticket has number `id`.
std::u16string NoPrintedTicketText(std::uint64_t id);

// What the user is told when no ticket waits or is in a printer with number `id`.
std::u16string NoWaitingTicketText(std::uint64_t id);

// Reprints ticket `id` on `printer` (empty: where it printed) with the service.
RequestAnswer Reprint(PrintService& service, std::uint64_t id, const std::u16string& printer);
// Discards the waiting ticket `id`: kept in outbox/descartados/, never printed.
RequestAnswer Discard(PrintService& service, std::uint64_t id);

// The agent's side: answers every request waiting in the data folder.
void ServeRequests(platform::FileSystem& files, const std::filesystem::path& data_dir,
                   PrintService& service);

// The command line's side: leaves a request and waits up to `patience` for the answer; nullopt
// when no answer came (the request is then taken back). `printer` only for a reprint.
std::optional<RequestAnswer> AskRunningAgent(platform::FileSystem& files,
                                             const std::filesystem::path& data_dir,
                                             RequestKind kind, std::uint64_t id,
                                             const std::u16string& printer,
                                             std::chrono::milliseconds patience);

}  // namespace quillon::print
