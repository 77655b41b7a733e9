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

// After the inflections, a row for each set value: its volume and label ("12,35;pH 8,3"), or
// an empty volume and why ("; pH 4,5; nedosaženo").
void put_end_points(std::string& out, const Document& doc, char sep) {
    const std::vector<CurveReading> readings = doc.SetValueEndPoints();
    for (std::size_t k = 0; k < readings.size(); ++k) {
        if (readings[k].found) {
            const ext_float volume(readings[k].value);
            put_value(out, &volume);
        }
        out += sep + CsvCell(QuantityValueText(doc.quantity, doc.determination->set_values[k]), sep);
        if (!readings[k].found) out += sep + std::string("nedosaženo");
        out += "\r\n";
    }
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
    const std::string unit = QuantityUnit(doc.quantity);
    out += std::string("n") + sep + "Vb/ml" + sep + "E/" + unit + sep + "E'/" + unit + ".ml-1" + sep + "E''/" + unit + ".ml-2\r\n";
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
    put_end_points(out, doc, sep);
    if (doc.determination) {
        // The determination's fields, then the result as a number that reads back exactly (an
        // empty cell and the reason when there is none).
        const DeterminationResult result = doc.Result();
        out += "\r\nStanovení:\r\n";
        const std::vector<DeterminationRow> rows = DeterminationRows(*doc.determination, result, use_comma, doc.quantity);
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
            out += sep + CsvCell(ProblemText(d, result, doc.quantity), sep);
        }
        out += "\r\n";
    }
    // Binary mode: the bytes, CR LF included, are exactly those written.
    return write_file_safely(file_name, [&out](std::FILE* file) {
        return std::fwrite(out.data(), 1, out.size(), file) == out.size();
    }, failure);
}
