#pragma once
// Reprints asked for from the command line. When no agent runs, the command line prints itself;
// while an agent runs, the data folder belongs to it, so the command line leaves a request in
// peticiones/ and the agent, which looks there every second, prints and leaves the answer
// beside the request.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "print/print_service.h"

namespace quillon::print {

struct ReprintAnswer {
  bool printed = false;
  std::u16string text;  // what the user is told
};

// What the user is told when no printed ticket has number `id`.
std::u16string NoPrintedTicketText(std::uint64_t id);

// Reprints ticket `id` on `printer` (empty: where it printed) with the service.
ReprintAnswer Reprint(PrintService& service, std::uint64_t id, const std::u16string& printer);

// The agent's side: answers every request waiting in the data folder.
void ServeReprintRequests(const std::filesystem::path& data_dir, PrintService& service);

// The command line's side: leaves a request and waits up to `patience` for the answer; nullopt
// when no answer came (the request is then taken back).
std::optional<ReprintAnswer> AskRunningAgent(const std::filesystem::path& data_dir,
                                             std::uint64_t id, const std::u16string& printer,
                                             std::chrono::milliseconds patience);

}  // namespace quillon::print
