#pragma once
// What the server sends, in order: each job followed by the terminator, whole or cut into
// random pieces, with the wait before each piece.
#include <string>
#include <vector>

#include "options.h"

namespace print_server {

struct Piece {
  std::string bytes;
  int wait_ms = 0;
};

// Reads the job files; on a file that cannot be read returns nothing and sets `error`.
bool BuildSchedule(const Options& options, std::vector<Piece>* schedule, std::string* error);

}  // namespace print_server
