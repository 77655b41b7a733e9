#include "export/csv_export.h"

#include <cstdio>
#include <string>

#include "core/calc.h"
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
    // Binary mode: the bytes, CR LF included, are exactly those written.
    return write_file_safely(file_name, [&out](std::FILE* file) {
        return std::fwrite(out.data(), 1, out.size(), file) == out.size();
    }, failure);
}
