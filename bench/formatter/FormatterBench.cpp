// Throughput of the display formatter in input bytes per second, per display mode, on text
// lines, binary data and the worst case (target: 200 MB/s of input in every mode).
#include <benchmark/benchmark.h>

#include "bench/formatter/Traffic.h"

namespace {

void Run(benchmark::State& state, const std::vector<std::uint8_t>& in)
{
    bench_traffic::Prepare(std::int32_t(state.range(0)));
    std::vector<char> out(FormatBufferSize(in.size()));
    for (auto _ : state) {
        benchmark::DoNotOptimize(bench_traffic::FormatOneBlock(in, out));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(in.size()));
}

void BM_TextLines(benchmark::State& state) { Run(state, bench_traffic::TextLines()); }
void BM_Binary(benchmark::State& state) { Run(state, bench_traffic::Binary()); }
void BM_WorstCase(benchmark::State& state) { Run(state, bench_traffic::WorstCase()); }

// Text mode only: tabs at the widest SpacesForTab, 40 screen columns per input byte.
void BM_WidestTabs(benchmark::State& state)
{
    const std::vector<std::uint8_t> in(bench_traffic::BlockSize, 9);
    bench_traffic::Prepare(0);
    Settings.SpacesForTab = MaxTabBlanks;
    std::vector<char> out(FormatBufferSize(in.size()));
    for (auto _ : state) {
        benchmark::DoNotOptimize(bench_traffic::FormatOneBlock(in, out));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(in.size()));
}

// Argument: the display mode (0 ASCII/Text, 1 Mixed, 2 Hexadecimal).
BENCHMARK(BM_TextLines)->DenseRange(0, 2);
BENCHMARK(BM_Binary)->DenseRange(0, 2);
BENCHMARK(BM_WorstCase)->DenseRange(0, 2);
BENCHMARK(BM_WidestTabs);

}  // namespace
