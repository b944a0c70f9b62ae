// Compress and decompress throughput (bytes of uncompressed data per second) per fixture input.
#include <benchmark/benchmark.h>

#include "FixtureInputs.h"
#include "settings/LHARoutines.h"

namespace {

void Compress(benchmark::State& state, const wt::bench::Lh5Case& c) {
    for (auto _ : state) benchmark::DoNotOptimize(wt::CompressBytes(c.input));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.input.size()));
}

void Decompress(benchmark::State& state, const wt::bench::Lh5Case& c) {
    const auto packed = wt::CompressBytes(c.input);
    for (auto _ : state) benchmark::DoNotOptimize(wt::DecompressBytes(packed));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.input.size()));
}

}  // namespace

int main(int argc, char** argv) {
    static const auto cases = wt::bench::LoadLh5Cases();
    for (const auto& c : cases) {
        if (c.input.size() < 4096) continue;  // per-call set-up dominates tiny inputs
        benchmark::RegisterBenchmark(("Compress/" + c.name).c_str(), Compress, c);
        benchmark::RegisterBenchmark(("Decompress/" + c.name).c_str(), Decompress, c);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
