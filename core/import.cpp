#include "core/import.h"

#include "core/cp1250.h"
#include "core/file_io.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <tuple>

namespace {

void put_utf8(std::string& out, unsigned long cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16 as spreadsheets save "Unicode text": a BOM, then units in its byte order. A lone
// surrogate becomes U+FFFD; an odd last byte is dropped.
std::string from_utf16(const unsigned char* s, std::size_t size, bool big_endian) {
    std::string out;
    out.reserve(size / 2);
    const auto unit = [&](std::size_t i) {
        return big_endian ? static_cast<unsigned long>(s[i] << 8 | s[i + 1]) : static_cast<unsigned long>(s[i + 1] << 8 | s[i]);
    };
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        unsigned long cp = unit(i);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < size && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        put_utf8(out, cp);
    }
    return out;
}

bool valid_utf8(const char* data, std::size_t size) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(data);
    const unsigned char* const end = s + size;
    while (s < end) {
        if (*s < 0x80) {
            ++s;
            continue;
        }
        // The decoder reads up to a NUL: the last bytes are decoded from a terminated copy.
        unsigned char tail[5] = {};
        const unsigned char* at = s;
        if (end - s < 4) at = static_cast<const unsigned char*>(std::memcpy(tail, s, static_cast<std::size_t>(end - s)));
        long cp;
        s += decode_utf8(at, cp);
        if (cp < 0) return false;
    }
    return true;
}

// Calls `visit(number, line)` for each line from line `first` on, its end excluded; lines end
// in CR LF, LF or CR. Stops when `visit` returns false.
template <class Visit> void for_each_line(const std::string& text, int first, Visit visit) {
    const char* p = text.data();
    const char* const end = p + text.size();
    for (int number = 1; p < end; ++number) {
        const char* stop = p;
        while (stop < end && *stop != '\n' && *stop != '\r') ++stop;
        if (number >= first && !visit(number, std::string_view(p, static_cast<std::size_t>(stop - p)))) return;
        p = stop < end && *stop == '\r' && stop + 1 < end && stop[1] == '\n' ? stop + 2 : stop + 1;
    }
}

bool blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s, const char* also = "") {
    std::size_t first = 0, last = s.size();
    while (first < last && (blank(s[first]) || std::strchr(also, s[first]))) ++first;
    while (last > first && (blank(s[last - 1]) || std::strchr(also, s[last - 1]))) --last;
    return s.substr(first, last - first);
}

// The cells of `line` into `cells`, whose strings are reused from line to line.
void split_cells(std::string_view line, char separator, std::vector<std::string>& cells) {
    cells.clear();
    const std::size_t n = line.size();
    std::size_t i = 0;
    while (i < n && blank(line[i])) ++i;
    if (i == n) return;
    std::string cell;
    // Blanks before a cell are skipped, except a TAB that separates cells.
    for (i = 0;;) {
        while (i < n && blank(line[i]) && !(separator == '\t' && line[i] == '\t')) ++i;
        if (separator == ' ' && i == n) break;
        const auto ends_cell = [&](char c) { return separator == ' ' ? blank(c) : c == separator; };
        cell.clear();
        if (i < n && line[i] == '"') {
            // A quoted cell may hold separators; a doubled quote stands for one.
            for (++i; i < n; ++i) {
                if (line[i] != '"') cell += line[i];
                else if (i + 1 < n && line[i + 1] == '"') cell += line[i++];
                else break;
            }
            if (i < n) ++i;
        }
        const std::size_t from = i;
        while (i < n && !ends_cell(line[i])) ++i;
        cell.append(line.data() + from, i - from);
        cells.emplace_back(trimmed(cell));
        if (i >= n) break;
        ++i;
    }
}

// A cell is a number when the program's number reader takes all of it (it takes no number
// too large for a double) and it has no `other` decimal mark.
bool number_cell(const std::string& cell, char other, ext_float* value = nullptr) {
    if (cell.empty() || cell.find(other) != std::string::npos) return false;
    ext_float number;
    const char* const end = cell.data() + cell.size();
    if (number.read_number(cell.data(), end) != end) return false;
    if (value) *value = number;
    return true;
}

// Digits with a leading zero ("000", "05"): the decimals of a number cut at a decimal comma
// that was taken for the separator, not a measurement.
bool looks_cut(const std::string& cell) {
    if (cell.size() < 2 || cell[0] != '0') return false;
    return cell.find_first_not_of("0123456789") == std::string::npos;
}

char other_mark(char decimal) { return decimal == '.' ? ',' : '.'; }

int numbers_in(const std::vector<std::string>& cells, char other) {
    int count = 0;
    for (const std::string& cell : cells) count += number_cell(cell, other);
    return count;
}

// Cells up to the last that is not empty: a trailing separator adds no column.
std::size_t used_cells(const std::vector<std::string>& cells) {
    std::size_t n = cells.size();
    while (n > 0 && cells[n - 1].empty()) --n;
    return n;
}

bool is_comment(const std::vector<std::string>& cells) { return !cells.empty() && cells[0][0] == '#'; }

// Lower case for ASCII and the Latin-1 letters (Czech names in UTF-8 included).
std::string fold(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c + 32);
        if (c == 0xC3 && i + 1 < out.size()) {
            const unsigned char next = static_cast<unsigned char>(out[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) out[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        }
    }
    return out;
}

// The results that this program's CSV export writes after its points: no more points follow.
bool ends_table(const std::vector<std::string>& cells) { return fold(cells[0]) == "výsledky:"; }

enum class Column { other, volume, potential };

// A column name: the quantity's name, then perhaps its unit in brackets or after a slash or
// comma ("Volume [mL]", "E/mV", "Objem, ml"); a unit alone names the quantity too. pH is a
// potential read as pH.
struct ColumnName {
    std::string base, unit;  // folded
};

ColumnName split_name(const std::string& name) {
    const std::string folded = fold(name);
    const std::size_t cut = folded.find_first_of("[(/,");
    ColumnName parts;
    parts.base = trimmed(std::string_view(folded).substr(0, cut), ".");
    if (cut != std::string::npos) parts.unit = trimmed(std::string_view(folded).substr(cut + 1), "[]()");
    return parts;
}

Column column_of(const std::string& name) {
    const ColumnName parts = split_name(name);
    const std::string& base = parts.base;
    const std::string& unit = parts.unit;
    for (const char* word : {"v", "vb", "vol", "volume", "objem", "ml"})
        if (base == word) return Column::volume;
    if (unit == "ml") return Column::volume;
    for (const char* word : {"e", "u", "mv", "potential", "potenciál", "ph"})
        if (base == word) return Column::potential;
    return unit == "mv" || unit == "ph" ? Column::potential : Column::other;
}

// "pH", "pH [-]", "E/pH": the column's values are pH.
bool names_ph(const std::string& name) {
    const ColumnName parts = split_name(name);
    return parts.base == "ph" || parts.unit == "ph";
}

const char SEPARATORS[] = {'\t', ';', ',', ' '};
// The separator and decimal mark are judged by this many lines that hold something.
const int DETECTION_LINES = 4000;

// The reading (separator and decimal mark) that gives most lines two numbers; of those, the
// one whose lines are all numbers that look like measurements, then the one whose numbers use
// its decimal mark most; then the first in SEPARATORS, a decimal point before a comma.
void detect_format(ImportTable& table) {
    struct Reading {
        char separator, decimal;
        std::size_t data, measured, marked;
    } readings[8];
    int count = 0;
    for (const char separator : SEPARATORS)
        for (const char decimal : {'.', ','}) readings[count++] = {separator, decimal, 0, 0, 0};
    std::vector<std::string> cells;
    int seen = 0;
    for_each_line(table.text, 1, [&](int, std::string_view line) {
        if (trimmed(line).empty()) return true;
        for (Reading& r : readings) {
            split_cells(line, r.separator, cells);
            const char other = other_mark(r.decimal);
            if (is_comment(cells) || numbers_in(cells, other) < 2) continue;
            ++r.data;
            bool measured = true;
            for (const std::string& cell : cells) {
                const bool number = number_cell(cell, other);
                measured = measured && (cell.empty() || (number && !looks_cut(cell)));
                r.marked += number && cell.find(r.decimal) != std::string::npos;
            }
            r.measured += measured;
        }
        return ++seen < DETECTION_LINES;
    });
    const Reading* best = &readings[0];
    const auto rank = [](const Reading& r) { return std::make_tuple(r.data, r.measured, r.marked); };
    for (const Reading& r : readings)
        if (rank(r) > rank(*best)) best = &r;
    table.separator = best->separator;
    table.decimal = best->decimal;
}

// Marks the columns (of the first 64) that hold the running numbers 1, 2, 3 ... in every
// line with two numbers from `start` on, when there are two such lines or more.
std::uint64_t index_columns(const ImportTable& table, int start) {
    const char other = other_mark(table.decimal);
    std::uint64_t index = ~std::uint64_t(0);
    long long row = 0;
    std::vector<std::string> cells;
    ext_float value;
    for_each_line(table.text, start, [&](int, std::string_view line) {
        split_cells(line, table.separator, cells);
        if (is_comment(cells) || numbers_in(cells, other) < 2) return true;
        if (ends_table(cells)) return false;
        ++row;
        for (std::size_t c = 0; c < 64; ++c) {
            if (!(index >> c & 1)) continue;
            if (c >= cells.size() || !number_cell(cells[c], other, &value) || value.value != static_cast<double>(row))
                index &= ~(std::uint64_t(1) << c);
        }
        return index != 0;
    });
    return row >= 2 ? index : 0;
}

void choose_columns(ImportTable& table, const std::vector<std::string>& data, std::uint64_t index) {
    const char other = other_mark(table.decimal);
    const auto numeric = [&](std::size_t i) { return i < data.size() && number_cell(data[i], other); };
    table.volume_column = table.potential_column = -1;
    for (std::size_t i = 0; i < table.header.size(); ++i) {
        const Column q = column_of(table.header[i]);
        if (!numeric(i)) continue;
        if (q == Column::volume && table.volume_column < 0) table.volume_column = static_cast<int>(i);
        if (q == Column::potential && table.potential_column < 0) table.potential_column = static_cast<int>(i);
    }
    const auto is_index = [index](std::size_t i) { return i < 64 && (index >> i & 1); };
    const auto free = [&](std::size_t i) {
        const int column = static_cast<int>(i);
        return numeric(i) && column != table.volume_column && column != table.potential_column;
    };
    // A running number is skipped when the columns after it give what is missing.
    std::size_t missing = (table.volume_column < 0) + (table.potential_column < 0), others = 0;
    for (std::size_t i = 0; i < data.size(); ++i) others += free(i) && !is_index(i);
    const bool skip_index = others >= missing;
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (!free(i) || (skip_index && is_index(i))) continue;
        if (table.volume_column < 0) table.volume_column = static_cast<int>(i);
        else if (table.potential_column < 0) table.potential_column = static_cast<int>(i);
    }
}

void scan(ImportTable& table, const char* data, std::size_t size) {
    table.text = import_decode(data, size, table.encoding);
    for_each_line(table.text, 1, [&](int number, std::string_view) { return table.line_count = number, true; });
    detect_format(table);
    const char other = other_mark(table.decimal);
    std::vector<std::string> cells, data_cells;
    // The lines with numbers that run up to the data, with no blank, comment or text line
    // between: a first row that is no point belongs to the data.
    int run_start = 0;
    for_each_line(table.text, 1, [&](int number, std::string_view line) {
        split_cells(line, table.separator, cells);
        const int numbers = numbers_in(cells, other);
        if (cells.empty() || is_comment(cells)) {
            run_start = 0;
        } else if (numbers >= 2) {
            table.data_line = number;
            data_cells = cells;
            if (run_start == 0) run_start = number;
            return false;
        } else if (numbers > 0) {
            if (run_start == 0) run_start = number;
        } else {
            run_start = 0;
            if (cells.size() >= 2) {
                table.header = cells;
                table.header_line = number;
            }
        }
        return true;
    });
    if (table.data_line == 0) {
        table.header.clear();
        table.header_line = 0;
    }
    const int start = table.header_line != 0 ? table.header_line + 1 : table.data_line != 0 ? run_start : 1;
    table.preview_line = table.header_line != 0 ? table.header_line : start;
    for_each_line(table.text, table.preview_line, [&](int, std::string_view line) {
        split_cells(line, table.separator, cells);
        table.columns = std::max(table.columns, static_cast<int>(cells.size()));
        if (cells.size() > IMPORT_PREVIEW_COLUMNS) cells.resize(IMPORT_PREVIEW_COLUMNS);
        table.preview.push_back(cells);
        return table.preview.size() < IMPORT_PREVIEW_LINES;
    });
    if (table.data_line != 0) choose_columns(table, data_cells, index_columns(table, start));
}

// Where extraction starts: the line after the header, or the first line of the data.
int extraction_start(const ImportTable& table) {
    return table.header_line != 0 ? table.header_line + 1 : table.preview_line;
}

} // namespace

std::string import_decode(const char* data, std::size_t size, ImportEncoding& encoding) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(data);
    if (size >= 2 && s[0] == 0xFF && s[1] == 0xFE) {
        encoding = ImportEncoding::utf16le;
        return from_utf16(s + 2, size - 2, false);
    }
    if (size >= 2 && s[0] == 0xFE && s[1] == 0xFF) {
        encoding = ImportEncoding::utf16be;
        return from_utf16(s + 2, size - 2, true);
    }
    if (size >= 3 && s[0] == 0xEF && s[1] == 0xBB && s[2] == 0xBF) {
        encoding = ImportEncoding::utf8_bom;
        return std::string(data + 3, size - 3);
    }
    encoding = ImportEncoding::utf8;
    if (valid_utf8(data, size)) return std::string(data, size);
    // Text that is not UTF-8 is taken for the Czech Windows code page.
    encoding = ImportEncoding::cp1250;
    std::size_t length = 0;
    for (std::size_t i = 0; i < size; ++i) length += s[i] < 0x80 ? 1 : 3;
    std::string out;
    out.reserve(length);
    for (std::size_t i = 0; i < size; ++i) put_utf8(out, cp1250_to_unicode(s[i]));
    return out;
}

std::vector<std::string> import_cells(std::string_view line, char separator) {
    std::vector<std::string> cells;
    split_cells(line, separator, cells);
    return cells;
}

ImportTable import_scan(const char* data, std::size_t size) {
    ImportTable table;
    try {
        scan(table, data, size);
        import_extract(table);
    } catch (const std::bad_alloc&) {
        table = ImportTable();
        table.problem = ImportProblem::no_memory;
    }
    return table;
}

bool import_read_file(const char* path, std::string& bytes, ReadError& error) {
    return read_whole_file(path, bytes, error);
}

bool import_extract(ImportTable& table) {
    table.points.clear();
    table.bad_lines.clear();
    table.bad_count = table.replaced = 0;
    table.doubtful = false;
    if (table.data_line == 0) {
        bool empty = true;
        for_each_line(table.text, 1, [&](int, std::string_view line) { return empty = trimmed(line).empty(); });
        table.problem = empty ? ImportProblem::no_text : ImportProblem::no_numbers;
        return false;
    }
    table.problem = ImportProblem::no_pairs;
    if (table.volume_column < 0 || table.potential_column < 0 || table.volume_column == table.potential_column)
        return false;
    const char other = other_mark(table.decimal);
    const std::size_t volume = static_cast<std::size_t>(table.volume_column);
    const std::size_t potential = static_cast<std::size_t>(table.potential_column);
    std::size_t point_cells = 0;
    std::vector<std::string> cells;
    try {
        for_each_line(table.text, extraction_start(table), [&](int number, std::string_view line) {
            split_cells(line, table.separator, cells);
            if (cells.empty() || is_comment(cells)) return true;
            if (ends_table(cells)) return false;
            ext_float_pair point;
            if (volume < cells.size() && potential < cells.size() && number_cell(cells[volume], other, &point.vb) &&
                number_cell(cells[potential], other, &point.e)) {
                table.points.push_back(point);
                const std::size_t used = used_cells(cells);
                if (point_cells != 0 && used != point_cells) table.doubtful = true;
                for (std::size_t c = 0; c < used && !table.doubtful; ++c) table.doubtful = looks_cut(cells[c]);
                point_cells = used;
            } else {
                if (table.bad_lines.size() < IMPORT_BAD_LINES_KEPT) table.bad_lines.push_back(number);
                ++table.bad_count;
            }
            return true;
        });
    } catch (const std::bad_alloc&) {
        std::vector<ext_float_pair>().swap(table.points);
        table.problem = ImportProblem::no_memory;
        return false;
    }
    // Readings at one volume: the last one, taken when the potential had settled, stands.
    const auto less = [](const ext_float_pair& a, const ext_float_pair& b) { return a.vb.value < b.vb.value; };
    std::stable_sort(table.points.begin(), table.points.end(), less);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < table.points.size(); ++i) {
        if (kept > 0 && table.points[kept - 1].vb.value == table.points[i].vb.value) --kept;
        table.points[kept++] = table.points[i];
    }
    table.replaced = table.points.size() - kept;
    table.points.resize(kept);
    if (table.points.empty()) return false;
    table.problem = ImportProblem::none;
    return true;
}

int import_column(const ImportTable& table, const std::string& name) {
    char* end = nullptr;
    const long number = std::strtol(name.c_str(), &end, 10);
    if (!name.empty() && *end == 0) return number >= 1 && number <= 1000000 ? static_cast<int>(number - 1) : -1;
    for (std::size_t i = 0; i < table.header.size(); ++i)
        if (fold(table.header[i]) == fold(name)) return static_cast<int>(i);
    return -1;
}

Quantity import_quantity(const ImportTable& table) {
    const std::size_t column = static_cast<std::size_t>(table.potential_column);
    return table.potential_column >= 0 && column < table.header.size() && names_ph(table.header[column]) ? Quantity::ph
                                                                                                           : Quantity::mv;
}
