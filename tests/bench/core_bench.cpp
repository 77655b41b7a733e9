// Opening a document: reading the file and evaluating the curve, for growing documents.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/calc.h"
#include "core/file_io.h"

namespace {

// A titration curve with two equivalence points, `n` points in ascending volume,
// written as the program writes it; `shuffled` writes the points in a scrambled order.
std::string MakeFile(int n, bool shuffled) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("titrion-bench-" + std::to_string(n) + (shuffled ? "s" : "") + ".tid"))
                                 .string();
    dyn_array_direct<ext_float_pair> points(10, 10, nullptr);
    for (int i = 0; i < n; ++i) {
        const int k = shuffled ? static_cast<int>((static_cast<long long>(i) * 7919) % n) : i;
        const double vb = 20.0 * k / n;
        const double e = 200.0 * std::tanh(4.0 * (vb - 6.0)) + 150.0 * std::tanh(3.0 * (vb - 14.0));
        points.append(ext_float_pair(vb, e));
    }
    internal_save(path.c_str(), points);
    return path;
}

void OpenAndEvaluate(benchmark::State& state, bool shuffled) {
    const int n = static_cast<int>(state.range(0));
    const std::string path = MakeFile(n, shuffled);
    for (auto _ : state) {
        dyn_array_direct<ext_float_pair> scratch(10, 10, nullptr);
        if (!internal_read(path.c_str(), scratch)) state.SkipWithError("read failed");
        arr_vb.flush();
        for (int i = 0; i < scratch.size(); ++i) arr_vb.append(*scratch[i]);
        recalc_arrays();
        benchmark::DoNotOptimize(arr_res.size());
    }
    state.counters["results"] = arr_res.size();
    state.SetItemsProcessed(state.iterations() * n);
    std::remove(path.c_str());
}

void BM_ReadAndEvaluate(benchmark::State& state) { OpenAndEvaluate(state, false); }
void BM_ReadAndEvaluateUnsorted(benchmark::State& state) { OpenAndEvaluate(state, true); }

void BM_Evaluate(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    arr_vb.flush();
    for (int i = 0; i < n; ++i) {
        const double vb = 20.0 * i / n;
        arr_vb.append(ext_float_pair(vb, 200.0 * std::tanh(4.0 * (vb - 6.0))));
    }
    for (auto _ : state) {
        recalc_arrays();
        benchmark::DoNotOptimize(arr_d2e.size());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

} // namespace

BENCHMARK(BM_ReadAndEvaluate)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndEvaluateUnsorted)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Evaluate)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
