// Framing a job that arrives one character at a time: the cost must grow linearly with its size.
#include <benchmark/benchmark.h>

#include <string>

#include "link/message_framer.h"

namespace {

void BM_FramingOneCharacterPieces(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0));
  std::string job = "{\"config\":[],\"dato\":\"";
  job.append(size - job.size() - 2, 'x');
  job += "\"}";
  job += quillon::link::MessageFramer::kTerminator;
  for (auto _ : state) {
    quillon::link::MessageFramer framer;
    std::size_t messages = 0;
    for (std::size_t at = 0; at < job.size(); ++at) {
      messages += framer.Append(std::string_view(job).substr(at, 1)).messages.size();
    }
    if (messages != 1) state.SkipWithError("the job was not framed once");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * job.size()));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FramingOneCharacterPieces)
    ->RangeMultiplier(4)
    ->Range(16 << 10, 1 << 20)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
