#include <gtest/gtest.h>

#include <charconv>
#include <sstream>
#include <string>

#include "core/import.h"

namespace {

// The text (ASCII) as spreadsheets save "Unicode text": a BOM and UTF-16 in either byte order.
std::string Utf16(const std::string& text, bool big_endian) {
    std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text) out += big_endian ? std::string{'\0', c} : std::string{c, '\0'};
    return out;
}

// Shortest texts that read back exactly: a point read slightly off shows.
std::string Points(const ImportTable& table) {
    std::string out;
    char text[32];
    for (const ext_float_pair& p : table.points) {
        out.append(text, std::to_chars(text, text + sizeof text, p.vb.value).ptr) += ' ';
        out.append(text, std::to_chars(text, text + sizeof text, p.e.value).ptr) += ';';
    }
    return out;
}

template <class T>
std::string Joined(const std::vector<T>& items) {
    std::ostringstream out;
    for (std::size_t i = 0; i < items.size(); ++i) out << (i ? "|" : "") << items[i];
    return out.str();
}

}  // namespace

TEST(Import, DetectsEncodingSeparatorDecimalHeaderAndColumns) {
    const struct {
        std::string bytes;
        ImportEncoding encoding;
        char separator, decimal;
        const char* header;
        int volume, potential;
        const char* points;
        const char* bad_lines;
    } rows[] = {
        // A titrator's export: metadata, a header with units, a time column, a closing line.
        {"\xEF\xBB\xBFTitrátor T90;Metoda: HCl 0,1 M\r\nVzorek;1\r\n\r\nt [s];Titrant [mL];E [mV];T [°C]\r\n"
         "0;0,000;-120,5;25,1\r\n5;0,100;-118,25;25,1\r\n10;1,000;-110,0;25,2\r\nKonec\r\n",
         ImportEncoding::utf8_bom, ';', ',', "t [s]|Titrant [mL]|E [mV]|T [°C]", 1, 2, "0 -120.5;0.1 -118.25;1 -110;",
         "8"},
        // A spreadsheet's CSV, quoted, the potential first; of equal volumes the last reading stays.
        {"t,\"POTENCIÁL\",\"Objem, ml\"\n0,200,1.5\n5,210,1.5\n10,\"-3e1\",\"2.25\"\n,\n", ImportEncoding::utf8, ',',
         '.', "t|POTENCIÁL|Objem, ml", 2, 1, "1.5 210;2.25 -30;", "5"},
        // A TAB-separated copy from a spreadsheet as "Unicode text".
        {Utf16("n\tE/mV\tVb\r\n1\t100,5\t0,1\r\n2\t101\t\r\n3\t102\t0,3\r\n", false), ImportEncoding::utf16le, '\t',
         ',', "n|E/mV|Vb", 2, 1, "0.1 100.5;0.3 102;", "3"},
        {Utf16("# comment\rjunk line here\r0.5  1e2\r# pause\r  1 2 3\r", true), ImportEncoding::utf16be, ' ', '.',
         "junk|line|here", 0, 1, "0.5 100;1 2;", ""},
        // windows-1250 ("Měření", "Potenciál"); a unit alone names a column too.
        {"M\xEC\xF8"
         "en\xED HCl\nPotenci\xE1l [mV];ml\n-2;1,5\n\n-3;2,5\nxx;3\n",
         ImportEncoding::cp1250, ';', ',', "Potenciál [mV]|ml", 1, 0, "1.5 -2;2.5 -3;", "6"},
        // With `;` and decimal points a comma is no decimal; a number beyond a double is none.
        {"Vb;E\n1.25;100\n1,5;7\n2.5;110\n1e999;5\n", ImportEncoding::utf8, ';', '.', "Vb|E", 0, 1, "1.25 100;2.5 110;",
         "3|5"},
        {"V E\n1,5   200\n  2,5 210 \n", ImportEncoding::utf8, ' ', ',', "V|E", 0, 1, "1.5 200;2.5 210;", ""},
    };
    for (const auto& row : rows) {
        const ImportTable table = import_scan(row.bytes.data(), row.bytes.size());
        SCOPED_TRACE(row.points);
        EXPECT_EQ(
            std::tuple(table.encoding, table.separator, table.decimal, table.volume_column, table.potential_column),
            std::tuple(row.encoding, row.separator, row.decimal, row.volume, row.potential));
        EXPECT_EQ(std::tuple(Joined(table.header), Points(table), Joined(table.bad_lines), table.problem),
                  std::tuple(row.header, row.points, row.bad_lines, ImportProblem::none));
        EXPECT_EQ(Joined(table.header), Joined(table.preview.front()));
    }
}

TEST(Import, ChosenColumnsAndTextWithoutPairs) {
    const std::string titrator = "t;V [mL];E [mV]\r\n0;0,5;-120\r\n5;0,25;-118\r\n";
    ImportTable table = import_scan(titrator.data(), titrator.size());
    table.volume_column = 0;
    ASSERT_TRUE(import_extract(table));
    EXPECT_EQ("0 -120;5 -118;", Points(table));
    std::string long_text = "V;E\n";  // the preview shows the header and the first 19 points of 30
    for (int i = 0; i < 30; ++i) long_text += std::to_string(i) + ";" + std::to_string(100 + i) + "\n";
    EXPECT_EQ(import_scan(long_text.data(), long_text.size()).preview.size(), 20u);
    table.potential_column = 0;
    EXPECT_FALSE(import_extract(table));
    EXPECT_EQ(ImportProblem::no_pairs, table.problem);
    EXPECT_TRUE(table.points.empty());
    for (const auto& row : {std::pair<std::string, ImportProblem>{"", ImportProblem::no_text},
                            {"\r\n \t\n\r", ImportProblem::no_text},
                            {"Vzorek;A\nnic;1\n# 1 2\n12.5ml 3\n", ImportProblem::no_numbers}}) {
        table = import_scan(row.first.data(), row.first.size());
        EXPECT_EQ(row.second, table.problem) << row.first;
        EXPECT_EQ(std::tuple(table.points.size(), table.bad_lines.size(), table.header.size()), std::tuple(0u, 0u, 0u));
    }
}

// Files from others that once opened empty, with invented points or swapped columns, or lost
// lines without a word. A data file (starting "#") gives the reader's verdict, its points and
// description; any other text the import's reading of it.
TEST(Import, HostileFilesAreReadOrExplained) {
    const std::string tid = "# Titrionika 2.0\r\n# HCl 0,1 M\r\n\r\n1\t-50.5\r\n2\t-20\r\n3\t150\r\n";
    std::string cr = tid, tail = "# Titrionika 2.0\n" + std::string(300, '#') + "\n1 2\n";
    for (std::size_t at; (at = cr.find("\r\n")) != std::string::npos;) cr.erase(at + 1, 1);
    const std::string tid_read = "read;1 -50.5;2 -20;3 150;# HCl 0,1 M|";
    const struct {
        std::string bytes, outcome;
    } rows[] = {
        {Utf16(tid, false), tid_read},
        {Utf16(tid, true), tid_read},
        {cr, tid_read},
        {tail, "read;1 2;" + std::string(300, '#') + "|"},
        {std::string("# a\n1 2\n3\0 4\n5 6\n", 18), "line 3: 5;1 2;# a|"},
        {std::string("# a\n\0"
                     "1\0 \0"
                     "2\n",
                     11),
         "line 2: 6;# a|"},
        {"# a\n1 2\n5 inf\n", "line 3: 5;1 2;# a|"},
        // The import: separator, decimal mark, columns, header; bad lines, replaced readings, doubt.
        {"E/mV;V/ml\nOVR;0,00\n100;1,0\n200;2,0\n", "; , 1 0 E/mV|V/ml; bad 2 replaced 0 doubt 0;1 100;2 200;"},
        {"1\t1e309\n2\t5\n3\t7\n", "\t . 0 1 ; bad 1 replaced 0 doubt 0;2 5;3 7;"},
        {"V E\n1 nan\n2 -1e999\n3 4\n4 5\n", "  . 0 1 V|E; bad 2|3 replaced 0 doubt 0;3 4;4 5;"},
        {"0,000    -249,5\n0,100    -240,0\n", "  , 0 1 ; bad  replaced 0 doubt 0;0 -249.5;0.1 -240;"},
        {"V,E\n0,000,-249,5\n0,100,-240,0\n", ", . 0 1 V|E; bad  replaced 1 doubt 1;0 100;"},
        {"V,E\n0,5,-249,5\n1,-240\n", ", . 0 1 V|E; bad  replaced 0 doubt 1;0 5;1 -240;"},
        {"1;0,0;100\n2;0,5;150\n3;1,0;400\n", "; , 1 2 ; bad  replaced 0 doubt 0;0 100;0.5 150;1 400;"},
        {"V;E\n0;100\n1;150\n1;152\n1;153\n2;300\n", "; . 0 1 V|E; bad  replaced 2 doubt 0;0 100;1 153;2 300;"},
    };
    for (const auto& row : rows) {
        std::ostringstream outcome;
        if (row.bytes.find('#') < 20) {
            dyn_array_direct<ext_float_pair> points(10, 10, nullptr);
            std::string description;
            ReadError error;
            const bool read = internal_read_bytes(row.bytes.data(), row.bytes.size(), points, &description, &error);
            outcome << (read ? "read"
                             : "line " + std::to_string(error.line) + ": " + std::to_string(int(error.problem)));
            for (int i = 0; i < points.size(); ++i) outcome << ';' << points[i]->vb.value << ' ' << points[i]->e.value;
            for (char& c : description) c = c == '\n' ? '|' : c;
            outcome << ';' << description;
        } else {
            const ImportTable table = import_scan(row.bytes.data(), row.bytes.size());
            outcome << table.separator << ' ' << table.decimal << ' ' << table.volume_column << ' '
                    << table.potential_column << ' ' << Joined(table.header) << "; bad " << Joined(table.bad_lines)
                    << " replaced " << table.replaced << " doubt " << table.doubtful << ';' << Points(table);
        }
        EXPECT_EQ(row.outcome, outcome.str()) << row.bytes;
    }
}
