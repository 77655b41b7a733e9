// titrion-eval: the equivalence volumes of many data files, for scripts and lab systems.
#include "eval/eval.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#ifdef _WIN32
#include <io.h>
#define stderr_is_terminal() (_isatty(_fileno(stderr)) != 0)
// The Windows console leaves C:\Mereni\*.tid to the program: the C runtime expands it when asked.
extern "C" {
int _dowildcard = -1;
}
#else
#include <unistd.h>
#define stderr_is_terminal() (isatty(fileno(stderr)) != 0)
#endif

int main(int argc, char** argv) {
    EvalOptions options;
    const std::string problem = eval_parse_args(argc - 1, argv + 1, options);
    if (options.help) {
        std::fputs(EVAL_USAGE, stdout);
        return 0;
    }
    if (!problem.empty()) {
        std::fprintf(stderr, "titrion-eval: %s\n%s", problem.c_str(), EVAL_USAGE);
        return 2;
    }
    // Progress only for a person watching; a log or a pipe gets the messages alone.
    const bool progress = stderr_is_terminal() && options.files.size() > 1;
    EvalWriter writer(options, stdout);
    writer.begin();
    bool all_read = true;
    Document doc;
    EvalSeries series;
    const auto complain = [&](const std::string& message) {
        if (progress) std::fputs("\r", stderr);
        std::fprintf(stderr, "titrion-eval: %s\n", message.c_str());
        all_read = false;
    };
    for (std::size_t i = 0; i < options.files.size(); ++i) {
        const std::string& name = options.files[i];
        if (progress) std::fprintf(stderr, "\r%zu/%zu ", i + 1, options.files.size());
        bool evaluated = false;
        std::string error;
        try {
            error = eval_file(name, options, doc, evaluated);
        } catch (const std::bad_alloc&) {
            error = name + ": not enough memory to evaluate it";
            evaluated = false;
        }
        if (!error.empty()) complain(error);
        if (!evaluated) continue;
        const EvalResult result = eval_determination(doc, options);
        writer.file(name, doc, result);
        if (options.gran) {
            const EvalGran gran = eval_gran(doc, options);
            writer.gran(name, gran);
            if (!gran.problem.empty()) complain(name + ": " + gran.problem);
        }
        if (!result.set) continue;
        if (!result.problem.empty()) {
            complain(name + ": " + result.problem);
        } else if (options.stats && !series.values.empty() && result.unit != series.unit) {
            complain(name + ": its result in " + result.unit + " cannot join a series in " + series.unit);
        } else {
            series.files.push_back(name), series.values.push_back(result.result.value), series.unit = result.unit;
        }
    }
    if (options.stats) writer.statistics(series);
    writer.end();
    if (progress) std::fputs("\n", stderr);
    // A full disk or a closed pipe loses the results: that is a failure, not a success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "titrion-eval: the output cannot be written: %s\n", std::strerror(errno));
        return 1;
    }
    return all_read ? 0 : 1;
}
