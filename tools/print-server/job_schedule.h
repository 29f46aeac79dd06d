#pragma once
// What the server sends, in order: each job followed by the terminator, and where the
// connection is dropped in the middle of a job.
#include <cstddef>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "options.h"

namespace print_server {

struct ScheduledJob {
  static constexpr std::size_t kWhole = std::string::npos;

  std::string name;   // the file it was read from
  std::string bytes;  // the job text and the terminator
  int pause_ms = 0;   // wait before it
  // The connection drops after this many of its bytes (all of them: right after it).
  std::size_t cut_at = kWhole;
};

// Reads the job files and chooses the cuts (--drop-after, --cut-percent); on a file that cannot
// be read returns nothing and sets `error`.
bool BuildSchedule(const Options& options, std::vector<ScheduledJob>* schedule, std::string* error);

// The bytes as they go on the wire: whole, or (--pieces) cut into pieces of 1 to 64 bytes.
std::vector<std::string_view> Pieces(std::string_view bytes, bool pieces, std::mt19937& random);

}  // namespace print_server
