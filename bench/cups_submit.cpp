// A ticket's bytes submitted to a CUPS queue the way the agent does it: the queue found and
// checked with one request, the job sent with another. Prints the microseconds of each
// submission, one a line, so a script can set them beside `lp -o raw` of the same bytes.
//
// bench_cups_submit QUEUE FILE [COUNT]
#include <chrono>
#include <cstdio>
#include <string>

#include "adapters/cups/cups_printers.h"
#include "bench_jobs.h"
#include "platform/text.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("uso: bench_cups_submit COLA ARCHIVO [VECES]\n", stderr);
    return 2;
  }
  const std::u16string queue = quillon::platform::Utf8ToUtf16(argv[1]);
  const std::string bytes = quillon::bench::ReadFile(argv[2]);
  const int count = argc > 3 ? std::stoi(argv[3]) : 1;
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
