// titrion-eval: evaluates data files from the command line. The arguments, the reading of a
// file and the output in text, CSV or JSON live here, portable, for the tests to call.
#pragma once
#include "core/calc.h"
#include "core/document.h"
#include "core/file_io.h"

#include <cstdio>
#include <string>
#include <vector>

enum class EvalFormat { text, csv, json };

struct EvalOptions {
    bool recognize = false;
    int percent = 10;  // the least steepness of a recognised point, % of the largest
    EvalFormat format = EvalFormat::text;
    bool details = false;
    bool help = false;
    // --columns=V,E: the columns of a text file, by number or header name ("" by default).
    std::string volume_column, potential_column;
    std::vector<std::string> files;
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
    void file(const std::string& name, const Document& doc);
    void end();

private:
    const EvalOptions& options_;
    std::FILE* out_;
    bool first_ = true;
};

// The shortest text of a number that reads back exactly; "" when undefined.
std::string eval_number(const ext_float& value);
