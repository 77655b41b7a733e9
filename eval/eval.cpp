#include "eval/eval.h"

#include "core/file_io.h"
#include "core/import.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char* const EVAL_USAGE =
    "Usage: titrion-eval [--recognize[=PERCENT]] [--format=text|csv|json] [--details] FILE...\n"
    "Evaluates titration curves and prints their equivalence volumes (ml).\n"
    "FILE is a .tid data file or a text/CSV export of an instrument or a spreadsheet.\n"
    "  --recognize[=PERCENT]  only the steepest inflections, at least PERCENT (default 10)\n"
    "                         of the largest steepness of the curve\n"
    "  --format=FORMAT        text (default), csv or json: one record per result\n"
    "  --details              add x1, y1, x2, y2: the points the volume lies between, and\n"
    "                         window_ml: the window E' and E'' were smoothed over (0: none)\n"
    "                         and E'' there\n"
    "  --help                 print this help\n"
    "Exit code: 0 when all files were read, 1 when any was not, 2 on a usage error.\n";

std::string eval_parse_args(int argc, const char* const* argv, EvalOptions& options) {
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            options.help = true;
        } else if (arg == "--details") {
            options.details = true;
        } else if (arg == "--recognize") {
            options.recognize = true;
        } else if (arg.rfind("--recognize=", 0) == 0) {
            const char* text = arg.c_str() + 12;
            char* end = nullptr;
            const long percent = std::strtol(text, &end, 10);
            if (!*text || *end || percent < 0 || percent > 100)
                return "--recognize needs a whole percentage from 0 to 100: " + arg;
            options.recognize = true;
            options.percent = static_cast<int>(percent);
        } else if (arg == "--format=text") {
            options.format = EvalFormat::text;
        } else if (arg == "--format=csv") {
            options.format = EvalFormat::csv;
        } else if (arg == "--format=json") {
            options.format = EvalFormat::json;
        } else if (arg == "--") {
            options.files.insert(options.files.end(), argv + i + 1, argv + argc);
            break;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unknown option: " + arg;
        } else {
            options.files.push_back(arg);
        }
    }
    if (options.files.empty() && !options.help) return "no file given";
    return "";
}

static std::string line_text(const std::string& path, int line) {
    return path + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": ";
}

std::string eval_file(const std::string& path, const EvalOptions& options, bool& evaluated) {
    recognition = options.recognize ? RECOGNIZE_STEEPEST : RECOGNIZE_ALL;
    min_steepness = options.percent;
    evaluated = false;
    arr_vb.flush();
    std::string bytes;
    if (!import_read_file(path.c_str(), bytes)) return path + ": cannot be read: " + std::strerror(errno);
    std::string error;
    // Our own files by their header line, read exactly as the program opens them: a malformed
    // line ends the reading there.
    if (bytes.compare(0, 12, "# Titrionika") == 0) {
        if (!internal_read(path.c_str(), arr_vb)) {
            // The import names the line that is not a point.
            const ImportTable table = import_scan(bytes.data(), bytes.size());
            const int line = table.bad_lines.empty() ? 0 : table.bad_lines.front();
            error = line_text(path, line) + "not a point (Vb<TAB>E); the file is read up to here";
        }
    } else {
        ImportTable table = import_scan(bytes.data(), bytes.size());
        if (table.problem != ImportProblem::none)
            return path + ": " +
                   (table.problem == ImportProblem::no_text ? "the file is empty"
                                                            : "no line holds a volume and a potential");
        for (const ext_float_pair& point : table.points) arr_vb.append(point);
        // The first line for an editor to jump to; the count tells how much is missing.
        if (!table.bad_lines.empty())
            error = line_text(path, table.bad_lines.front()) + "not a volume and a potential; " +
                    std::to_string(table.bad_lines.size()) + " line(s) skipped, the others evaluated";
    }
    recalc_arrays();
    evaluated = true;
    return error;
}

std::string eval_number(const ext_float& value) {
    if (!value) return "";
    char text[40];
    return std::string(text, put_number(text, text + sizeof text, static_cast<double>(value)));
}

static std::string csv_cell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

static std::string json_string(const std::string& text) {
    std::string quoted = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += static_cast<char>(c);
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            quoted += escape;
        } else {
            quoted += static_cast<char>(c);  // UTF-8 passes as it is
        }
    }
    return quoted + "\"";
}

static std::string json_number(const ext_float& value) {
    return value ? eval_number(value) : "null";
}

// Text for a person: the decimals of the program's lists.
static std::string rounded(const ext_float& value, int decimals) {
    char text[64];
    value.format(text, 0, decimals, false);
    return text;
}

void EvalWriter::begin() {
    if (options_.format == EvalFormat::csv)
        std::fprintf(out_, "file,n,volume%s\n", options_.details ? ",x1,y1,x2,y2,window_ml" : "");
    else if (options_.format == EvalFormat::json)
        std::fputs("[", out_);
}

void EvalWriter::file(const std::string& name, const std::vector<sorted_struct>& results) {
    int n = 0;
    if (options_.format == EvalFormat::text) {
        std::fprintf(out_, "%s: %zu equivalence point%s\n", name.c_str(), results.size(),
                     results.size() == 1 ? "" : "s");
        for (const sorted_struct& r : results) {
            std::fprintf(out_, "  %d  %s ml", ++n, rounded(r.key, res_precis).c_str());
            if (options_.details)
                std::fprintf(out_, "  x1 %s  y1 %s  x2 %s  y2 %s", rounded(r.data.x1, vb_precis).c_str(),
                             rounded(r.data.y1, d2e_precis).c_str(), rounded(r.data.x2, vb_precis).c_str(),
                             rounded(r.data.y2, d2e_precis).c_str());
            std::fputs("\n", out_);
        }
        return;
    }
    for (const sorted_struct& r : results) {
        const RESULT_DATA& d = r.data;
        if (options_.format == EvalFormat::csv) {
            std::fprintf(out_, "%s,%d,%s", csv_cell(name).c_str(), ++n, eval_number(r.key).c_str());
            if (options_.details)
                std::fprintf(out_, ",%s,%s,%s,%s,%s", eval_number(d.x1).c_str(), eval_number(d.y1).c_str(),
                             eval_number(d.x2).c_str(), eval_number(d.y2).c_str(), eval_number(smoothing.window).c_str());
        } else {
            std::fprintf(out_, "%s\n{\"file\": %s, \"n\": %d, \"volume\": %s", first_ ? "" : ",",
                         json_string(name).c_str(), ++n, json_number(r.key).c_str());
            if (options_.details)
                std::fprintf(out_, ", \"x1\": %s, \"y1\": %s, \"x2\": %s, \"y2\": %s, \"window_ml\": %s}",
                             json_number(d.x1).c_str(), json_number(d.y1).c_str(), json_number(d.x2).c_str(),
                             json_number(d.y2).c_str(), json_number(smoothing.window).c_str());
            else
                std::fputs("}", out_);
        }
        if (options_.format == EvalFormat::csv) std::fputs("\n", out_);
        first_ = false;
    }
}

void EvalWriter::end() {
    if (options_.format == EvalFormat::json) std::fputs(first_ ? "]\n" : "\n]\n", out_);
}
