#include <gtest/gtest.h>

#include <string>

#include "core/document.h"
#include "export/csv_export.h"
#include "export/html_export.h"
#include "export/series_export.h"
#include "tests/support/display_defaults.h"
#include "tests/support/file_bytes.h"

namespace {

SeriesEntry Entry(const char* name, double value, ResultUnit unit = ResultUnit::mg_per_l) {
    SeriesEntry e;
    e.name = name, e.readable = true, e.determination = Determination(), e.result.volume = 5, e.result.value = value;
    e.determination->unit = unit, e.determination->sample = 10;
    return e;
}

}  // namespace

// The first chloride replicate: 20 ml, V = 7,979155 ml as the sample generator evaluates it:
// 1000 · 0,05 · 7,979155/1000 · 35,453 / 0,020 = 707,2 mg/l.
TEST(DeterminationExport, ReportAndCsvCarryTheDeterminationUnderTheResults) {
    RestoreDisplayDefaults();
    Document doc;
    ASSERT_TRUE(doc.Read(TITRION_EXAMPLES_DIR "/chloridy-agno3-1.tid"));
    const std::string html = ::testing::TempDir() + "det.html", csv = ::testing::TempDir() + "det.csv";
    ASSERT_TRUE(internal_export_html(doc, html.c_str(), "Cl", false));
    ASSERT_TRUE(internal_export_csv(doc, csv.c_str()));
    const std::string page = FileBytes(html), table = FileBytes(csv);
    const size_t results = page.find("<H2>V\xFDsledky:</H2>"),
                 determination = page.find("<H2>V\xFDsledek stanoven\xED:</H2>");
    EXPECT_LT(results, determination);
    EXPECT_NE(page.find("<TR><TD><B>Cl-</B></TD><TD><B>707,2 mg/l</B></TD></TR>"), std::string::npos) << page;
    EXPECT_NE(page.find("V &#8722; V(sl) = 7,97915 &#8722; 0 = 7,97915 ml<BR>"), std::string::npos)
        << page.substr(determination);
    EXPECT_NE(table.find("\r\nStanoven\xC3\xAD:\r\nDruh;obsah analytu\r\n"), std::string::npos) << table;
    EXPECT_NE(table.find("\r\nCl-;707,2"), std::string::npos);
    EXPECT_NE(table.find(";mg/l\r\n"), std::string::npos);
    // Without it the report is the one of a document that never had one.
    doc.determination.reset();
    ASSERT_TRUE(internal_export_html(doc, html.c_str(), "Cl", false));
    EXPECT_EQ(FileBytes(html).find("stanoven\xED:"), std::string::npos);
    std::remove(html.c_str());
    std::remove(csv.c_str());
}

// The acetic acid sample (model Ve 25,00 ml) in pH: the report gives its Gran end point under
// the determination, which uses it; in mV the report has no word of it.
TEST(DeterminationExport, ReportOfAPhDocumentGivesTheGranEndPoint) {
    RestoreDisplayDefaults();
    Document doc;
    ASSERT_TRUE(doc.Read(TITRION_EXAMPLES_DIR "/octova-naoh.tid"));
    doc.quantity = Quantity::ph, doc.Evaluate();
    doc.determination = Determination();
    doc.determination->sample = 25, doc.determination->point.kind = EndPointKind::gran;
    doc.determination->concentration = 0.1, doc.determination->molar_mass = 60.05;
    const std::string html = ::testing::TempDir() + "gran.html";
    ASSERT_TRUE(internal_export_html(doc, html.c_str(), "kyselina octov\xC3\xA1", false));
    const std::string page = FileBytes(html);
    EXPECT_LT(page.find("<H2>V\xFDsledek stanoven\xED:</H2>"), page.find("<H2>Gran\xF9v graf:</H2>"));
    EXPECT_NE(page.find("<P>Gran\xF9v bod ekvivalence: 25,0"), std::string::npos) << page;
    EXPECT_NE(page.find("V = 25,0"), std::string::npos);  // the determination's V is the Gran end point
    doc.quantity = Quantity::mv;
    ASSERT_TRUE(internal_export_html(doc, html.c_str(), "kyselina", false));
    EXPECT_EQ(FileBytes(html).find("<H2>Gran\xF9v graf:"), std::string::npos);
    std::remove(html.c_str());
}

// Miller & Miller's nitrite values behind an unreadable file, a row of another unit and an
// excluded one: 0,380 is the outlier (Q = 0,020/0,033 = 0,606 > 0,568 at n = 7), its row is the
// sixth of the table.
TEST(DeterminationExport, SeriesCountsOnlyComparableIncludedRowsAndExportsThem) {
    RestoreDisplayDefaults();
    std::vector<SeriesEntry> entries = {Entry("a.tid", 0.403), Entry("g.tid", 0.4, ResultUnit::g_per_l),
                                        Entry("b.tid", 0.410), SeriesEntry(),
                                        Entry("c.tid", 0.401), Entry("d.tid", 0.380),
                                        Entry("e.tid", 0.400), Entry("f.tid", 0.413),
                                        Entry("h.tid", 0.408), Entry("x.tid", 9)};
    entries[3].name = "zlý.tid";
    entries[9].included = false;
    const SeriesSummary summary = SummarizeSeries(entries);
    EXPECT_EQ(summary.statistics.n, 7u);
    EXPECT_EQ(summary.outlier_row, 5u);
    EXPECT_EQ(EntryNote(entries[1], summary.states[1]), "jiný druh nebo jednotka než v sérii: nelze míchat");
    // A pH file's set value the curve never reaches is named in pH.
    SeriesEntry never = Entry("ph.tid", 0);
    never.determination->point = {1, 0, EndPointKind::set_value, 8.3};
    never.result.problem = ResultProblem::not_reached, never.quantity = Quantity::ph;
    EXPECT_EQ(EntryNote(never, EntryState::no_result), "křivka nedosáhne pH 8,3");
    EXPECT_EQ(summary.states[3], EntryState::unreadable);
    EXPECT_EQ(summary.states[9], EntryState::excluded);
    const std::string tab = SeriesTabText(entries, summary, true, 3);
    EXPECT_EQ(
        tab.substr(0, tab.find("\r\n", 70) + 2),
        "Soubor\tVzorek\tV/ml\tVýsledek\tJednotka\tZapočten\tPoznámka\r\na.tid\t10 ml\t5,000\t0,40\tmg/l\tano\t\r\n");
    EXPECT_NE(tab.find("d.tid\t10 ml\t5,000\t0,38\tmg/l\tano\todlehlá hodnota (Dixon, 95 %)\r\n"), std::string::npos);
    // mean 2,815/7 = 0,40214; s = √(7,109e-4/6) = 0,01088; RSD 2,71 %; t(6) = 2,447: ± 2,447 · 0,01088/√7 = 0,01007.
    EXPECT_NE(
        tab.find(
            "\r\nPrůměr\t0,40 mg/l\r\ns\t0,011 mg/l\r\nRSD\t2,71 %\r\n95% interval spolehlivosti\t0,40 ± 0,010 mg/l\r\n"
            "Odlehlá hodnota\td.tid\r\n"),
        std::string::npos)
        << tab;
    const std::string csv = ::testing::TempDir() + "series.csv";
    ASSERT_TRUE(ExportSeriesCsv(entries, summary, csv.c_str()));
    const std::string table = FileBytes(csv);
    std::remove(csv.c_str());
    EXPECT_NE(table.find("\r\nd.tid;10 ml;5;0,38;mg/l;ano;odlehlá hodnota (Dixon, 95 %)\r\n"), std::string::npos)
        << table;
    EXPECT_NE(table.find("\r\nn;7\r\n"), std::string::npos);
    const std::string html = ::testing::TempDir() + "series.html";
    ASSERT_TRUE(ExportSeriesHtml(entries, summary, html.c_str(), "Dusitany", 3));
    const std::string page = FileBytes(html);
    std::remove(html.c_str());
    EXPECT_NE(page.find("<TR><TD>95% interval spolehlivosti</TD><TD>0,40 \xB1 0,010 mg/l</TD></TR>"), std::string::npos)
        << page;
    EXPECT_EQ(page.substr(page.size() - 9), "</HTML>\r\n");
    // Titers are factors near 1: at least four decimals whatever the determination says.
    std::vector<SeriesEntry> titers = {Entry("t1", 0.99), Entry("t2", 1.01)};
    for (SeriesEntry& e : titers) e.determination->kind = DeterminationKind::titer;
    EXPECT_EQ(FormatStatistics(SummarizeSeries(titers), true).mean, "1,0000");
}

// The water sample in pH with its set values 8,3 and 4,5: the sample generator finds them at
// 2,0250 and 18,9500 ml; the m-alkalinity 0,02 · 18,95 / 100 · 1000 = 3,79 mmol/l. The pKa at
// pH 8,3: at 1,0125 ml between 1,0 ml (9,11) and 1,2 ml (9,01), 9,11 − 0,0625 · 0,1 = 9,10.
TEST(DeterminationExport, PhReportNamesThePhAndListsTheSetValuesAndPka) {
    RestoreDisplayDefaults();
    Document doc;
    ASSERT_TRUE(doc.Read(TITRION_EXAMPLES_DIR "/alkalita-hcl.tid"));
    const std::string html = ::testing::TempDir() + "ph.html";
    ASSERT_TRUE(internal_export_html(doc, html.c_str(), "voda", false));
    const std::string page = FileBytes(html);
    for (const char* part :
         {"<TD><B>E</B>/pH</TD><TD><B>E'</B>/pH.ml<SUP>-1</SUP></TD>", "<TR><TD>pH 8,3</TD><TD>2,0250</TD></TR>",
          "<TR><TD>pH 4,5</TD><TD>18,9500</TD></TR>", "neutralizace (pKa):</H2>", "<TD>pH 4,5: V = 18,95 ml</TD>",
          "3,79 mmol/l", "<TR><TD>pH 8,3</TD><TD>9,10</TD></TR>"})
        EXPECT_NE(page.find(part), std::string::npos) << part;
}
