// Opening a document (reading the file, evaluating the curve) with its points in ascending,
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

enum Task { ascending, scrambled, descending, evaluate, save, save_exact, report };
const char* const kept = std::getenv("TITRION_BENCH_FILES");

void BM(benchmark::State& state, Task task, const char* name) {
    const int n = static_cast<int>(state.range(0));
    const std::filesystem::path path = (kept && *kept && task <= descending ? std::filesystem::path(kept)
                                        : std::filesystem::temp_directory_path()) / ("titrion-" + std::to_string(n) + "-" + name + ".tid");
    // Two equivalence points at volume step 20 / n ml, E read to 0.1 mV as a meter shows it (six
    // digits or fewer, as the program wrote numbers before it saved them exactly) or exact.
    arr_vb.flush();
    for (int i = 0; i < n; ++i) {
        const int k = task == scrambled ? int(i * 7919LL % n) : task == descending ? n - 1 - i : i;
        const double vb = 20.0 * k / n, e = 200.0 * std::tanh(4.0 * (vb - 6.0)) + 150.0 * std::tanh(3.0 * (vb - 14.0));
        arr_vb.append(ext_float_pair(vb, task == save_exact ? e : std::round(e * 10.0) / 10.0));
    }
    if (!internal_save(path.string().c_str(), arr_vb)) std::abort();
    recalc_arrays();
    for (auto _ : state) {
        dyn_array_direct<ext_float_pair> scratch(10, 10, nullptr);
        const bool done = task <= descending ? internal_read(path.string().c_str(), scratch)
                          : task == evaluate ? true
                          : task == report   ? internal_export_html(path.string().c_str(), "Titrace", false)
                                             : internal_save(path.string().c_str(), arr_vb);
        if (!done) state.SkipWithError("failed");
        // Read points change places with the document's, as opening a file does.
        if (task <= descending) std::swap(arr_vb.items, scratch.items), std::swap(arr_vb.count, scratch.count);
        if (task <= descending) std::swap(arr_vb.capacity, scratch.capacity);
        if (task <= evaluate) recalc_arrays();
    }
    state.counters[task <= evaluate ? "results" : "bytes"] = task <= evaluate ? arr_res.size() : std::filesystem::file_size(path);
    state.SetItemsProcessed(state.iterations() * n);
    if (!kept || !*kept || task > descending) std::filesystem::remove(path);
}

}  // namespace

#define BENCH(task, ...) BENCHMARK_CAPTURE(BM, task, task, #task)->__VA_ARGS__->Unit(benchmark::kMillisecond)
BENCH(ascending, RangeMultiplier(10)->Range(1000, 100000));
BENCH(scrambled, RangeMultiplier(10)->Range(1000, 100000));
BENCH(descending, RangeMultiplier(10)->Range(1000, 100000));
BENCH(evaluate, RangeMultiplier(10)->Range(1000, 100000));
BENCH(save, Arg(100000));
BENCH(save_exact, Arg(100000));
BENCH(report, Arg(10000));
BENCHMARK_MAIN();
