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

template <class T> std::string Joined(const std::vector<T>& items) {
    std::ostringstream out;
    for (std::size_t i = 0; i < items.size(); ++i) out << (i ? "|" : "") << items[i];
    return out.str();
}

} // namespace

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
         ImportEncoding::utf8_bom, ';', ',', "t [s]|Titrant [mL]|E [mV]|T [°C]", 1, 2, "0 -120.5;0.1 -118.25;1 -110;", "8"},
        // A spreadsheet's CSV, quoted, the potential first; equal volumes end in reverse order.
        {"t,\"POTENCIÁL\",\"Objem, ml\"\n0,200,1.5\n5,210,1.5\n10,\"-3e1\",\"2.25\"\n,\n", ImportEncoding::utf8,
         ',', '.', "t|POTENCIÁL|Objem, ml", 2, 1, "1.5 210;1.5 200;2.25 -30;", "5"},
        // A TAB-separated copy from a spreadsheet as "Unicode text".
        {Utf16("n\tE/mV\tVb\r\n1\t100,5\t0,1\r\n2\t101\t\r\n3\t102\t0,3\r\n", false), ImportEncoding::utf16le, '\t', ',',
         "n|E/mV|Vb", 2, 1, "0.1 100.5;0.3 102;", "3"},
        {Utf16("# comment\rjunk line here\r0.5  1e2\r# pause\r  1 2 3\r", true), ImportEncoding::utf16be, ' ', '.',
         "junk|line|here", 0, 1, "0.5 100;1 2;", ""},
        // windows-1250 ("Měření", "Potenciál"); a unit alone names a column too.
        {"M\xEC\xF8" "en\xED HCl\nPotenci\xE1l [mV];ml\n-2;1,5\n\n-3;2,5\nxx;3\n", ImportEncoding::cp1250, ';', ',',
         "Potenciál [mV]|ml", 1, 0, "1.5 -2;2.5 -3;", "6"},
        // With `;` and decimal points a comma is no decimal; a number beyond a double is none.
        {"Vb;E\n1.25;100\n1,5;7\n2.5;110\n1e999;5\n", ImportEncoding::utf8, ';', '.', "Vb|E", 0, 1,
         "1.25 100;2.5 110;", "3|5"},
        {"V E\n1,5   200\n  2,5 210 \n", ImportEncoding::utf8, ' ', ',', "V|E", 0, 1, "1.5 200;2.5 210;", ""},
    };
    for (const auto& row : rows) {
        const ImportTable table = import_scan(row.bytes.data(), row.bytes.size());
        SCOPED_TRACE(row.points);
        EXPECT_EQ(row.encoding, table.encoding);
        EXPECT_EQ(row.separator, table.separator);
        EXPECT_EQ(row.decimal, table.decimal);
        EXPECT_EQ(row.header, Joined(table.header));
        EXPECT_EQ(row.volume, table.volume_column);
        EXPECT_EQ(row.potential, table.potential_column);
        EXPECT_EQ(row.points, Points(table));
        EXPECT_EQ(row.bad_lines, Joined(table.bad_lines));
        EXPECT_EQ(ImportProblem::none, table.problem);
        EXPECT_EQ(Joined(table.header), Joined(table.preview.front()));
    }
}

TEST(Import, ChosenColumnsAndTextWithoutPairs) {
    const std::string titrator = "t;V [mL];E [mV]\r\n0;0,5;-120\r\n5;0,25;-118\r\n";
    ImportTable table = import_scan(titrator.data(), titrator.size());
    table.volume_column = 0;
    ASSERT_TRUE(import_extract(table));
    EXPECT_EQ("0 -120;5 -118;", Points(table));
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
