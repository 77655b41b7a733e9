// Fuzz target: a flags byte, a file name up to a LF, then any bytes as a file for titrion-eval.
// Each output holds up: JSON parses strictly (no nan or inf), every CSV record has the
// header's columns, finite numbers and no name a spreadsheet takes for a formula, and the
// text has no control character but its line ends.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

#include "core/import.h"
#include "eval/eval.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// The JSON grammar, strictly; Value() reads one value at `p`.
struct Json {
    const char *p, *end;
    void Skip() {
        while (p < end && *p && std::strchr(" \t\r\n", *p)) ++p;
    }
    bool Eat(char c) { return Skip(), p < end && *p == c && ++p; }
    bool Digits() {
        const char* start = p;
        for (; p < end && std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        }
        return p > start;
    }
    bool Sequence(char close, bool members) {
        if (Eat(close)) return true;
        while ((!members || (String() && Eat(':'))) && Value())
            if (!Eat(',')) return Eat(close);
        return false;
    }
    bool String() {
        if (!Eat('"')) return false;
        for (; p < end && *p != '"'; ++p)
            if (static_cast<unsigned char>(*p) < 0x20 ||
                (*p == '\\' && (++p == end || !*p || !std::strchr("\"\\/bfnrtu", *p))))
                return false;
        return p < end && ++p;
    }
    bool Value() {
        if (Eat('[')) return Sequence(']', false);
        if (Eat('{')) return Sequence('}', true);
        if (p < end && *p == '"') return String();
        if (end - p >= 4 && std::memcmp(p, "null", 4) == 0) return p += 4, true;
        if (p < end && *p == '-') ++p;
        if (!(p < end && *p == '0' ? (++p, true) : Digits())) return false;
        if (p < end && *p == '.' && (++p, !Digits())) return false;
        return !(p < end && (*p == 'e' || *p == 'E') && (++p, p < end && (*p == '+' || *p == '-') && ++p, !Digits()));
    }
};

std::string Written(const EvalOptions& options, const std::string& name, const Document& doc) {
    char* buffer = nullptr;
    std::size_t length = 0;
    std::FILE* out = open_memstream(&buffer, &length);
    EvalWriter writer(options, out);
    writer.begin();
    writer.file(name, doc, eval_determination(doc, options));
    writer.end();
    std::fclose(out);
    const std::string text(buffer, length);
    std::free(buffer);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t lf = input.find('\n', 1);
    if (size < 1 || lf == std::string::npos) return 0;
    // A name comes from the command line: a C string.
    const std::string name = input.substr(1, std::min(lf, input.find('\0', 1)) - 1),
                      path = "/tmp/titrion-fuzz-eval-" + std::to_string(getpid());
    std::ofstream(path, std::ios::binary) << input.substr(lf + 1);
    EvalOptions options;
    options.details = data[0] & 1;
    options.recognize = data[0] & 2;
    bool evaluated = false;
    eval_file(path, options, document, evaluated);
    std::remove(path.c_str());
    if (!evaluated) return 0;
    options.format = EvalFormat::json;
    const std::string json = Written(options, name, document);
    Json reader = {json.data(), json.data() + json.size()};
    Check(reader.Value() && (reader.Skip(), reader.p == reader.end));
    options.format = EvalFormat::csv;
    const std::string csv = Written(options, name, document);
    std::size_t records = 0, columns = 0;
    for (std::size_t at = 0, lf; (lf = csv.find('\n', at)) != std::string::npos; at = lf + 1, ++records) {
        const std::vector<std::string> cells = import_cells(std::string_view(csv).substr(at, lf - at), ',');
        Check(records == 0 || (cells.size() == columns && !std::strchr("=+-@", csv[at + (csv[at] == '"')])));
        char* end = nullptr;
        for (std::size_t f = 2; records > 0 && f + 1 < cells.size(); ++f)  // the last is the unit
            Check(cells[f].empty() || (std::isfinite(std::strtod(cells[f].c_str(), &end)) && *end == 0));
        columns = cells.size();
    }
    Check(records == 1 + (eval_determination(document, options).set ? 1 : static_cast<std::size_t>(arr_res.size())));
    options.format = EvalFormat::text;
    for (unsigned char c : Written(options, name, document)) Check(c >= 0x20 || c == '\n');
    return 0;
}
