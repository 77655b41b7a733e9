// Opening a document (reading, evaluating) with its points in ascending, scrambled and descending order; evaluating;
// recognising the steepest inflections on a noisy curve;
// saving and the HTML report alone; titrion-eval on a thousand files. With TITRION_BENCH_FILES set to a
// folder the files stay there for numpy_peer.py.
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include "core/calc.h"
#include "core/file_io.h"
#include "export/html_export.h"
enum Task { ascending, scrambled, descending, evaluate, save, save_exact, report };
static const char* const kept = std::getenv("TITRION_BENCH_FILES");
static void BM(benchmark::State& state, Task task, const char* name) {
    namespace fs = std::filesystem;
    const int n = static_cast<int>(state.range(0));
    const bool read = task <= descending, keep = read && kept && *kept;
    const std::string path =
        ((keep ? fs::path(kept) : fs::temp_directory_path()) / ("titrion-" + std::to_string(n) + "-" + name + ".tid"))
            .string();
    // Two equivalence points, step 20 / n ml; E to 0.1 mV as a meter shows it (six digits or fewer), or exact.
    arr_vb.flush();
    for (int i = 0; i < n; ++i) {
        const int k = task == scrambled ? int(i * 7919LL % n) : task == descending ? n - 1 - i : i;
        const double vb = 20.0 * k / n, e = 200.0 * std::tanh(4.0 * (vb - 6.0)) + 150.0 * std::tanh(3.0 * (vb - 14.0));
        arr_vb.append(ext_float_pair(vb, task == save_exact ? e : std::round(e * 10.0) / 10.0));
    }
    if (!internal_save(path.c_str(), arr_vb) || (recalc_arrays(), false)) std::abort();
    for (auto _ : state) {
        dyn_array_direct<ext_float_pair> scratch(10, 10, nullptr);
        if (!(read               ? internal_read(path.c_str(), scratch)
              : task == evaluate ? true
              : task == report   ? internal_export_html(document, path.c_str(), "Titrace", false)
                                 : internal_save(path.c_str(), arr_vb)))
            state.SkipWithError("failed");
        // Read points change places with the document's, as opening a file does.
        if (read)
            std::swap(arr_vb.items, scratch.items), std::swap(arr_vb.count, scratch.count),
                std::swap(arr_vb.capacity, scratch.capacity);
        if (task <= evaluate) recalc_arrays();
    }
    state.counters[task <= evaluate ? "results" : "bytes"] = task <= evaluate ? arr_res.size() : fs::file_size(path);
    state.SetItemsProcessed(state.iterations() * n), keep || fs::remove(path);
}
// titrion-eval as a lab system runs it: 1,000 files of 1,000 points, one process, CSV out.
static void BM_eval_program(benchmark::State& state) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "titrion-eval-bench";
    std::filesystem::create_directories(dir), arr_vb.flush();
    for (int i = 0; i < 1000; ++i)
        arr_vb.append(ext_float_pair(0.02 * i, std::round(2000.0 * std::tanh(4.0 * (0.02 * i - 6.0))) / 10.0));
    for (int f = 0; f < 1000; ++f)
        if (!internal_save((dir / ("c" + std::to_string(f) + ".tid")).string().c_str(), arr_vb)) std::abort();
    const std::string command = "cd '" + dir.string() + "' && '" TITRION_EVAL "' --format=csv *.tid > results.csv";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("titrion-eval failed");
    state.SetItemsProcessed(state.iterations() * 1000), std::filesystem::remove_all(dir);
}
// Wall time: the work is in the child process, not in this one.
BENCHMARK(BM_eval_program)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
// Recognition of the steepest inflections on a logger's curve: uniform steps, Gaussian reading
// noise of 0.2 mV, so that the derivatives are smoothed (compare with reading the same size).
static void BM_recognize(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::mt19937 random(1);
    std::normal_distribution<double> noise(0.0, 0.2);
    arr_vb.flush(), recognition = RECOGNIZE_STEEPEST;
    for (int i = 0; i < n; ++i) {
        const double vb = 20.0 * i / n;
        arr_vb.append(ext_float_pair(
            vb, 200.0 * std::tanh(4.0 * (vb - 6.0)) + 150.0 * std::tanh(3.0 * (vb - 14.0)) + noise(random)));
    }
    for (auto _ : state) recalc_arrays();
    state.counters["results"] = arr_res.size(), state.counters["window_points"] = smoothing.points;
    state.SetItemsProcessed(state.iterations() * n), recognition = RECOGNIZE_ALL;
}
BENCHMARK(BM_recognize)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
#define BENCH(task, ...) BENCHMARK_CAPTURE(BM, task, task, #task)->__VA_ARGS__->Unit(benchmark::kMillisecond)
#define SIZES RangeMultiplier(10)->Range(1000, 100000)
BENCH(ascending, SIZES);
BENCH(scrambled, SIZES);
BENCH(descending, SIZES);
BENCH(evaluate, SIZES);
BENCH(save, Arg(100000));
BENCH(save_exact, Arg(100000));
BENCH(report, Arg(10000));
BENCHMARK_MAIN();
