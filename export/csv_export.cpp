#include "export/csv_export.h"

#include <cstdio>
#include <string>
#include <vector>

#include "core/calc.h"
#include "core/determination_text.h"
#include "core/file_io.h"
#include "core/safe_write.h"

namespace {

// An undefined value (E' between equal volumes) leaves its cell empty.
void put_value(std::string& out, const ext_float* value) {
    if (!value || value->undefined) return;
    char text[40];
    const char* end = put_number(text, text + sizeof text, value->value);
    for (const char* p = text; p != end; ++p) out += *p == '.' && use_comma ? ',' : *p;
}

} // namespace

std::string CsvCell(const std::string& cell, char sep) {
    if (cell.find_first_of(std::string(1, sep) + "\"\r\n") == std::string::npos) return cell;
    std::string out = "\"";
    for (char c : cell) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

bool internal_export_csv(const Document& doc, const char* file_name, WriteFailure* failure) {
    const char sep = use_comma ? ';' : ',';
    std::string out = "\xEF\xBB\xBF";
    out += std::string("n") + sep + "Vb/ml" + sep + "E/mV" + sep + "E'/mV.ml-1" + sep + "E''/mV.ml-2\r\n";
    const int n = doc.points.size();
    for (int i = 0; i < n; ++i) {
        // The lists show E' in the row after its point's row; one row a point keeps it there.
        out += std::to_string(i + 1) + sep;
        put_value(out, &doc.points[i]->vb);
        out += sep;
        put_value(out, &doc.points[i]->e);
        out += sep;
        if (i < n - 1) put_value(out, doc.derived.de[i]);
        out += sep;
        if (i > 0 && i < n - 1) put_value(out, doc.derived.d2e[i - 1]);
        out += "\r\n";
    }
    // Import stops at "Výsledky:", so the file reads back to its points alone.
    out += "\r\nVýsledky:\r\nVb/ml\r\n";
    for (int i = 0; i < doc.derived.results.size(); ++i) {
        put_value(out, &doc.derived.results[i]->key);
        out += "\r\n";
    }
    if (doc.determination) {
        // The determination's fields, then the result as a number that reads back exactly (an
        // empty cell and the reason when there is none).
        const DeterminationResult result = doc.Result();
        out += "\r\nStanovení:\r\n";
        const std::vector<DeterminationRow> rows = DeterminationRows(*doc.determination, result, use_comma);
        for (std::size_t i = 0; i + 1 < rows.size(); ++i) out += rows[i].name + sep + CsvCell(rows[i].value, sep) + "\r\n";
        const Determination& d = *doc.determination;
        out += rows.back().name + sep;
        if (result.ok()) {
            ext_float value(result.value);
            put_value(out, &value);
            out += sep;
            out += d.kind == DeterminationKind::titer ? "titr" : UnitText(d.unit);
        } else {
            out += sep;
            out += sep + CsvCell(ProblemText(d, result), sep);
        }
        out += "\r\n";
    }
    // Binary mode: the bytes, CR LF included, are exactly those written.
    return write_file_safely(file_name, [&out](std::FILE* file) {
        return std::fwrite(out.data(), 1, out.size(), file) == out.size();
    }, failure);
}
