// Drawing on the 962 x 962 plan, beside memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "raster/draw.h"

namespace {

constexpr std::uint32_t kPlan = 962;
constexpr std::int64_t kBytes = std::int64_t(kPlan) * kPlan;

void BM_Memcpy_Plan(benchmark::State& state) {
    std::vector<std::uint8_t> a(kBytes, 1), b(kBytes, 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size());
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_Memcpy_Plan);

void BM_PutImageXor_Plan(benchmark::State& state) {
    cw::IndexedImage source, destination;
    cw::MakeGrid(10, 10, 96, 96, 253, 90, source);
    cw::MakeGrid(10, 10, 96, 96, 253, 209, destination);
    for (auto _ : state) {
        cw::PutImageXor(source, destination, 0, 0);
        benchmark::DoNotOptimize(destination.Pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_PutImageXor_Plan);

void BM_FillImage_Plan(benchmark::State& state) {
    cw::IndexedImage image;
    cw::CreateImage(image, kPlan, kPlan);
    std::uint8_t colour = 0;
    for (auto _ : state) {
        cw::FillImage(image, colour++);
        benchmark::DoNotOptimize(image.Pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_FillImage_Plan);

}  // namespace

BENCHMARK_MAIN();
