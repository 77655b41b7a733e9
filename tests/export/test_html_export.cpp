#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/calc.h"
#include "tests/support/display_defaults.h"
#include "export/html_export.h"
#include "core/product.h"

namespace fs = std::filesystem;

namespace {

const char* const kHead =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Final//CZ\">\r\n"
    "<HTML>\r\n"
    "<HEAD>\r\n";
const char* const kMeta =
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1250\">\r\n"
    "<META HTTP-EQUIV=\"Generator\" CONTENT=\"Titrionika\">\r\n"
    "</HEAD>\r\n"
    "<BODY>\r\n";
const char* const kTableHead =
    "<H2>Nam\xEC\xF8" "en\xE9 hodnoty:</H2>\r\n"
    "<TABLE BORDER=1>\r\n"
    "<TR><TD><B>n</B></TD><TD><B>V<SUB>b</SUB></B>/ml</TD><TD><B>E</B>/mV</TD>"
    "<TD><B>E'</B>/mV.ml<SUP>-1</SUP></TD><TD><B>E''</B>/mV.ml<SUP>-2</SUP></TD></TR>\r\n";

std::string Footer() {
    return std::string("<HR>\r\n<DIV ALIGN=CENTER><SMALL>Vytvo\xF8" "eno programem <A HREF=\"") +
           TITRION_WEB_ADDRESS + "\">Titrionika</A>.</SMALL></DIV>\r\n</BODY>\r\n</HTML>\r\n";
}

std::string Page(const std::string& title, const std::string& rows, const std::string& results = "") {
    return std::string(kHead) + "<TITLE>" + title + "</TITLE>\r\n" + kMeta + "<H1>" + title + "</H1>\r\n" +
           kTableHead + rows + "</TABLE>\r\n" + results + Footer();
}

class HtmlExport : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("titrion-html-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "report.html").string();
        arr_vb.flush();
        recalc_arrays();
        RestoreDisplayDefaults();
    }
    void TearDown() override {
        arr_vb.flush();
        recalc_arrays();
        fs::remove_all(dir);
    }

    void SetPoints(const std::vector<std::pair<double, double>>& points) {
        arr_vb.flush();
        for (const auto& p : points) ASSERT_GE(arr_vb.insert_sorted(ext_float_pair(p.first, p.second)), 0);
        recalc_arrays();
    }
    std::string Export(const char* title = "Zkouška") {
        EXPECT_TRUE(internal_export_html(path.c_str(), title, false));
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path dir;
    std::string path;
};

const char* const kTitle = "Zkou\x9Aka";

// Empty, one point, two points; each page replaces what the file held.
TEST_F(HtmlExport, SmallDocumentsHaveEmptyDifferenceCellsAndAtMostOneDifferenceRow) {
    {
        std::ofstream old(path, std::ios::binary);
        old << std::string(5000, 'Q');
    }
    EXPECT_EQ(Export(), Page(kTitle, ""));
    SetPoints({{1.5, 200.25}});
    EXPECT_EQ(Export(), Page(kTitle, "<TR><TD>1</TD><TD>1,500</TD><TD>200,2500</TD><TD></TD><TD></TD></TR>\r\n"));
    SetPoints({{2.0, 30.0}, {1.0, 10.0}});
    EXPECT_EQ(Export(), Page(kTitle,
                             "<TR><TD>1</TD><TD>1,000</TD><TD>10,0000</TD><TD></TD><TD></TD></TR>\r\n"
                             "<TR><TD></TD><TD></TD><TD></TD><TD>20,0000</TD><TD></TD></TR>\r\n"
                             "<TR><TD>2</TD><TD>2,000</TD><TD>30,0000</TD><TD></TD><TD></TD></TR>\r\n"));
}

TEST_F(HtmlExport, InnerPointsCarryTheSecondDifferenceAndResultsFollow) {
    // E' = 1, 2, 1, 0, 1; E'' = 1, -1, -1, 1 at the inner points; E'' changes sign twice.
    SetPoints({{0, 0}, {1, 1}, {2, 3}, {3, 4}, {4, 4}, {5, 5}});
    ASSERT_EQ(arr_res.size(), 2);
    const std::string page = Export();
    const std::string rows =
        "<TR><TD>1</TD><TD>0,000</TD><TD>0,0000</TD><TD></TD><TD></TD></TR>\r\n"
        "<TR><TD></TD><TD></TD><TD></TD><TD>1,0000</TD><TD></TD></TR>\r\n"
        "<TR><TD>2</TD><TD>1,000</TD><TD>1,0000</TD><TD></TD><TD>1,0000</TD></TR>\r\n"
        "<TR><TD></TD><TD></TD><TD></TD><TD>2,0000</TD><TD></TD></TR>\r\n"
        "<TR><TD>3</TD><TD>2,000</TD><TD>3,0000</TD><TD></TD><TD>-1,0000</TD></TR>\r\n"
        "<TR><TD></TD><TD></TD><TD></TD><TD>1,0000</TD><TD></TD></TR>\r\n"
        "<TR><TD>4</TD><TD>3,000</TD><TD>4,0000</TD><TD></TD><TD>-1,0000</TD></TR>\r\n"
        "<TR><TD></TD><TD></TD><TD></TD><TD>0,0000</TD><TD></TD></TR>\r\n"
        "<TR><TD>5</TD><TD>4,000</TD><TD>4,0000</TD><TD></TD><TD>1,0000</TD></TR>\r\n"
        "<TR><TD></TD><TD></TD><TD></TD><TD>1,0000</TD><TD></TD></TR>\r\n"
        "<TR><TD>6</TD><TD>5,000</TD><TD>5,0000</TD><TD></TD><TD></TD></TR>\r\n";
    // Several results share one line, closed by the table's end on the same line.
    const std::string results =
        "<HR>\r\n<H2>V\xFDsledky:</H2>\r\n<TABLE BORDER=1>\r\n<TR><TD><B>V<SUB>b</SUB></B>/ml</TD></TR>\r\n"
        "<TR><TD>1,5000</TD></TR><TR><TD>3,5000</TD></TR></TABLE>\r\n";
    EXPECT_EQ(page, Page(kTitle, rows, results));
}

// The page is written in blocks: a long document and a title longer than a block come out whole.
TEST_F(HtmlExport, LongDocumentAndLongTitleAreWrittenWhole) {
    std::vector<std::pair<double, double>> points;
    std::string rows;
    const int n = 1000;
    for (int i = 0; i < n; ++i) {
        points.push_back({i, 0});
        rows += "<TR><TD>" + std::to_string(i + 1) + "</TD><TD>" + std::to_string(i) + ",000</TD><TD>0,0000</TD><TD></TD><TD>" +
                (i > 0 && i < n - 1 ? "0,0000" : "") + "</TD></TR>\r\n";
        if (i < n - 1) rows += "<TR><TD></TD><TD></TD><TD></TD><TD>0,0000</TD><TD></TD></TR>\r\n";
    }
    SetPoints(points);
    const std::string title(40000, 'x');
    EXPECT_EQ(Export((title + "č").c_str()), Page(title + "\xE8", rows));
}

TEST_F(HtmlExport, PrecisionsAndThePointFollowTheSettings) {
    SetPoints({{0, 0}, {1, 1}, {2, 3}, {3, 4}});
    use_comma = false;
    vb_precis = 0;
    e_precis = 1;
    de_precis = 2;
    d2e_precis = 3;
    res_precis = 5;
    const std::string page = Export();
    EXPECT_NE(page.find("<TR><TD>2</TD><TD>1</TD><TD>1.0</TD><TD></TD><TD>1.000</TD></TR>\r\n"
                        "<TR><TD></TD><TD></TD><TD></TD><TD>2.00</TD><TD></TD></TR>\r\n"),
              std::string::npos) << page;
    EXPECT_NE(page.find("<TR><TD>1.50000</TD></TR></TABLE>\r\n"), std::string::npos) << page;
    // No number anywhere uses a comma.
    const std::size_t body = page.find("<TABLE");
    EXPECT_EQ(page.find(',', body), std::string::npos);
}

TEST_F(HtmlExport, UndefinedNumbersAreWrittenAsAsterisks) {
    arr_vb.flush();
    arr_vb.append(ext_float_pair(ext_float(1.0), ext_float(0.0, true)));
    arr_vb.append(ext_float_pair(ext_float(2.0), ext_float(5.0)));
    recalc_arrays();
    EXPECT_NE(Export().find("<TR><TD>1</TD><TD>1,000</TD><TD>*</TD><TD></TD><TD></TD></TR>\r\n"
                            "<TR><TD></TD><TD></TD><TD></TD><TD>*</TD><TD></TD></TR>\r\n"),
              std::string::npos);
}

TEST_F(HtmlExport, TitleIsQuotedAndConvertedInBothPlaces) {
    SetPoints({{1, 1}});
    const std::string page = Export("a<b> & \"c\" čeština");
    const std::string title = "a&lt;b&gt; & \"c\" \xE8" "e\x9Atina";
    EXPECT_NE(page.find("<TITLE>" + title + "</TITLE>\r\n"), std::string::npos) << page;
    EXPECT_NE(page.find("<H1>" + title + "</H1>\r\n"), std::string::npos) << page;
    const std::string empty = Export("");
    EXPECT_NE(empty.find("<TITLE></TITLE>\r\n"), std::string::npos);
    EXPECT_NE(empty.find("<H1></H1>\r\n"), std::string::npos);
}

TEST_F(HtmlExport, NoByteOfThePageIsUtf8AndEveryLineEndsInCrLf) {
    SetPoints({{0, 0}, {1, 1}, {2, 3}, {3, 4}});
    const std::string page = Export("Titrace č. 1");
    for (std::size_t i = 0; i < page.size(); ++i) {
        if (page[i] == '\n') {
            ASSERT_TRUE(i > 0 && page[i - 1] == '\r') << "bare LF at " << i;
        }
        if (page[i] == '\r') {
            ASSERT_TRUE(i + 1 < page.size() && page[i + 1] == '\n') << "bare CR at " << i;
        }
    }
    // Every byte above 0x7F is one of the Czech letters of the fixed texts or the title.
    for (unsigned char c : page) {
        if (c >= 0x80) {
            EXPECT_TRUE(c == 0xEC || c == 0xF8 || c == 0xE9 || c == 0xFD || c == 0xE8) << int(c);
        }
    }
}

TEST_F(HtmlExport, FileThatCannotBeOpenedReportsFailureAndWritesNothing) {
    SetPoints({{1, 1}});
    EXPECT_FALSE(internal_export_html("", "t", false));
    EXPECT_FALSE(internal_export_html(nullptr, "t", false));
    const std::string missing = (dir / "no-such-folder" / "r.html").string();
    EXPECT_FALSE(internal_export_html(missing.c_str(), "t", false));
    EXPECT_FALSE(fs::exists(missing));
    // A folder is no file.
    EXPECT_FALSE(internal_export_html(dir.string().c_str(), "t", false));
}

#ifndef _WIN32
TEST_F(HtmlExport, WriteErrorIsReportedAsFailure) {
    SetPoints({{1, 1}, {2, 2}});
    // The device accepts the open and refuses every write: the page never reaches it.
    EXPECT_FALSE(internal_export_html("/dev/full", "t", false));
}
#endif

TEST(HtmlQuote, ReplacesOnlyAngleBrackets) {
    struct Case { const char* in; const char* out; } cases[] = {
        {"", ""},
        {"plain & \"text\"", "plain & \"text\""},
        {"ř<<ž>>", "ř&lt;&lt;ž&gt;&gt;"},
    };
    for (const Case& c : cases) {
        char* q = HTML_quote(c.in);
        ASSERT_NE(q, nullptr);
        EXPECT_STREQ(q, c.out);
        std::free(q);
    }
    char* q = HTML_quote(nullptr);
    ASSERT_NE(q, nullptr);
    EXPECT_STREQ(q, "");
    std::free(q);
}

} // namespace
