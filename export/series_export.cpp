#include "export/series_export.h"

#include <cmath>
#include <cstdio>

#include "core/cp1250.h"
#include "core/determination_text.h"
#include "export/csv_export.h"
#include "core/product.h"
#include "export/html_export.h"

namespace {

std::string Joined(const std::vector<std::vector<std::string>>& rows, char sep, bool quote) {
    std::string out;
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i) out += sep;
            out += quote ? CsvCell(row[i], sep) : row[i];
        }
        out += "\r\n";
    }
    return out;
}

bool WriteBytes(const std::string& bytes, const char* file_name, WriteFailure* failure) {
    return write_file_safely(file_name, [&bytes](std::FILE* file) {
        return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }, failure);
}

}  // namespace

std::vector<std::vector<std::string>> SeriesCells(const std::vector<SeriesEntry>& entries, const SeriesSummary& summary,
                                                  bool exact, bool comma, int volume_decimals) {
    std::vector<std::vector<std::string>> rows = {{"Soubor", "Vzorek", "V/ml", "Výsledek", "Jednotka", "Započten", "Poznámka"}};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const SeriesEntry& e = entries[i];
        const EntryState state = summary.states[i];
        std::vector<std::string> row = {e.name, SampleText(e, comma), "", "", "", state == EntryState::counted ? "ano" : "ne",
                                        EntryNote(e, state)};
        if (e.determination && e.result.ok()) {
            const Determination& d = *e.determination;
            row[2] = exact ? ExactText(e.result.volume, comma) : FixedText(e.result.volume, volume_decimals, comma);
            row[3] = exact ? ExactText(e.result.value, comma)
                           : FixedText(e.result.value, d.kind == DeterminationKind::titer && d.decimals < 4 ? 4 : d.decimals, comma);
            row[4] = d.kind == DeterminationKind::titer ? "titr" : UnitText(d.unit);
        }
        if (i == summary.outlier_row) row[6] = "odlehlá hodnota (" + std::string(summary.statistics.n > 10 ? "Grubbs" : "Dixon") + ", 95 %)";
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::vector<std::string>> SeriesStatisticsCells(const std::vector<SeriesEntry>& entries,
                                                            const SeriesSummary& summary, bool comma) {
    const StatisticsTexts t = FormatStatistics(summary, comma);
    const std::string unit = t.unit.empty() ? "" : " " + t.unit;
    std::vector<std::vector<std::string>> rows = {
        {"n", t.n},
        {"Průměr", t.mean.empty() ? "—" : t.mean + unit},
        {"s", t.s.empty() ? "—" : t.s + unit},
        {"RSD", t.rsd.empty() ? "—" : t.rsd + " %"},
        {"95% interval spolehlivosti", t.mean.empty() || t.ci95 == "—" ? "—" : t.mean + " ± " + t.ci95 + unit},
    };
    rows.push_back({"Odlehlá hodnota", summary.outlier_row < entries.size() ? entries[summary.outlier_row].name : "žádná"});
    return rows;
}

std::string SeriesTabText(const std::vector<SeriesEntry>& entries, const SeriesSummary& summary, bool comma,
                          int volume_decimals) {
    return Joined(SeriesCells(entries, summary, false, comma, volume_decimals), '\t', false) + "\r\n" +
           Joined(SeriesStatisticsCells(entries, summary, comma), '\t', false);
}

bool ExportSeriesCsv(const std::vector<SeriesEntry>& entries, const SeriesSummary& summary, const char* file_name,
                     WriteFailure* failure) {
    const char sep = use_comma ? ';' : ',';
    std::string out = "\xEF\xBB\xBF" + Joined(SeriesCells(entries, summary, true, use_comma, 0), sep, true) + "\r\n";
    // The statistics as numbers that read back exactly, each with its unit in the name.
    const SeriesStatistics& st = summary.statistics;
    const std::string unit = summary.reference && summary.reference->kind == DeterminationKind::content
                                 ? std::string("/") + UnitText(summary.reference->unit)
                                 : std::string();
    auto number = [](double v) { return std::isfinite(v) ? ExactText(v, use_comma) : std::string(); };
    std::vector<std::vector<std::string>> stats = {
        {"n", std::to_string(st.n)},
        {"Průměr" + unit, st.n ? number(st.mean) : ""},
        {"s" + unit, st.n ? number(st.s) : ""},
        {"RSD/%", st.n ? number(st.rsd) : ""},
        {"CI95 (±)" + unit, st.n ? number(st.ci95) : ""},
        {"Odlehlá hodnota", summary.outlier_row < entries.size() ? entries[summary.outlier_row].name : ""},
    };
    out += Joined(stats, sep, true);
    return WriteBytes(out, file_name, failure);
}

bool ExportSeriesHtml(const std::vector<SeriesEntry>& entries, const SeriesSummary& summary, const char* file_name,
                      const char* title, int volume_decimals, WriteFailure* failure) {
    std::string page = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Final//CZ\">\r\n<HTML>\r\n<HEAD>\r\n<TITLE>" +
                       HtmlText(title) +
                       "</TITLE>\r\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1250\">\r\n"
                       "</HEAD>\r\n<BODY>\r\n<H1>" + HtmlText(title) + "</H1>\r\n";
    if (summary.reference) {
        page += "<H2>Stanovení:</H2>\r\n<TABLE BORDER=1>\r\n";
        DeterminationResult none;
        none.problem = ResultProblem::no_points;
        std::vector<DeterminationRow> rows = DeterminationRows(*summary.reference, none, use_comma, summary.reference_quantity);
        rows.pop_back();  // the result is each row's
        rows.pop_back();  // so is the sample size
        for (const DeterminationRow& row : rows)
            page += "<TR><TD>" + HtmlText(row.name) + "</TD><TD>" + HtmlText(row.value) + "</TD></TR>\r\n";
        page += "</TABLE>\r\n";
    }
    page += "<H2>Série:</H2>\r\n<TABLE BORDER=1>\r\n";
    const auto cells = SeriesCells(entries, summary, false, use_comma, volume_decimals);
    for (std::size_t r = 0; r < cells.size(); ++r) {
        page += "<TR>";
        for (const std::string& cell : cells[r])
            page += (r ? "<TD>" : "<TD><B>") + HtmlText(cell) + (r ? "</TD>" : "</B></TD>");
        page += "</TR>\r\n";
    }
    page += "</TABLE>\r\n<H2>Statistika:</H2>\r\n<TABLE BORDER=1>\r\n";
    for (const auto& row : SeriesStatisticsCells(entries, summary, use_comma))
        page += "<TR><TD>" + HtmlText(row[0]) + "</TD><TD>" + HtmlText(row[1]) + "</TD></TR>\r\n";
    page += "</TABLE>\r\n<HR>\r\n<DIV ALIGN=CENTER><SMALL>Vytvořeno programem Titrionika.</SMALL></DIV>\r\n</BODY>\r\n"
            "</HTML>\r\n";
    std::string bytes(utf8_to_cp1250(page.c_str(), nullptr, 0) + 1, '\0');
    bytes.resize(utf8_to_cp1250(page.c_str(), &bytes[0], bytes.size()));
    return WriteBytes(bytes, file_name, failure);
}
