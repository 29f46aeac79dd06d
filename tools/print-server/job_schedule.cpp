#include "job_schedule.h"

#include <fstream>
#include <iterator>

namespace print_server {

namespace {

constexpr char kTerminator[] = "_endMessage_";
constexpr std::size_t kTerminatorSize = sizeof kTerminator - 1;
constexpr std::size_t kLargestPiece = 64;

// A cut at a random byte, as likely inside the job text as right before the terminator or
// inside the terminator, the places where a reader is most easily fooled.
std::size_t RandomCut(std::size_t size, std::mt19937& random) {
  const std::size_t text = size - kTerminatorSize;
  switch (std::uniform_int_distribution<int>(0, 2)(random)) {
    case 0:
      return text < 2 ? text : std::uniform_int_distribution<std::size_t>(1, text - 1)(random);
    case 1:
      return text;
    default:
      return text + std::uniform_int_distribution<std::size_t>(1, kTerminatorSize - 1)(random);
  }
}

}  // namespace

bool BuildSchedule(const Options& options, std::vector<ScheduledJob>* schedule,
                   std::string* error) {
  std::mt19937 random(options.seed);
  std::uniform_int_distribution<int> percent(0, 99);
  long long start = 0;  // of the job in the stream
  for (std::size_t index = 0; index < options.jobs.size(); ++index) {
    std::ifstream file(options.jobs[index], std::ios::binary);
    if (!file) {
      *error = "No se pudo leer " + options.jobs[index];
      return false;
    }
    ScheduledJob job;
    job.name = options.jobs[index];
    job.bytes =
        std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()) +
        kTerminator;
    job.pause_ms = index == 0 ? 0 : options.pause_ms;
    const auto size = static_cast<long long>(job.bytes.size());
    if (options.drop_after >= start && options.drop_after <= start + size &&
        (options.drop_after > start || start == 0)) {
      job.cut_at = static_cast<std::size_t>(options.drop_after - start);
    } else if (options.drop_after_each) {
      job.cut_at = job.bytes.size();
    } else if (percent(random) < options.cut_percent) {
      job.cut_at = RandomCut(job.bytes.size(), random);
    }
    start += size;
    schedule->push_back(std::move(job));
  }
  return true;
}

std::vector<std::string_view> Pieces(std::string_view bytes, bool pieces, std::mt19937& random) {
  if (!pieces) return {bytes};
  std::uniform_int_distribution<std::size_t> piece_size(1, kLargestPiece);
  std::vector<std::string_view> cut;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t length = std::min(piece_size(random), bytes.size() - at);
    cut.push_back(bytes.substr(at, length));
    at += length;
  }
  return cut;
}

}  // namespace print_server
