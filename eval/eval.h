// titrion-eval: evaluates data files from the command line. The arguments, the reading of a
// file and the output in text, CSV or JSON live here, portable, for the tests to call.
#pragma once
#include "core/calc.h"
#include "core/determination.h"
#include "core/document.h"
#include "core/file_io.h"
#include "core/gran.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

enum class EvalFormat { text, csv, json };

// The determination given on the command line: each option given overrides that field of the
// determination a file stores, or supplies it.
struct DeterminationOptions {
    std::optional<double> concentration, titer, ratio, molar_mass, blank, sample;
    std::optional<SampleKind> sample_kind;
    std::optional<ResultUnit> unit;
    std::optional<EquivalencePointChoice> point;
    std::optional<DeterminationKind> kind;
    bool any() const;
};

struct EvalOptions {
    bool recognize = false;
    int percent = 10;  // the least steepness of a recognised point, % of the largest
    EvalFormat format = EvalFormat::text;
    bool details = false;
    bool help = false;
    // --columns=V,E: the columns of a text file, by number or header name ("" by default).
    std::string volume_column, potential_column;
    DeterminationOptions determination;
    bool stats = false;  // the files' results as one series of replicates
    // --endpoint=VALUE, repeatable: the values (in each file's quantity) whose volumes are reported.
    std::vector<double> endpoints;
    bool gran = false;   // add each file's Gran end point
    std::vector<std::string> files;
};

// One file's determination and its result, when the file or the options give one.
struct EvalResult {
    bool set = false;
    std::string problem;  // why there is no result, "" when there is one
    Determination determination;
    int point = 0;  // the number of the equivalence point used, 1-based
    DeterminationResult result;
    std::string unit;  // "mg/l", "%", ... or "titer"
};
// The determination the file's description stores, with the options put over it, and its
// result from the document's equivalence points.
EvalResult eval_determination(const Document& doc, const EvalOptions& options);

// A file's Gran end point: V0 from --sample=Xml, else from the file's determination.
struct EvalGran {
    GranResult gran;
    std::string problem;  // why there is none, "" when there is one
};
EvalGran eval_gran(const Document& doc, const EvalOptions& options);

// A series of replicates: the files whose results go into the statistics.
struct EvalSeries {
    std::vector<std::string> files;
    std::vector<double> values;
    std::string unit;
};

extern const char* const EVAL_USAGE;

// Fills `options` from the arguments after the program name; returns "" or what is wrong.
std::string eval_parse_args(int argc, const char* const* argv, EvalOptions& options);

// Reads one file (.tid by its header line, anything else through the import) into `doc` and
// evaluates it with the options' recognition, as the program would. Returns "" when every line
// was read, else a message naming the file and the line; the points read are evaluated even
// then.
std::string eval_file(const std::string& path, const EvalOptions& options, Document& doc, bool& evaluated);

// The reason a data file's reader gives for a problem, in words.
std::string eval_read_problem(const ReadError& error);

// Writes the results of the evaluated files one after another.
class EvalWriter {
public:
    EvalWriter(const EvalOptions& options, std::FILE* out) : options_(options), out_(out) {}
    void begin();
    void file(const std::string& name, const Document& doc, const EvalResult& result);
    void gran(const std::string& name, const EvalGran& gran);
    void statistics(const EvalSeries& series);
    void end();

private:
    // What a record is besides its volume: an inflection or the end point at a set value, and
    // the half-neutralisation pKa (with --details, of a pH document only).
    struct Kind {
        bool endpoint = false;
        double value = 0.0;
        Quantity quantity = Quantity::mv;
        bool has_pka = false;
        ext_float pka;
    };
    // One record of CSV or JSON; `determination` when the file has one.
    void record(const std::string& name, int number, const ext_float& volume, const RESULT_DATA* data, double window,
                const EvalResult* determination, const Kind& kind);
    // The records or lines of the --endpoint values.
    void endpoints(const std::string& name, const Document& doc);
    // A record's kind with the pKa given, which it carries with --details in a pH document.
    Kind WithPka(const Document& doc, const HalfNeutralisation& pka) const;
    void PrintPka(const Kind& kind);  // "  pKa 4.76" on a text line
    const EvalOptions& options_;
    std::FILE* out_;
    bool first_ = true;
};

// The shortest text of a number that reads back exactly; "" when undefined.
std::string eval_number(const ext_float& value);
