// Import of the text that instruments and spreadsheets export: a table of numbers in some
// encoding, column separator and decimal mark, with header and comment lines before it.
#pragma once
#include "core/ext_float.h"
#include "core/file_io.h"
#include "core/quantity.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class ImportEncoding { utf8, utf8_bom, utf16le, utf16be, cp1250 };

// Why nothing can be imported, for the caller to put in words.
enum class ImportProblem {
    none,
    no_text,     // no line holds anything
    no_numbers,  // no line holds two numbers
    no_pairs,    // the chosen columns give no point (a column missing or the same twice)
    no_memory,   // the text does not fit in memory
};

// How many lines the preview holds at most, and how many cells of each.
constexpr std::size_t IMPORT_PREVIEW_LINES = 20;
constexpr std::size_t IMPORT_PREVIEW_COLUMNS = 64;
// How many line numbers of unreadable lines are kept (all of them are counted).
constexpr std::size_t IMPORT_BAD_LINES_KEPT = 1000;

struct ImportTable {
    ImportEncoding encoding = ImportEncoding::utf8;
    char separator = '\t';  // '\t', ';', ',' or ' ' (a run of spaces and TABs)
    char decimal = '.';     // '.' or ','
    // The text as UTF-8 with its line ends (CR LF, LF or CR); it has `line_count` lines.
    std::string text;
    int line_count = 0;
    // The cells of the header row (empty when there is none) and its line number (or 0): the
    // last line before the data with two cells or more, none of them a number.
    std::vector<std::string> header;
    int header_line = 0;
    // The line number of the first line with two numbers (0 when there is none).
    int data_line = 0;
    // The cells of the first lines from the header (or the data) on, as read, for a preview:
    // at most IMPORT_PREVIEW_COLUMNS a line; `columns` is the most a preview line has.
    std::vector<std::vector<std::string>> preview;
    int preview_line = 0;
    int columns = 0;
    // The columns the points come from, 0-based; -1 when there is none. Set by the scan from
    // the header or as the first two numeric columns that are no running number (1, 2, 3 ...);
    // the caller may change them and extract.
    int volume_column = -1;
    int potential_column = -1;
    // Ascending volume; of readings at one volume only the last in the file (the settled one).
    std::vector<ext_float_pair> points;
    // How many readings a later one at the same volume replaced.
    std::size_t replaced = 0;
    // The lines after the header (or from the first data line on) that give no point: how many,
    // and the first IMPORT_BAD_LINES_KEPT of them by line number.
    std::size_t bad_count = 0;
    std::vector<int> bad_lines;
    // The lines that give points split into different numbers of cells, or into cells that look
    // like the decimals of a number cut at its decimal comma ("0,050" as 0 and 050): the
    // separator or the decimal mark may be wrong.
    bool doubtful = false;
    ImportProblem problem = ImportProblem::no_text;
};

// Reads a whole file into `bytes`; false with `error` set when it cannot be read or is too
// large for the import.
bool import_read_file(const char* path, std::string& bytes, ReadError& error);

// The text of the bytes in UTF-8: UTF-16 by its BOM, UTF-8 (with or without BOM), and any
// other text taken as windows-1250. May throw std::bad_alloc.
std::string import_decode(const char* data, std::size_t size, ImportEncoding& encoding);

// Reads the bytes of a file or of clipboard text: detects the encoding, separator, decimal
// mark, header and columns, then extracts the points.
ImportTable import_scan(const char* data, std::size_t size);

// Extracts the points of the table's data lines from its volume and potential columns again
// (after the caller changed them). Returns true when there is at least one point.
bool import_extract(ImportTable& table);

// The cells of one line under the separator, each without blanks around it or quotes.
std::vector<std::string> import_cells(std::string_view line, char separator);

// The column a user names: its 1-based number or its header's name (ASCII letters in any
// case); -1 when none.
int import_column(const ImportTable& table, const std::string& name);

// pH when the header names the potential column pH ("pH", "E/pH"), else mV.
Quantity import_quantity(const ImportTable& table);
