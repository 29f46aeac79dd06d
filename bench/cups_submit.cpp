// A ticket's bytes submitted to a CUPS queue the way the agent does it: the queue found and
// checked with one request, the job sent with another. Prints the microseconds of each
// submission, one a line, so a script can set them beside `lp -o raw` of the same bytes.
//
// bench_cups_submit QUEUE FILE [COUNT]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "adapters/cups/cups_printers.h"
#include "bench_jobs.h"
#include "platform/text.h"

namespace {

// Submits the file `count` times; 1 on the first submission that fails.
int Submit(const char* queue_name, const char* file, int count) {
  const std::u16string queue = quillon::platform::Utf8ToUtf16(queue_name);
  const std::string bytes = quillon::bench::ReadFile(file);
  quillon::adapters::cups::CupsPrinterSystem cups;
  for (int i = 0; i < count; ++i) {
    const auto start = std::chrono::steady_clock::now();
    try {
      const auto printer = cups.FindPrinter(queue);
      if (!printer) {
        std::fputs("la cola no existe\n", stderr);
        return 1;
      }
      printer->CheckReady();
      printer->SendRaw(bytes);
    } catch (const quillon::platform::Failure& failure) {
      std::fprintf(stderr, "%s\n", failure.what());
      return 1;
    }
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
    std::printf("%lld\n", static_cast<long long>(micros));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("uso: bench_cups_submit COLA ARCHIVO [VECES]\n", stderr);
    return 2;
  }
  try {
    return Submit(argv[1], argv[2], argc > 3 ? std::atoi(argv[3]) : 1);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 1;
  }
}
