#include "export/html_export.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/calc.h"
#include "core/cp1250.h"
#include "core/safe_write.h"
#include "core/determination_text.h"
#include "core/ph_results.h"
#include "core/gran.h"
#include "core/ph_calibration.h"

#include <string>
#include <vector>

char* HTML_quote(const char* text) {
    if (!text) text = "";
    std::size_t length = 0;
    std::size_t brackets = 0;
    for (const char* p = text; *p; ++p, ++length) {
        if (*p == '<' || *p == '>') ++brackets;
    }
    char* quoted = static_cast<char*>(std::malloc(length + 3 * brackets + 1));
    if (!quoted) return nullptr;
    char* out = quoted;
    for (const char* p = text; *p; ++p) {
        if (*p == '<') { std::memcpy(out, "&lt;", 4); out += 4; }
        else if (*p == '>') { std::memcpy(out, "&gt;", 4); out += 4; }
        else *out++ = *p;
    }
    *out = '\0';
    return quoted;
}

std::string HtmlText(const std::string& utf8) {
    std::string out;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(utf8.c_str());
    while (*s) {
        long cp;
        const std::size_t length = decode_utf8(s, cp);
        if (cp == '<') out += "&lt;";
        else if (cp == '>') out += "&gt;";
        else if (cp == '&') out += "&amp;";
        else if (cp >= 0 && cp1250_from_unicode(static_cast<unsigned long>(cp)) < 0) out += "&#" + std::to_string(cp) + ";";
        else out.append(reinterpret_cast<const char*>(s), length);
        s += length;
    }
    return out;
}

namespace {

// Collects the page and writes it a block at a time; the first failed write is remembered.
class PageWriter {
public:
    explicit PageWriter(std::FILE* file) : file_(file), used_(0), ok_(true) {}

    PageWriter& text(const char* utf8) {
        std::size_t length = utf8_to_cp1250(utf8, block_ + used_, sizeof block_ - used_);
        if (used_ + length < sizeof block_) {
            used_ += length;
            return *this;
        }
        flush();
        length = utf8_to_cp1250(utf8, block_, sizeof block_);
        if (length < sizeof block_) {
            used_ = length;
        } else if (char* large = static_cast<char*>(std::malloc(length + 1))) {
            // Longer than a block (a long title): written on its own.
            utf8_to_cp1250(utf8, large, length + 1);
            write(large, length);
            std::free(large);
        } else {
            ok_ = false;
        }
        return *this;
    }
    PageWriter& number(const ext_float& value, int precision) {
        char buffer[EXT_FLOAT_TEXT];
        value.format(buffer, 0, precision, use_comma);
        return text(buffer);
    }
    PageWriter& integer(int value) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%d", value);
        return text(buffer);
    }
    // Line ends are CR LF whatever the platform's text files use.
    PageWriter& line(const char* utf8 = "") { return text(utf8).text("\r\n"); }

    // Writes what is collected; false once a write has failed.
    bool flush() {
        write(block_, used_);
        used_ = 0;
        return ok_;
    }

private:
    void write(const char* bytes, std::size_t length) {
        if (ok_ && length) ok_ = std::fwrite(bytes, 1, length, file_) == length;
    }

    std::FILE* file_;
    std::size_t used_;
    bool ok_;
    char block_[1 << 15];
};

void write_points(PageWriter& page, const Document& doc) {
    const int n = doc.points.size();
    for (int i = 0; i < n; ++i) {
        const ext_float_pair& point = *doc.points[i];
        page.text("<TR><TD>").integer(i + 1)
            .text("</TD><TD>").number(point.vb, vb_precis)
            .text("</TD><TD>").number(point.e, e_precis)
            .text("</TD><TD></TD><TD>");
        if (i > 0 && i < n - 1) {
            if (const ext_float* d2e = doc.derived.d2e[i - 1]) page.number(*d2e, d2e_precis);
        }
        page.line("</TD></TR>");
        if (i < n - 1) {
            page.text("<TR><TD></TD><TD></TD><TD></TD><TD>");
            if (const ext_float* de = doc.derived.de[i]) page.number(*de, de_precis);
            page.line("</TD><TD></TD></TR>");
        }
    }
}

// With the criterion on, the results are followed by a line naming it, also when it left none:
// a reader of the page must know that some sign changes of E'' were left out.
void write_results(PageWriter& page, const Document& doc) {
    const dyn_array_direct<sorted_struct>& results = doc.derived.results;
    const bool criterion = recognition == RECOGNIZE_STEEPEST;
    if (results.is_empty() && !criterion) return;
    page.line("<HR>").line("<H2>Výsledky:</H2>");
    if (!results.is_empty()) {
        page.line("<TABLE BORDER=1>").line("<TR><TD><B>V<SUB>b</SUB></B>/ml</TD></TR>");
        for (int i = 0; i < results.size(); ++i)
            page.text("<TR><TD>").number(results[i]->key, res_precis).text("</TD></TR>");
        page.line("</TABLE>");
    }
    if (criterion) {
        page.text("<P>Rozpoznány jen inflexe s nejstrmějším průběhem (minimální strmost ")
            .integer(min_steepness)
            .line(" % největší).</P>");
    }
}

// The set values' end points after the inflections ("pH 8,3" and its volume, or that the curve
// never reaches it), and for a pH document the half-neutralisation pKa of every end point.
void write_end_points(PageWriter& page, const Document& doc) {
    const std::vector<CurveReading> readings = doc.SetValueEndPoints();
    const bool ph = doc.quantity == Quantity::ph;
    const int inflections = doc.derived.results.size();
    if (readings.empty() && !(ph && inflections > 0)) return;
    if (!readings.empty()) {
        page.line("<H2>Nastavené hodnoty:</H2>").line("<TABLE BORDER=1>");
        page.line("<TR><TD><B>Hodnota</B></TD><TD><B>V<SUB>b</SUB></B>/ml</TD></TR>");
        for (std::size_t k = 0; k < readings.size(); ++k) {
            page.text("<TR><TD>").text(QuantityValueText(doc.quantity, doc.determination->set_values[k]).c_str());
            page.text("</TD><TD>");
            if (readings[k].found)
                page.number(ext_float(readings[k].value), res_precis);
            else
                page.text("nedosaženo");
            page.line("</TD></TR>");
        }
        page.line("</TABLE>");
    }
    if (!ph) return;
    page.line("<H2>Poloviční neutralizace (pKa):</H2>").line("<TABLE BORDER=1>");
    page.line("<TR><TD><B>Bod ekvivalence</B></TD><TD><B>pKa</B></TD></TR>");
    const int rows = inflections + static_cast<int>(readings.size());
    for (int row = 0; row < rows; ++row) {
        page.text("<TR><TD>");
        if (row < inflections)
            page.number(doc.derived.results[row]->key, res_precis).text(" ml");
        else
            page.text(QuantityValueText(doc.quantity, doc.determination->set_values[row - inflections]).c_str());
        page.text("</TD><TD>").text(HtmlText(PkaText(ResultRowPka(doc, row), use_comma)).c_str()).line("</TD></TR>");
    }
    page.line("</TABLE>");
}

// The determination and its result under the results, the calculation with its numbers below.
void write_determination(PageWriter& page, const Document& doc) {
    if (!doc.determination) return;
    const DeterminationResult result = doc.Result();
    page.line("<HR>").line("<H2>Výsledek stanovení:</H2>").line("<TABLE BORDER=1>");
    const std::vector<DeterminationRow> rows = DeterminationRows(*doc.determination, result, use_comma, doc.quantity);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool last = i + 1 == rows.size();
        page.text(last ? "<TR><TD><B>" : "<TR><TD>").text(HtmlText(rows[i].name).c_str())
            .text(last ? "</B></TD><TD><B>" : "</TD><TD>").text(HtmlText(rows[i].value).c_str())
            .line(last ? "</B></TD></TR>" : "</TD></TR>");
    }
    page.line("</TABLE>").text("<P>");
    const std::string calculation = CalculationText(*doc.determination, result, use_comma, doc.quantity);
    std::size_t start = 0;
    for (std::size_t end; (end = calculation.find('\n', start)) != std::string::npos; start = end + 1) {
        if (start) page.line("<BR>");
        page.text(HtmlText(calculation.substr(start, end - start)).c_str());
    }
    page.line("</P>");
}

// A pH document's Gran end point (or why it has none) under the determination.
void write_gran(PageWriter& page, const Document& doc) {
    const std::string text =
        GranSummaryText(EvaluateGran(doc, gran_options, DocumentV0(doc)), gran_options.function, res_precis, use_comma);
    if (text.empty()) return;
    page.line("<HR>").line("<H2>Granův graf:</H2>").text("<P>").text(HtmlText(text).c_str()).line("</P>");
}

// A document converted to pH names its source and the calibration above its values; any
// other page stays as it was.
void write_conversion(PageWriter& page, const Document& doc) {
    for (const std::string& note : ConversionNotes(doc.description))
        page.text("<P>").text(HtmlText(note).c_str()).line("</P>");
}

// The page as a whole; false once a write has failed.
bool write_page(std::FILE* file, const Document& doc, const char* title) {
    // The file is binary: the bytes, CR LF included, are exactly those written.
    PageWriter page(file);
    page.line("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Final//CZ\">")
        .line("<HTML>")
        .line("<HEAD>")
        .text("<TITLE>").text(title).line("</TITLE>")
        .line("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1250\">")
        .line("<META HTTP-EQUIV=\"Generator\" CONTENT=\"Titrionika\">")
        .line("</HEAD>")
        .line("<BODY>")
        .text("<H1>").text(title).line("</H1>");
    write_conversion(page, doc);
    page.line("<H2>Naměřené hodnoty:</H2>")
        .line("<TABLE BORDER=1>");
    // The units of the list headers: potentials are in mV (or pH), not ml.
    const char* unit = QuantityUnit(doc.quantity);
    page.text("<TR><TD><B>n</B></TD><TD><B>V<SUB>b</SUB></B>/ml</TD><TD><B>E</B>/").text(unit)
        .text("</TD><TD><B>E'</B>/").text(unit).text(".ml<SUP>-1</SUP></TD><TD><B>E''</B>/").text(unit)
        .line(".ml<SUP>-2</SUP></TD></TR>");
    write_points(page, doc);
    page.line("</TABLE>");
    write_results(page, doc);
    write_end_points(page, doc);
    write_determination(page, doc);
    write_gran(page, doc);
    page.line("<HR>")
        .line("<DIV ALIGN=CENTER><SMALL>Vytvořeno programem Titrionika.</SMALL></DIV>")
        .line("</BODY>")
        .line("</HTML>");
    return page.flush();
}

} // namespace

bool internal_export_html(const Document& doc, const char* file_name, const char* heading, bool /*include_graph*/,
                          WriteFailure* failure) {
    char* title = HTML_quote(heading);
    if (!title) return false;
    const bool written =
        write_file_safely(file_name, [&doc, title](std::FILE* file) { return write_page(file, doc, title); }, failure);
    std::free(title);
    return written;
}
