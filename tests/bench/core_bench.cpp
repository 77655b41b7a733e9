// Opening a document (reading the file and evaluating the curve) for growing documents in
// ascending, scrambled and descending order; evaluating alone; saving; the HTML report.
// With TITRION_BENCH_FILES set to a folder the data files are kept there for the numpy
// peer (tests/bench/numpy_peer.py).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "core/calc.h"
#include "core/file_io.h"
#include "export/html_export.h"

namespace {

enum class Order { ascending, scrambled, descending };
const char* const ORDER_NAMES[] = {"ascending", "scrambled", "descending"};

std::filesystem::path Folder() {
    const char* kept = std::getenv("TITRION_BENCH_FILES");
    return kept && *kept ? std::filesystem::path(kept) : std::filesystem::temp_directory_path();
}

void Remove(const std::string& path) {
    const char* kept = std::getenv("TITRION_BENCH_FILES");
    if (!kept || !*kept) std::remove(path.c_str());
}

// A titration curve with two equivalence points at volume step 20 / n ml, E read to
// 0.1 mV as a meter shows it (values of six digits or fewer, as the program wrote them
// before numbers were saved exactly); `exact` keeps every digit of E instead.
ext_float_pair CurvePoint(int k, int n, bool exact = false) {
    const double vb = 20.0 * k / n;
    const double e = 200.0 * std::tanh(4.0 * (vb - 6.0)) + 150.0 * std::tanh(3.0 * (vb - 14.0));
    return ext_float_pair(vb, exact ? e : std::round(e * 10.0) / 10.0);
}

// The `n` points written in the given order, as the program writes them.
std::string MakeFile(int n, Order order) {
    const std::string path =
        (Folder() / ("titrion-" + std::to_string(n) + "-" + ORDER_NAMES[static_cast<int>(order)] + ".tid")).string();
    dyn_array_direct<ext_float_pair> points(10, 10, nullptr);
    for (int i = 0; i < n; ++i) {
        const int k = order == Order::ascending    ? i
                      : order == Order::descending ? n - 1 - i
                                                   : static_cast<int>((static_cast<long long>(i) * 7919) % n);
        points.append(CurvePoint(k, n));
    }
    if (!internal_save(path.c_str(), points)) std::abort();
    return path;
}

void OpenAndEvaluate(benchmark::State& state, Order order) {
    const int n = static_cast<int>(state.range(0));
    const std::string path = MakeFile(n, order);
    for (auto _ : state) {
        dyn_array_direct<ext_float_pair> scratch(10, 10, nullptr);
        if (!internal_read(path.c_str(), scratch)) state.SkipWithError("read failed");
        // The points change places with the document's, as opening a file does.
        std::swap(arr_vb.items, scratch.items);
        std::swap(arr_vb.count, scratch.count);
        std::swap(arr_vb.capacity, scratch.capacity);
        recalc_arrays();
        benchmark::DoNotOptimize(arr_res.size());
    }
    state.counters["results"] = arr_res.size();
    state.SetItemsProcessed(state.iterations() * n);
    Remove(path);
}

void BM_ReadAndEvaluate(benchmark::State& state) { OpenAndEvaluate(state, Order::ascending); }
void BM_ReadAndEvaluateUnsorted(benchmark::State& state) { OpenAndEvaluate(state, Order::scrambled); }
void BM_ReadAndEvaluateDescending(benchmark::State& state) { OpenAndEvaluate(state, Order::descending); }

void LoadCurve(int n, bool exact = false) {
    arr_vb.flush();
    for (int i = 0; i < n; ++i) arr_vb.append(CurvePoint(i, n, exact));
    recalc_arrays();
}

void BM_Evaluate(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    LoadCurve(n);
    for (auto _ : state) {
        recalc_arrays();
        benchmark::DoNotOptimize(arr_d2e.size());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void Save(benchmark::State& state, bool exact) {
    const int n = static_cast<int>(state.range(0));
    LoadCurve(n, exact);
    const std::string path = (std::filesystem::temp_directory_path() / "titrion-bench-save.tid").string();
    for (auto _ : state) {
        if (!internal_save(path.c_str(), arr_vb)) state.SkipWithError("save failed");
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    state.SetItemsProcessed(state.iterations() * n);
    std::remove(path.c_str());
}

// Values of six digits or fewer, and values needing up to 17 digits to read back.
void BM_Save(benchmark::State& state) { Save(state, false); }
void BM_SaveFullPrecision(benchmark::State& state) { Save(state, true); }

void BM_HtmlReport(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    LoadCurve(n);
    const std::string path = (std::filesystem::temp_directory_path() / "titrion-bench-report.html").string();
    for (auto _ : state) {
        if (!internal_export_html(path.c_str(), "Titrace", false)) state.SkipWithError("report failed");
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    state.SetItemsProcessed(state.iterations() * n);
    std::remove(path.c_str());
}

} // namespace

BENCHMARK(BM_ReadAndEvaluate)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndEvaluateUnsorted)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndEvaluateDescending)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Evaluate)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFullPrecision)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HtmlReport)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
