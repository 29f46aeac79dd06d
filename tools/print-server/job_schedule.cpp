#include "job_schedule.h"

#include <fstream>
#include <iterator>
#include <random>

namespace print_server {

namespace {

constexpr char kTerminator[] = "_endMessage_";
constexpr std::size_t kLargestPiece = 64;
constexpr int kPieceGapMs = 1;  // lets most pieces arrive on their own

}  // namespace

bool BuildSchedule(const Options& options, std::vector<Piece>* schedule, std::string* error) {
  std::mt19937 random(options.seed);
  std::uniform_int_distribution<std::size_t> piece_size(1, kLargestPiece);
  for (std::size_t job = 0; job < options.jobs.size(); ++job) {
    std::ifstream file(options.jobs[job], std::ios::binary);
    if (!file) {
      *error = "No se pudo leer " + options.jobs[job];
      return false;
    }
    const std::string bytes =
        std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()) +
        kTerminator;
    const int pause = job == 0 ? 0 : options.pause_ms;
    if (!options.pieces) {
      schedule->push_back({bytes, pause});
      continue;
    }
    for (std::size_t at = 0; at < bytes.size();) {
      const std::size_t length = std::min(piece_size(random), bytes.size() - at);
      schedule->push_back({bytes.substr(at, length), at == 0 ? pause : kPieceGapMs});
      at += length;
    }
  }
  return true;
}

}  // namespace print_server
