// Opening a document (reading the file and evaluating the curve) with its points in ascending,
// scrambled and descending order; evaluating, saving and the HTML report alone. With
// TITRION_BENCH_FILES set to a folder the data files stay there for numpy_peer.py.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "core/calc.h"
#include "core/file_io.h"
#include "export/html_export.h"

namespace {

namespace fs = std::filesystem;
const char* const kept = std::getenv("TITRION_BENCH_FILES");

// Two equivalence points at volume step 20 / n ml, E read to 0.1 mV as a meter shows it (six
// digits or fewer, as the program wrote numbers before it saved them exactly) or `exact`.
ext_float_pair CurvePoint(int k, int n, bool exact = false) {
    const double vb = 20.0 * k / n;
    const double e = 200.0 * std::tanh(4.0 * (vb - 6.0)) + 150.0 * std::tanh(3.0 * (vb - 14.0));
    return ext_float_pair(vb, exact ? e : std::round(e * 10.0) / 10.0);
}

void BM_ReadAndEvaluate(benchmark::State& state, const std::string& order) {
    const int n = static_cast<int>(state.range(0));
    const fs::path path = (kept && *kept ? fs::path(kept) : fs::temp_directory_path()) /
                          ("titrion-" + std::to_string(n) + "-" + order + ".tid");
    dyn_array_direct<ext_float_pair> points(10, 10, nullptr);
    for (int i = 0; i < n; ++i)
        points.append(CurvePoint(order == "ascending" ? i : order == "descending" ? n - 1 - i : int(i * 7919LL % n), n));
    if (!internal_save(path.string().c_str(), points)) std::abort();
    for (auto _ : state) {
        dyn_array_direct<ext_float_pair> scratch(10, 10, nullptr);
        if (!internal_read(path.string().c_str(), scratch)) state.SkipWithError("read failed");
        // The points change places with the document's, as opening a file does.
        std::swap(arr_vb.items, scratch.items), std::swap(arr_vb.count, scratch.count);
        std::swap(arr_vb.capacity, scratch.capacity);
        recalc_arrays();
    }
    state.counters["results"] = arr_res.size();
    state.SetItemsProcessed(state.iterations() * n);
    if (!kept || !*kept) fs::remove(path);
}

enum Task { evaluate, save, save_exact, report };

void BM_Document(benchmark::State& state, Task task) {
    const int n = static_cast<int>(state.range(0));
    arr_vb.flush();
    for (int i = 0; i < n; ++i) arr_vb.append(CurvePoint(i, n, task == save_exact));
    recalc_arrays();
    const std::string path = (fs::temp_directory_path() / "titrion-bench.out").string();
    for (auto _ : state) {
        const bool done = task == evaluate ? (recalc_arrays(), true)
                          : task == report ? internal_export_html(path.c_str(), "Titrace", false)
                                           : internal_save(path.c_str(), arr_vb);
        if (!done) state.SkipWithError("failed");
    }
    if (task != evaluate) state.counters["bytes"] = static_cast<double>(fs::file_size(path)), fs::remove(path);
    state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

#define SIZES RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)
BENCHMARK_CAPTURE(BM_ReadAndEvaluate, ascending, "ascending")->SIZES;
BENCHMARK_CAPTURE(BM_ReadAndEvaluate, scrambled, "scrambled")->SIZES;
BENCHMARK_CAPTURE(BM_ReadAndEvaluate, descending, "descending")->SIZES;
BENCHMARK_CAPTURE(BM_Document, evaluate, evaluate)->SIZES;
BENCHMARK_CAPTURE(BM_Document, save, save)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Document, save_exact, save_exact)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Document, report, report)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
