// Import of the text that instruments and spreadsheets export: a table of numbers in some
// encoding, column separator and decimal mark, with header and comment lines before it.
#pragma once
#include "core/ext_float.h"

#include <cstddef>
#include <string>
#include <vector>

enum class ImportEncoding { utf8, utf8_bom, utf16le, utf16be, cp1250 };

// Why nothing can be imported, for the caller to put in words.
enum class ImportProblem {
    none,
    no_text,     // no line holds anything
    no_numbers,  // no line holds two numbers
    no_pairs,    // the chosen columns give no point (a column missing or the same twice)
};

struct ImportTable {
    ImportEncoding encoding = ImportEncoding::utf8;
    char separator = '\t';  // '\t', ';', ',' or ' ' (a run of spaces and TABs)
    char decimal = '.';     // '.' or ','
    // The text as UTF-8, one string a line, line ends removed; line n is lines[n - 1].
    std::vector<std::string> lines;
    // The cells of the header row (empty when there is none) and its line number (or 0).
    std::vector<std::string> header;
    int header_line = 0;
    // The line number of the first line with two numbers (0 when there is none): the data.
    int data_line = 0;
    // The cells of the first lines from the header (or the data) on, as read, for a preview.
    std::vector<std::vector<std::string>> preview;
    int preview_line = 0;
    // The columns the points come from, 0-based; -1 when there is none. Set by the scan from
    // the header or as the first two numeric columns; the caller may change them and extract.
    int volume_column = -1;
    int potential_column = -1;
    // Ascending volume, equal volumes in reverse order, as reading a data file gives them.
    std::vector<ext_float_pair> points;
    // Data lines that give no point, by line number.
    std::vector<int> bad_lines;
    ImportProblem problem = ImportProblem::no_text;
};

// How many lines the preview holds at most.
constexpr std::size_t IMPORT_PREVIEW_LINES = 20;

// Reads a whole file into `bytes`; false (with errno set) when it cannot be read.
bool import_read_file(const char* path, std::string& bytes);

// Reads the bytes of a file or of clipboard text: detects the encoding, separator, decimal
// mark, header and columns, then extracts the points.
ImportTable import_scan(const char* data, std::size_t size);

// Extracts the points of the table's data lines from its volume and potential columns again
// (after the caller changed them). Returns true when there is at least one point.
bool import_extract(ImportTable& table);

// The cells of one line under the separator, each without blanks around it or quotes.
std::vector<std::string> import_cells(const std::string& line, char separator);
