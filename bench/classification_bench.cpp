// Class breaks for a gradient: exact natural breaks on 10,000 distinct values in 7 classes
// (the goal: under 200 ms), the most they are found exactly on (kExactNaturalBreaks, also
// in the most classes the dialog offers), and quantiles where a tie lies across the
// quantiles, which takes the search for the most even classes.
//
//   build/tolvane_bench --benchmark_filter='Breaks|Quantile'
#include "charts/Classification.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <random>

using namespace tolvane;

namespace {

// Skewed like most mapped counts: many small values, a few large ones, all distinct.
std::vector<double> SkewedValues(size_t n) {
    std::mt19937_64 random(42);
    std::lognormal_distribution<double> skewed(3, 1.2);
    std::vector<double> values(n);
    for (size_t i = 0; i < n; ++i)
        values[i] = std::round(skewed(random) * 100) / 100 + static_cast<double>(i) * 1e-7;
    return values;
}

void BM_NaturalBreaks(benchmark::State& state) {
    const std::vector<double> values = SkewedValues(static_cast<size_t>(state.range(0)));
    const auto classes = static_cast<int>(state.range(1));
    for (auto _ : state) {
        Classes found = ClassifyValues(ClassMethod::NaturalBreaks, values, classes);
        if (found.sample != 0) state.SkipWithError("sampled");
        benchmark::DoNotOptimize(found);
    }
}

void BM_QuantileAcrossATie(benchmark::State& state) {
    std::vector<double> values = SkewedValues(static_cast<size_t>(state.range(0)));
    for (size_t i = 0; i < values.size(); i += 3)
        values[i] = 0; // a third zeros: they lie across the first quantiles
    const auto classes = static_cast<int>(state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(ClassifyValues(ClassMethod::Quantile, values, classes));
}

} // namespace

BENCHMARK(BM_NaturalBreaks)
    ->Args({10000, 7})
    ->Args({static_cast<int64_t>(kExactNaturalBreaks), 7})
    ->Args({static_cast<int64_t>(kExactNaturalBreaks), 50})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuantileAcrossATie)
    ->Args({200000, 7})
    ->Args({200000, 50})
    ->Unit(benchmark::kMillisecond);
