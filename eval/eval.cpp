#include "eval/eval.h"

#include "core/file_io.h"
#include "core/import.h"
#include "core/ph_results.h"
#include "core/statistics.h"

#include <cmath>
#include <new>
#include <cstdlib>
#include <cstring>

const char* const EVAL_USAGE =
    "Usage: titrion-eval [--recognize[=PERCENT]] [--format=text|csv|json] [--details] [--columns=V,E]\n"
    "                    [--endpoint=VALUE]... FILE...\n"
    "Evaluates titration curves and prints their equivalence volumes (ml).\n"
    "FILE is a .tid data file or a text/CSV export of an instrument or a spreadsheet.\n"
    "  --recognize[=PERCENT]  only the steepest inflections, at least PERCENT (default 10)\n"
    "                         of the largest steepness of the curve\n"
    "  --format=FORMAT        text (default), csv or json: one record per result\n"
    "  --details              add x1, y1, x2, y2: the points the volume lies between and E''\n"
    "                         there, and window_ml: the window E' and E'' were smoothed\n"
    "                         over (0: none); for a pH file also pka, the pH at half the\n"
    "                         volume (text and JSON; null when it cannot be read)\n"
    "  --columns=V,E          the volume and potential columns of a text file:\n"
    "                         1-based numbers or header names\n"
    "  --endpoint=VALUE       (repeatable) also the volume at which the curve first reaches\n"
    "                         VALUE (pH or mV, as the file is): a record with kind endpoint,\n"
    "                         its value and volume (null when never reached); with CSV the\n"
    "                         columns kind and value follow\n"
    "The determination a file stores turns the volume into a result; these options supply it\n"
    "or override its fields:\n"
    "  --titrant=C            the titrant's concentration, mol/l\n"
    "  --titer=T              its titer (factor)\n"
    "  --ratio=Z              moles of analyte per mole of titrant, e.g. 0.5 or 1/2\n"
    "  --molar-mass=M         the analyte's molar mass, g/mol\n"
    "  --blank=V              the blank, ml\n"
    "  --sample=Xml|Xg        the sample: a volume in ml or a mass in g\n"
    "  --unit=U               mol/l, mmol/l, g/l, mg/l (volume); %, mg/g, mmol/g (mass)\n"
    "  --ep=N|last|N-K        the equivalence point used, or the difference of two\n"
    "  --determine=content|titer  the analyte's content (default) or the titrant's titer\n"
    "  --gran                 add the Gran end point of a pH curve (after the equivalence\n"
    "                         point, 1.05 to 1.5 times the steepest inflection's volume) and\n"
    "                         its standard error u; V0 from --sample=Xml or the file's\n"
    "                         determination\n"
    "  --stats                the results of all files as one series: n, mean, s, RSD,\n"
    "                         95 % confidence interval and an outlier test\n"
    "  --help                 print this help\n"
    "Exit code: 0 when all files were read and every determination gave a result, 1 when\n"
    "any did not, 2 on a usage error.\n";

bool DeterminationOptions::any() const {
    return concentration || titer || ratio || molar_mass || blank || sample || unit || point || kind;
}

namespace {

// A number that fills `text` (decimal point or comma), finite.
bool number_text(const std::string& text, double& value) {
    ext_float x;
    const char* end = x.read_number(text.data(), text.data() + text.size());
    if (!end || end != text.data() + text.size() || !std::isfinite(x.value)) return false;
    value = x.value;
    return true;
}

// One of the determination's options; "" when `arg` is none of them, or what is wrong.
std::string parse_determination_arg(const std::string& arg, DeterminationOptions& d, bool& taken) {
    taken = true;
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals), value = equals == std::string::npos ? "" : arg.substr(equals + 1);
    double number = 0.0;
    const struct { const char* name; std::optional<double>* field; const char* unit; bool zero; } numbers[] = {
        {"--titrant", &d.concentration, "mol/l", false}, {"--titer", &d.titer, "", false},
        {"--molar-mass", &d.molar_mass, "g/mol", false}, {"--blank", &d.blank, "ml", true}};
    for (const auto& option : numbers) {
        if (name != option.name) continue;
        if (!number_text(value, number) || number < 0 || (number == 0 && !option.zero))
            return std::string(option.name) + " needs a " + (option.zero ? "number of 0 or more" : "positive number") +
                   (*option.unit ? std::string(" (") + option.unit + ")" : std::string()) + ": " + arg;
        *option.field = number;
        return "";
    }
    if (name == "--ratio") {
        if (!ParseRatio(value, number) || !(number > 0)) return "--ratio needs a positive number or fraction: " + arg;
        d.ratio = number;
    } else if (name == "--sample") {
        const bool ml = value.size() > 2 && value.compare(value.size() - 2, 2, "ml") == 0;
        const bool g = !ml && value.size() > 1 && value.back() == 'g';
        if ((!ml && !g) || !number_text(value.substr(0, value.size() - (ml ? 2 : 1)), number) || !(number > 0))
            return "--sample needs a positive volume in ml or mass in g, e.g. 10ml or 0.25g: " + arg;
        d.sample = number;
        d.sample_kind = ml ? SampleKind::volume : SampleKind::mass;
    } else if (name == "--unit") {
        ResultUnit unit;
        if (!ParseUnit(value, unit)) return "--unit needs mol/l, mmol/l, g/l, mg/l, %, mg/g or mmol/g: " + arg;
        d.unit = unit;
    } else if (name == "--ep") {
        EquivalencePointChoice choice;
        if (!ParseEquivalencePoint(value, choice)) return "--ep needs N, last or N-K: " + arg;
        d.point = choice;
    } else if (name == "--determine") {
        if (value != "content" && value != "titer") return "--determine needs content or titer: " + arg;
        d.kind = value == "titer" ? DeterminationKind::titer : DeterminationKind::content;
    } else {
        taken = false;
    }
    return "";
}

const char* field_text(DeterminationField field) {
    switch (field) {
    case DeterminationField::concentration: return "the titrant's concentration";
    case DeterminationField::titer: return "the titer";
    case DeterminationField::molar_mass: return "the molar mass";
    case DeterminationField::ratio: return "the ratio z";
    case DeterminationField::blank: return "the blank";
    case DeterminationField::sample: return "the sample";
    case DeterminationField::standard_concentration: return "the standard's concentration";
    case DeterminationField::unit: return "the unit (it does not suit the sample)";
    case DeterminationField::decimals: return "the decimals";
    case DeterminationField::equivalence_point: return "the equivalence point";
    case DeterminationField::set_values: return "the set values";
    case DeterminationField::initial_volume: return "the initial volume";
    default: return "a field";
    }
}

std::string problem_text(const DeterminationResult& result) {
    switch (result.problem) {
    case ResultProblem::none: return "";
    case ResultProblem::invalid_field:
        return std::string("the determination cannot be used: ") + field_text(result.field) + " is missing or wrong";
    case ResultProblem::no_points: return "no result: the curve has no equivalence point";
    case ResultProblem::missing_point: return "no result: the curve has no such equivalence point";
    case ResultProblem::negative_volume: return "no result: the volume less the blank is negative";
    case ResultProblem::zero_volume: return "no result: the volume less the blank is zero";
    case ResultProblem::not_reached: return "no result: the curve never reaches the set value";
    case ResultProblem::gran_not_ph: return "no result: the Gran plot needs a curve in pH";
    case ResultProblem::gran_no_v0: return "no result: the Gran plot needs V0, the sample's volume";
    case ResultProblem::gran_no_range: return "no result: the Gran plot's range needs an equivalence point";
    case ResultProblem::gran_no_line: return "no result: no Gran line through the range reaches F = 0";
    }
    return "no result";
}

}  // namespace

EvalResult eval_determination(const Document& doc, const EvalOptions& options) {
    EvalResult r;
    const DeterminationOptions& o = options.determination;
    // With --gran, --sample alone is V0 for the Gran plot, not a determination.
    const bool gran_v0_only = options.gran && o.sample && !o.concentration && !o.titer && !o.ratio && !o.molar_mass &&
                              !o.blank && !o.unit && !o.point && !o.kind;
    if (!doc.determination && (!o.any() || gran_v0_only)) return r;
    r.set = true;
    if (doc.determination) r.determination = *doc.determination;
    Determination& d = r.determination;
    if (o.concentration) d.concentration = *o.concentration;
    if (o.titer) d.titer = *o.titer;
    if (o.ratio) d.ratio = *o.ratio;
    if (o.molar_mass) d.molar_mass = *o.molar_mass;
    if (o.blank) d.blank = *o.blank;
    if (o.sample) d.sample = *o.sample, d.sample_kind = *o.sample_kind;
    if (o.unit) d.unit = *o.unit;
    if (o.point) d.point = *o.point;
    if (o.kind) d.kind = *o.kind;
    const dyn_array_direct<sorted_struct>& results = doc.derived.results;
    r.result = doc.ResultOf(d);
    r.point = d.point.point == EquivalencePointChoice::LAST ? results.size() : d.point.point;
    r.unit = d.kind == DeterminationKind::titer ? "titer" : UnitText(d.unit);
    r.problem = problem_text(r.result);
    return r;
}

EvalGran eval_gran(const Document& doc, const EvalOptions& options) {
    const DeterminationOptions& o = options.determination;
    const double v0 = o.sample && *o.sample_kind == SampleKind::volume ? *o.sample : DocumentV0(doc);
    EvalGran g;
    g.gran = EvaluateGran(doc, gran_options, v0);
    switch (g.gran.problem) {
    case GranProblem::none: break;
    case GranProblem::not_ph: g.problem = "no Gran end point: the curve is not in pH"; break;
    case GranProblem::no_v0:
        g.problem = "no Gran end point: V0 unknown (give --sample=V0ml or the sample volume in the file)";
        break;
    case GranProblem::no_equivalence:
        g.problem = "no Gran end point: no equivalence point to place the line's range by";
        break;
    default: g.problem = "no Gran end point: no line through the range reaches F = 0"; break;
    }
    return g;
}

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
        } else if (arg == "--stats") {
            options.stats = true;
        } else if (arg.rfind("--endpoint=", 0) == 0) {
            double value = 0.0;
            if (!number_text(arg.substr(11), value)) return "--endpoint needs a number (pH or mV): " + arg;
            options.endpoints.push_back(value);
        } else if (arg == "--gran") {
            options.gran = true;
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
            bool taken = false;
            const std::string problem = parse_determination_arg(arg, options.determination, taken);
            if (!problem.empty()) return problem;
            if (!taken) return "unknown option: " + arg;
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
    std::string description;  // a .tid's, where its determination is kept
    std::string bytes;
    ReadError read;
    if (!read_whole_file(path.c_str(), bytes, read)) return path + ": " + eval_read_problem(read);
    std::string error;
    // Our own files by their header line, read exactly as the program opens them: a malformed
    // line ends the reading there, and the reader names it.
    if (is_data_file(bytes.data(), bytes.size())) {
        if (!internal_read_bytes(bytes.data(), bytes.size(), points, &description, &read)) {
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
        description = QuantityLine(import_quantity(table));
        // The first line for an editor to jump to; the count tells how much is missing.
        if (table.bad_count != 0)
            error = line_text(path, table.bad_lines.front()) + "not a volume and a potential; " +
                    std::to_string(table.bad_count) + " line(s) skipped, the others evaluated";
        if (table.doubtful)
            error += (error.empty() ? path + ": " : std::string("; ")) +
                     "the lines split into different numbers of cells or into numbers cut at a decimal comma: "
                     "check the separator and the decimal mark";
    }
    doc.Replace(points, description);
    // The determination a .tid keeps in its description, as the program reads it.
    if (!doc.TakeDetermination()) doc.determination.reset();
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
        std::fprintf(out_, "file,n,volume%s,result,unit%s\n", options_.details ? ",x1,y1,x2,y2,window_ml" : "",
                     options_.endpoints.empty() ? "" : ",kind,value");
    else if (options_.format == EvalFormat::json)
        std::fputs("[", out_);
}

// The result as the determination shows it: its decimals, a decimal point.
static std::string result_text(const EvalResult& r) {
    return rounded(ext_float(r.result.value), r.determination.decimals);
}

// "pH 8.3", "-250 mV": a set value for a person, with the decimal point of the output.
static std::string value_label(Quantity quantity, double value) {
    const std::string number = eval_number(ext_float(value));
    return quantity == Quantity::ph ? "pH " + number : number + " mV";
}

EvalWriter::Kind EvalWriter::WithPka(const Document& doc, const HalfNeutralisation& pka) const {
    Kind kind;
    kind.quantity = doc.quantity;
    kind.has_pka = options_.details && doc.quantity == Quantity::ph;
    kind.pka = ext_float(pka.pka, pka.status != PKA_OK);
    return kind;
}

void EvalWriter::PrintPka(const Kind& kind) {
    if (kind.has_pka) std::fprintf(out_, "  pKa %s", kind.pka.undefined ? "none" : rounded(kind.pka, 2).c_str());
}

// After the inflections, the volume of each --endpoint value. Rows count on from the
// inflections, as the program's result list has them.
void EvalWriter::endpoints(const std::string& name, const Document& doc) {
    const int inflections = doc.derived.results.size();
    const std::vector<double>& values = options_.endpoints;
    std::vector<CurveReading> readings;
    for (double value : values) readings.push_back(set_value_end_point(doc.points.items, doc.points.size(), value));
    for (std::size_t k = 0; k < values.size(); ++k) {
        Kind kind = WithPka(doc, EndPointPka(doc, readings, k));  // as the program's list rows
        kind.endpoint = true;
        kind.value = values[k];
        const ext_float volume(readings[k].value, !readings[k].found);
        if (options_.format == EvalFormat::text) {
            std::fprintf(out_, "  %s  %s", value_label(doc.quantity, values[k]).c_str(),
                         readings[k].found ? (rounded(volume, res_precis) + " ml").c_str() : "not reached");
            PrintPka(kind);
            std::fputs("\n", out_);
        } else {
            record(name, inflections + static_cast<int>(k) + 1, volume, nullptr, doc.derived.smoothing.window, nullptr,
                   kind);
        }
    }
}

void EvalWriter::file(const std::string& name, const Document& doc, const EvalResult& determination) {
    const dyn_array_direct<sorted_struct>& results = doc.derived.results;
    const double window = doc.derived.smoothing.window;
    int n = 0;
    if (options_.format == EvalFormat::text) {
        // A pH document says so; an mV one is written as it always was.
        std::fprintf(out_, "%s: %d equivalence point%s%s\n", printable(name).c_str(), results.size(),
                     results.size() == 1 ? "" : "s", doc.quantity == Quantity::ph ? " (pH)" : "");
        for (int i = 0; i < results.size(); ++i) {
            const sorted_struct& r = results.items[i];
            std::fprintf(out_, "  %d  %s ml", ++n, rounded(r.key, res_precis).c_str());
            if (options_.details)
                std::fprintf(out_, "  x1 %s  y1 %s  x2 %s  y2 %s", rounded(r.data.x1, vb_precis).c_str(),
                             rounded(r.data.y1, d2e_precis).c_str(), rounded(r.data.x2, vb_precis).c_str(),
                             rounded(r.data.y2, d2e_precis).c_str());
            PrintPka(WithPka(doc, ResultRowPka(doc, i)));
            std::fputs("\n", out_);
        }
        endpoints(name, doc);
        if (determination.set) {
            if (determination.result.ok())
                std::fprintf(out_, "  result: %s %s (%s ml)\n", result_text(determination).c_str(),
                             determination.unit.c_str(), rounded(ext_float(determination.result.volume), res_precis).c_str());
            else
                std::fprintf(out_, "  result: none, %s\n", determination.problem.c_str());
        }
        return;
    }
    if (!determination.set) {
        for (int i = 0; i < results.size(); ++i)
            record(name, i + 1, results.items[i].key, &results.items[i].data, window, nullptr,
                   WithPka(doc, ResultRowPka(doc, i)));
        endpoints(name, doc);
        return;
    }
    // With a determination, one record: the equivalence point it uses, with the result.
    const DeterminationResult& result = determination.result;
    const bool resolved = result.ok() || result.problem == ResultProblem::negative_volume ||
                          result.problem == ResultProblem::zero_volume;
    const EquivalencePointChoice& choice = determination.determination.point;
    const bool inflection = choice.kind == EndPointKind::inflection;
    const sorted_struct* point = inflection && choice.minus == 0 ? results[determination.point - 1] : nullptr;
    // The pKa of the inflection used, when it is one of the list's.
    Kind kind = WithPka(doc, ResultRowPka(doc, point ? determination.point - 1 : -1));
    kind.has_pka = kind.has_pka && point;
    kind.endpoint = choice.kind == EndPointKind::set_value;
    kind.value = choice.set_value;
    record(name, inflection ? determination.point : 0, ext_float(result.volume, !resolved), point ? &point->data : nullptr,
           window, &determination, kind);
    endpoints(name, doc);
}

void EvalWriter::record(const std::string& name, int number, const ext_float& volume, const RESULT_DATA* data,
                        double window, const EvalResult* determination, const Kind& kind) {
    const ext_float none(0.0, true);
    const RESULT_DATA d = data ? *data : RESULT_DATA{none, none, none, none, none};
    const ext_float result = determination ? ext_float(determination->result.value, !determination->result.ok()) : none;
    if (options_.format == EvalFormat::csv) {
        std::fprintf(out_, "%s,%d,%s", csv_cell(name).c_str(), number, eval_number(volume).c_str());
        if (options_.details)
            std::fprintf(out_, ",%s,%s,%s,%s,%s", eval_number(d.x1).c_str(), eval_number(d.y1).c_str(),
                         eval_number(d.x2).c_str(), eval_number(d.y2).c_str(), eval_number(window).c_str());
        std::fprintf(out_, ",%s,%s", eval_number(result).c_str(), determination ? csv_cell(determination->unit).c_str() : "");
        if (!options_.endpoints.empty())
            std::fprintf(out_, ",%s,%s", kind.endpoint ? "endpoint" : "inflection",
                         kind.endpoint ? eval_number(ext_float(kind.value)).c_str() : "");
        std::fputs("\n", out_);
    } else {
        std::fprintf(out_, "%s\n{\"file\": %s, \"n\": %d, \"volume\": %s, \"kind\": \"%s\"", first_ ? "" : ",",
                     json_string(name).c_str(), number, json_number(volume).c_str(),
                     kind.endpoint ? "endpoint" : "inflection");
        if (kind.endpoint)
            std::fprintf(out_, ", \"value\": %s, \"quantity\": \"%s\"", json_number(ext_float(kind.value)).c_str(),
                         QuantityUnit(kind.quantity));
        if (kind.has_pka) std::fprintf(out_, ", \"pka\": %s", json_number(kind.pka).c_str());
        if (options_.details)
            std::fprintf(out_, ", \"x1\": %s, \"y1\": %s, \"x2\": %s, \"y2\": %s, \"window_ml\": %s",
                         json_number(d.x1).c_str(), json_number(d.y1).c_str(), json_number(d.x2).c_str(),
                         json_number(d.y2).c_str(), json_number(window).c_str());
        if (determination)
            std::fprintf(out_, ", \"result\": %s, \"unit\": %s", json_number(result).c_str(),
                         json_string(determination->unit).c_str());
        std::fputs("}", out_);
    }
    first_ = false;
}

void EvalWriter::gran(const std::string& name, const EvalGran& g) {
    const ext_float volume(g.gran.line.end_point, !g.gran.ok()), u(g.gran.line.u, !g.gran.ok());
    if (options_.format == EvalFormat::text) {
        if (g.gran.ok())
            std::fprintf(out_, "  Gran: %s ml, u %s ml\n", rounded(volume, res_precis).c_str(), rounded(u, res_precis).c_str());
        else
            std::fprintf(out_, "  Gran: none, %s\n", g.problem.c_str());
    } else if (options_.format == EvalFormat::csv) {
        // The columns of a result row: "gran" in place of its number, u left to text and JSON.
        std::fprintf(out_, "%s,gran,%s%s,,\n", csv_cell(name).c_str(), eval_number(volume).c_str(),
                     options_.details ? ",,,,," : "");
    } else {
        std::fprintf(out_, "%s\n{\"file\": %s, \"kind\": \"gran\", \"volume\": %s, \"u\": %s}", first_ ? "" : ",",
                     json_string(name).c_str(), json_number(volume).c_str(), json_number(u).c_str());
        first_ = false;
    }
}

void EvalWriter::statistics(const EvalSeries& series) {
    const SeriesStatistics s = ComputeStatistics(series.values);
    const bool flagged = s.outlier != SeriesStatistics::NO_OUTLIER;
    const std::string outlier = flagged ? series.files[s.outlier] : "";
    if (options_.format == EvalFormat::text) {
        // For a person: six significant digits, the RSD to 0.01 %; what cannot be computed says why.
        if (s.n == 0)
            std::fputs("\nSeries: no result to take statistics of\n", out_);
        else if (s.n == 1)
            std::fprintf(out_, "\nSeries of 1 result (%s): mean %.6g; s, RSD and the confidence interval need more\n",
                         series.unit.c_str(), s.mean);
        else
            std::fprintf(out_,
                         "\nSeries of %zu results (%s): mean %.6g, s %.6g, RSD %s %%, "
                         "95 %% confidence interval +-%.6g\n",
                         s.n, series.unit.c_str(), s.mean, s.s,
                         std::isfinite(s.rsd) ? rounded(s.rsd, 2).c_str() : "n/a (mean 0)", s.ci95);
        if (flagged) std::fprintf(out_, "  outlier (95 %%): %s\n", printable(outlier).c_str());
    } else if (options_.format == EvalFormat::csv) {
        std::fprintf(out_, "\nstatistics,n,mean,s,rsd,ci95,unit,outliers\nseries,%zu,%s,%s,%s,%s,%s,%s\n", s.n,
                     eval_number(s.mean).c_str(), eval_number(s.s).c_str(), eval_number(s.rsd).c_str(),
                     eval_number(s.ci95).c_str(), csv_cell(series.unit).c_str(), csv_cell(outlier).c_str());
    } else {
        std::fprintf(out_,
                     "%s\n{\"statistics\": {\"n\": %zu, \"mean\": %s, \"s\": %s, \"rsd\": %s, \"ci95\": %s, "
                     "\"unit\": %s, \"outliers\": [%s]}}",
                     first_ ? "" : ",", s.n, json_number(s.mean).c_str(), json_number(s.s).c_str(),
                     json_number(s.rsd).c_str(), json_number(s.ci95).c_str(), json_string(series.unit).c_str(),
                     flagged ? json_string(outlier).c_str() : "");
        first_ = false;
    }
}

void EvalWriter::end() {
    if (options_.format == EvalFormat::json) std::fputs(first_ ? "]\n" : "\n]\n", out_);
}
