#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/calc.h"
#include "core/cp1250.h"
#include "core/file_io.h"
#include "core/import.h"
#include "export/csv_export.h"
#include "export/html_export.h"
#include "tests/support/display_defaults.h"
#include "tests/support/file_bytes.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

TEST(Cp1250, Utf8BecomesOneByteACharacterAndQuestionMarksForTheRest) {
    const struct {
        const char* utf8;
        const char* cp1250;
    } rows[] = {
        {"Příliš žluťoučký kůň úpěl ďábelské ódy",
         "P\xF8\xED"
         "li\x9A \x9Elu\x9Do"
         "u\xE8k\xFD k\xF9\xF2 \xFAp\xECl \xEF\xE1"
         "belsk\xE9 \xF3"
         "dy"},
        {"ŠČŘŽÝÁÍÉŮÚĎŤŇĚ", "\x8A\xC8\xD8\x8E\xDD\xC1\xCD\xC9\xD9\xDA\xCF\x8D\xD2\xCC"},
        {"a\xC2\xA0"
         "b€ ñ",
         "a\xA0"
         "b\x80 ?"},  // no-break space, euro sign; no n with tilde
        {"日本\xF0\x9F\x98\x80!",
         "??"
         "?!"},  // one '?' per character, beyond the BMP too
        {"a\xE9"
         "b\xC0\xAF\xED\xA0\x80",
         "a?b??"},                        // a windows-1250 byte, overlong "/", a surrogate
        {"\x80x\xE2\x82x\xC3", "?x?x?"},  // stray, incomplete and cut short sequences
    };
    for (const auto& row : rows) {
        char out[256];
        EXPECT_EQ(std::strlen(row.cp1250), utf8_to_cp1250(row.utf8, out, sizeof out)) << row.utf8;
        EXPECT_STREQ(row.cp1250, out) << row.utf8;
    }
    EXPECT_EQ(-1, cp1250_from_unicode(0x81));  // the unassigned bytes are never produced
    char out[4];                               // the output is cut as snprintf cuts it
    EXPECT_EQ(6u, utf8_to_cp1250("čččččč", out, sizeof out));
    EXPECT_STREQ("\xE8\xE8\xE8", out);
    EXPECT_EQ(0u, utf8_to_cp1250(nullptr, out, sizeof out));
    EXPECT_STREQ("", out);
}

namespace {

class HtmlExport : public ::testing::Test {
protected:
    void SetUp() override { RestoreDisplayDefaults(); }
    void TearDown() override {
        SetPoints({});
        fs::remove(path);
    }
    void SetPoints(const std::vector<ext_float_pair>& points) {
        arr_vb.flush();
        for (const ext_float_pair& p : points) arr_vb.append(p);
        recalc_arrays();
    }
    std::string Read() const { return FileBytes(path); }
    std::string Export(const char* title = "Zkouška") {
        EXPECT_TRUE(internal_export_html(document, path.c_str(), title, false));
        return Read();
    }
    static bool Has(const std::string& page, const std::string& part) { return page.find(part) != std::string::npos; }

    const std::string path =
        (fs::temp_directory_path() /
         ("titrion-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".html"))
            .string();
};

// The rows of a point (E'' at the inner points) and of the E' between two points.
std::string Row(int n, const std::string& vb, const std::string& e, const std::string& d2e = "") {
    return "<TR><TD>" + std::to_string(n) + "</TD><TD>" + vb + "</TD><TD>" + e + "</TD><TD></TD><TD>" + d2e +
           "</TD></TR>\r\n";
}
std::string De(const std::string& de) { return "<TR><TD></TD><TD></TD><TD></TD><TD>" + de + "</TD><TD></TD></TR>\r\n"; }
const std::string kEnd = "</TABLE>\r\n<HR>\r\n<DIV";

}  // namespace

// The whole page, in windows-1250 with CR LF; several results share one line.
TEST_F(HtmlExport, PageListsPointsDifferencesAndResults) {
    std::ofstream(path, std::ios::binary) << std::string(5000, 'Q');  // the page replaces it
    SetPoints({{0, 0}, {1, 1}, {2, 3}, {3, 4}, {4, 4}, {5, 5}});
    EXPECT_EQ(
        Export(),
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Final//CZ\">\r\n<HTML>\r\n<HEAD>\r\n"
        "<TITLE>Zkou\x9Aka</TITLE>\r\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1250\">\r\n"
        "<META HTTP-EQUIV=\"Generator\" CONTENT=\"Titrionika\">\r\n</HEAD>\r\n<BODY>\r\n"
        "<H1>Zkou\x9Aka</H1>\r\n<H2>Nam\xEC\xF8"
        "en\xE9 hodnoty:</H2>\r\n<TABLE BORDER=1>\r\n"
        "<TR><TD><B>n</B></TD><TD><B>V<SUB>b</SUB></B>/ml</TD><TD><B>E</B>/mV</TD>"
        "<TD><B>E'</B>/mV.ml<SUP>-1</SUP></TD><TD><B>E''</B>/mV.ml<SUP>-2</SUP></TD></TR>\r\n" +
            Row(1, "0,000", "0,0000") + De("1,0000") + Row(2, "1,000", "1,0000", "1,0000") + De("2,0000") +
            Row(3, "2,000", "3,0000", "-1,0000") + De("1,0000") + Row(4, "3,000", "4,0000", "-1,0000") + De("0,0000") +
            Row(5, "4,000", "4,0000", "1,0000") + De("1,0000") + Row(6, "5,000", "5,0000") +
            "</TABLE>\r\n<HR>\r\n<H2>V\xFDsledky:</H2>\r\n<TABLE BORDER=1>\r\n"
            "<TR><TD><B>V<SUB>b</SUB></B>/ml</TD></TR>\r\n<TR><TD>1,5000</TD></TR><TR><TD>3,5000</TD></TR></TABLE>\r\n"
            "<HR>\r\n<DIV ALIGN=CENTER><SMALL>Vytvo\xF8"
            "eno programem Titrionika.</SMALL></DIV>\r\n</BODY>\r\n</HTML>\r\n");
}

TEST_F(HtmlExport, FewPointsUndefinedNumbersAndSettings) {
    // No rows without points; one point has no difference; two points one E' and no result.
    EXPECT_TRUE(Has(Export(), "</TR>\r\n" + kEnd));
    SetPoints({{0, 0}});
    EXPECT_TRUE(Has(Export(), "</TR>\r\n" + Row(1, "0,000", "0,0000") + kEnd));
    SetPoints({{0, 0}, {1, ext_float(0.0, true)}});
    EXPECT_TRUE(Has(Export(), Row(1, "0,000", "0,0000") + De("*") + Row(2, "1,000", "*") + kEnd));
    SetPoints({{0, 0}, {1, 1}, {2, 3}, {3, 4}});
    use_comma = false, vb_precis = 0, e_precis = 1, de_precis = 2, d2e_precis = 3, res_precis = 5;
    const std::string page = Export();
    EXPECT_TRUE(Has(page, Row(2, "1", "1.0", "1.000") + De("2.00"))) << page;
    EXPECT_TRUE(Has(page, "<TR><TD>1.50000</TD></TR></TABLE>\r\n")) << page;
    EXPECT_EQ(std::string::npos, page.find(',', page.find("<TABLE")));
    // The criterion is named under the results, also when it left none (at 100 %: only 1,5 is steepest).
    const std::string criterion =
        "<P>Rozpozn\xE1ny jen inflexe s nejstrm\xECj\x9A\xEDm pr\xF9"
        "b\xEChem (minim\xE1ln\xED strmost ";
    recognition = RECOGNIZE_STEEPEST, min_steepness = 100, recalc_arrays();
    EXPECT_TRUE(Has(Export(), "<TR><TD>1.50000</TD></TR></TABLE>\r\n" + criterion +
                                  "100 % nejv\xECt\x9A\xED).</P>\r\n<HR>\r\n<DIV"));
    SetPoints({{0, 0}, {1, 1}, {2, 2}});
    EXPECT_TRUE(Has(Export(), kEnd.substr(0, 16) + "<H2>V\xFDsledky:</H2>\r\n" + criterion +
                                  "100 % nejv\xECt\x9A\xED).</P>\r\n<HR>"));
}

// The page is written in blocks: a long document and a title longer than a block come out whole,
// the title quoted and converted.
TEST_F(HtmlExport, LongDocumentAndLongTitleAreWrittenWholeQuotedAndConverted) {
    std::vector<ext_float_pair> points;
    std::string rows;
    for (int i = 0; i < 1000; ++i) {
        points.push_back(ext_float_pair(i, 0));
        rows += Row(i + 1, std::to_string(i) + ",000", "0,0000", i > 0 && i < 999 ? "0,0000" : "") +
                (i < 999 ? De("0,0000") : "");
    }
    SetPoints(points);
    const std::string x(40000, 'x'), page = Export((x + "a<b> & \"c\" čeština").c_str());
    const std::string title = x +
                              "a&lt;b&gt; & \"c\" \xE8"
                              "e\x9Atina";
    EXPECT_TRUE(Has(page, "<TITLE>" + title + "</TITLE>\r\n"));
    EXPECT_TRUE(Has(page, "<H1>" + title + "</H1>\r\n"));
    EXPECT_TRUE(Has(page, "</TR>\r\n" + rows + kEnd));
    EXPECT_TRUE(Has(Export(nullptr), "<TITLE></TITLE>\r\n"));
}

TEST_F(HtmlExport, FileThatCannotBeWrittenIsAFailure) {
    const fs::path missing = fs::temp_directory_path() / "titrion-no-such-folder" / "r.html";
    for (const std::string& file : {std::string(), missing.string(), fs::temp_directory_path().string()})
        EXPECT_EQ(std::pair(internal_export_html(document, file.c_str(), "t", false),
                            internal_export_csv(document, file.c_str())),
                  std::pair(false, false))
            << "html, csv to " << file;
    EXPECT_FALSE(internal_export_html(document, nullptr, "t", false));
    EXPECT_FALSE(fs::exists(missing));
}

// An export that fails (a file another program holds open; a full disk is the data file's test,
// through the same writer) leaves the previous file byte for byte and no scratch file beside it;
// a read-only file is not replaced.
TEST_F(HtmlExport, FailedExportLeavesThePreviousFileAsItWas) {
    for (const bool csv : {false, true}) {
        std::ofstream(path, std::ios::binary) << "old\r\n";
        WriteFailure failure;
        const auto write = [&] {
            return csv ? internal_export_csv(document, path.c_str(), &failure)
                       : internal_export_html(document, path.c_str(), "t", false, &failure);
        };
#ifdef _WIN32
        const HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        const WriteFailure expected = {WriteFailure::REPLACE, ERROR_SHARING_VIOLATION};
        EXPECT_FALSE(write()) << csv;
        CloseHandle(held);
        EXPECT_EQ(std::tuple(failure.step, failure.system_error), std::tuple(expected.step, expected.system_error))
            << csv;
        EXPECT_EQ(Read(), "old\r\n") << csv;
#endif
        fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        EXPECT_FALSE(write()) << csv;
        EXPECT_EQ(std::tuple(failure.step, Read()), std::tuple(WriteFailure::READ_ONLY, std::string("old\r\n"))) << csv;
        fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    }
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
        EXPECT_EQ(entry.path().string().rfind(path + ".", 0), std::string::npos) << entry.path();
}

// The CSV table: every digit, E' on the row of the point it leaves, the results after an empty
// row; a real sample reads back through the import to the very same points, in either style.
TEST_F(HtmlExport, CsvTableAndItsRoundTripThroughImport) {
    const auto csv = [this] {
        EXPECT_TRUE(internal_export_csv(document, path.c_str()));
        return Read();
    };
    SetPoints({{0, 0}, {1, 1.0 / 3}, {2, 3}, {3, ext_float(0.0, true)}});
    EXPECT_EQ(csv(),
              "\xEF\xBB\xBFn;Vb/ml;E/mV;E'/mV.ml-1;E''/mV.ml-2\r\n1;0;0;0,3333333333333333;\r\n"
              "2;1;0,3333333333333333;2,6666666666666665;2,333333333333333\r\n3;2;3;;\r\n4;3;;;\r\n"
              "\r\nV\xC3\xBDsledky:\r\nVb/ml\r\n\r\n");  // an undefined result too: an empty cell
    use_comma = false;
    SetPoints({{0, 0}, {1, 1}, {2, 3}, {3, 4}});
    EXPECT_EQ(csv(),
              "\xEF\xBB\xBFn,Vb/ml,E/mV,E'/mV.ml-1,E''/mV.ml-2\r\n1,0,0,1,\r\n"
              "2,1,1,2,1\r\n3,2,3,1,-1\r\n4,3,4,,\r\n\r\nV\xC3\xBDsledky:\r\nVb/ml\r\n1.5\r\n");
    dyn_array_direct<ext_float_pair> sample(10, 10, nullptr);
    ASSERT_TRUE(internal_read(TITRION_EXAMPLES_DIR "/uhlicitan-hcl.tid", sample));
    for (const bool comma : {true, false}) {
        use_comma = comma;
        arr_vb.flush();
        for (int i = 0; i < sample.size(); ++i) arr_vb.append(*sample[i]);
        recalc_arrays();
        const std::string text = csv();
        const ImportTable table = import_scan(text.data(), text.size());
        EXPECT_EQ(std::tuple(table.bad_lines.size(), table.problem), std::tuple(0u, ImportProblem::none)) << comma;
        ASSERT_EQ(table.points.size(), static_cast<std::size_t>(sample.size()));
        for (int i = 0; i < sample.size(); ++i) {
            const ext_float_pair &got = table.points[static_cast<std::size_t>(i)], &was = *sample[i];
            EXPECT_EQ(std::tuple(got.vb.undefined, got.e.undefined), std::tuple(false, false))
                << comma << " point " << i + 1;
            EXPECT_TRUE(std::memcmp(&got.vb.value, &was.vb.value, sizeof(double)) == 0 &&
                        std::memcmp(&got.e.value, &was.e.value, sizeof(double)) == 0)
                << comma << " point " << i + 1 << ": " << got.vb.value << " " << got.e.value;
        }
        EXPECT_FALSE(arr_res.is_empty());
    }
}
