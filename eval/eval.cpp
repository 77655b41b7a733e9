#include "eval/eval.h"

#include "core/file_io.h"
#include "core/import.h"

#include <cmath>
#include <new>
#include <cstdlib>
#include <cstring>

const char* const EVAL_USAGE =
    "Usage: titrion-eval [--recognize[=PERCENT]] [--format=text|csv|json] [--details] [--columns=V,E] FILE...\n"
    "Evaluates titration curves and prints their equivalence volumes (ml).\n"
    "FILE is a .tid data file or a text/CSV export of an instrument or a spreadsheet.\n"
    "  --recognize[=PERCENT]  only the steepest inflections, at least PERCENT (default 10)\n"
    "                         of the largest steepness of the curve\n"
    "  --format=FORMAT        text (default), csv or json: one record per result\n"
    "  --details              add x1, y1, x2, y2: the points the volume lies between, and\n"
    "                         window_ml: the window E' and E'' were smoothed over (0: none)\n"
    "                         and E'' there\n"
    "  --columns=V,E          the volume and potential columns of a text file:\n"
    "                         1-based numbers or header names\n"
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
        } else if (arg.rfind("--columns=", 0) == 0) {
            const std::size_t comma = arg.find(',', 10);
            if (comma == std::string::npos || comma == 10 || comma + 1 == arg.size())
                return "--columns needs two columns, V,E: " + arg;
            options.volume_column = arg.substr(10, comma - 10);
            options.potential_column = arg.substr(comma + 1);
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

std::string eval_read_problem(const ReadError& error) {
    switch (error.problem) {
    case ReadProblem::none:
        return "";
    case ReadProblem::cannot_open:
    case ReadProblem::cannot_read:
        return std::string("cannot be read: ") + std::strerror(error.system_error);
    case ReadProblem::too_large:
        return "larger than 1 GB, not read";
    case ReadProblem::no_memory:
        return "not enough memory to read it";
    case ReadProblem::not_a_point:
        return "not a point (Vb<TAB>E); the file is read up to here";
    case ReadProblem::no_point:
        return "holds text but no point (Vb<TAB>E)";
    }
    return "";
}

namespace {

// The table's points by the columns the options name; "" or what is wrong.
std::string import_points(ImportTable& table, const EvalOptions& options) {
    if (table.data_line != 0 && !options.volume_column.empty()) {
        table.volume_column = import_column(table, options.volume_column);
        table.potential_column = import_column(table, options.potential_column);
        if (table.volume_column < 0 || table.potential_column < 0)
            return "--columns: no column " + (table.volume_column < 0 ? options.volume_column : options.potential_column);
        import_extract(table);
    }
    switch (table.problem) {
    case ImportProblem::none:
        return "";
    case ImportProblem::no_text:
        return "the file is empty";
    case ImportProblem::no_memory:
        return "not enough memory to read it";
    default:
        return "no line holds a volume and a potential";
    }
}

std::string read_and_evaluate(const std::string& path, const EvalOptions& options, Document& doc, bool& evaluated) {
    dyn_array_direct<ext_float_pair> points(10, 10, nullptr);
    std::string bytes;
    ReadError read;
    if (!read_whole_file(path.c_str(), bytes, read)) return path + ": " + eval_read_problem(read);
    std::string error;
    // Our own files by their header line, read exactly as the program opens them: a malformed
    // line ends the reading there, and the reader names it.
    if (is_data_file(bytes.data(), bytes.size())) {
        if (!internal_read_bytes(bytes.data(), bytes.size(), points, nullptr, &read)) {
            error = line_text(path, read.line) + eval_read_problem(read);
            if (read.problem != ReadProblem::not_a_point) return error;
        }
    } else {
        ImportTable table = import_scan(bytes.data(), bytes.size());
        std::string().swap(bytes);
        const std::string problem = import_points(table, options);
        if (!problem.empty()) return path + ": " + problem;
        if (!points.reserve(static_cast<int>(table.points.size()))) throw std::bad_alloc();
        for (const ext_float_pair& point : table.points) points.append(point);
        // The first line for an editor to jump to; the count tells how much is missing.
        if (table.bad_count != 0)
            error = line_text(path, table.bad_lines.front()) + "not a volume and a potential; " +
                    std::to_string(table.bad_count) + " line(s) skipped, the others evaluated";
        if (table.doubtful)
            error += (error.empty() ? path + ": " : std::string("; ")) +
                     "the lines split into different numbers of cells or into numbers cut at a decimal comma: "
                     "check the separator and the decimal mark";
    }
    std::string no_description;
    doc.Replace(points, no_description);
    doc.Evaluate(options.recognize ? RECOGNIZE_STEEPEST : RECOGNIZE_ALL, options.percent);
    evaluated = true;
    return error;
}

} // namespace

std::string eval_file(const std::string& path, const EvalOptions& options, Document& doc, bool& evaluated) {
    evaluated = false;
    try {
        return read_and_evaluate(path, options, doc, evaluated);
    } catch (const std::bad_alloc&) {
        evaluated = false;
        return path + ": not enough memory to evaluate it";
    }
}

std::string eval_number(const ext_float& value) {
    if (!value || !std::isfinite(value.value)) return "";
    char text[40];
    return std::string(text, put_number(text, text + sizeof text, static_cast<double>(value)));
}

static std::string csv_cell(const std::string& text) {
    // A spreadsheet takes a cell that starts with one of these for a formula.
    const bool formula = !text.empty() && std::strchr("=+-@", text[0]) != nullptr;
    if (!formula && text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = formula ? "\"'" : "\"";
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
    const std::string text = eval_number(value);
    return text.empty() ? "null" : text;
}

// A name for a terminal: control characters as \xNN, so that none moves the cursor.
static std::string printable(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c >= 0x20 && c != 0x7F) {
            out += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            out += escape;
        }
    }
    return out;
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

void EvalWriter::file(const std::string& name, const Document& doc) {
    const dyn_array_direct<sorted_struct>& results = doc.derived.results;
    const double window = doc.derived.smoothing.window;
    int n = 0;
    if (options_.format == EvalFormat::text) {
        std::fprintf(out_, "%s: %d equivalence point%s\n", printable(name).c_str(), results.size(),
                     results.size() == 1 ? "" : "s");
        for (int i = 0; i < results.size(); ++i) {
            const sorted_struct& r = results.items[i];
            std::fprintf(out_, "  %d  %s ml", ++n, rounded(r.key, res_precis).c_str());
            if (options_.details)
                std::fprintf(out_, "  x1 %s  y1 %s  x2 %s  y2 %s", rounded(r.data.x1, vb_precis).c_str(),
                             rounded(r.data.y1, d2e_precis).c_str(), rounded(r.data.x2, vb_precis).c_str(),
                             rounded(r.data.y2, d2e_precis).c_str());
            std::fputs("\n", out_);
        }
        return;
    }
    for (int i = 0; i < results.size(); ++i) {
        const sorted_struct& r = results.items[i];
        const RESULT_DATA& d = r.data;
        if (options_.format == EvalFormat::csv) {
            std::fprintf(out_, "%s,%d,%s", csv_cell(name).c_str(), ++n, eval_number(r.key).c_str());
            if (options_.details)
                std::fprintf(out_, ",%s,%s,%s,%s,%s", eval_number(d.x1).c_str(), eval_number(d.y1).c_str(),
                             eval_number(d.x2).c_str(), eval_number(d.y2).c_str(), eval_number(window).c_str());
        } else {
            std::fprintf(out_, "%s\n{\"file\": %s, \"n\": %d, \"volume\": %s", first_ ? "" : ",",
                         json_string(name).c_str(), ++n, json_number(r.key).c_str());
            if (options_.details)
                std::fprintf(out_, ", \"x1\": %s, \"y1\": %s, \"x2\": %s, \"y2\": %s, \"window_ml\": %s}",
                             json_number(d.x1).c_str(), json_number(d.y1).c_str(), json_number(d.x2).c_str(),
                             json_number(d.y2).c_str(), json_number(window).c_str());
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
