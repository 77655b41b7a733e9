#include "core/import.h"

#include "core/cp1250.h"
#include "core/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

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

bool valid_utf8(const std::string& text) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text.c_str());
    const unsigned char* const end = s + text.size();
    while (s < end) {
        long cp;
        s += decode_utf8(s, cp);
        if (cp < 0) return false;
    }
    return true;
}

std::string decode(const char* data, std::size_t size, ImportEncoding& encoding) {
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
    std::string text(data, size);
    encoding = ImportEncoding::utf8;
    if (valid_utf8(text)) return text;
    // Text that is not UTF-8 is taken for the Czech Windows code page.
    encoding = ImportEncoding::cp1250;
    std::string out;
    out.reserve(size + size / 4);
    for (std::size_t i = 0; i < size; ++i) put_utf8(out, cp1250_to_unicode(s[i]));
    return out;
}

// Lines end in CR LF, LF or CR.
std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text, start, i - start);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text, start, std::string::npos);
    return lines;
}

bool blank(char c) { return c == ' ' || c == '\t'; }

// A cell is a number when the program's number reader takes all of it (it takes no number
// too large for a double) and it has no `other` decimal mark (0: either mark will do).
bool number_cell(const std::string& cell, char other, ext_float* value = nullptr) {
    if (cell.empty() || (other != 0 && cell.find(other) != std::string::npos)) return false;
    ext_float number;
    const char* const end = cell.data() + cell.size();
    if (number.read_number(cell.data(), end) != end) return false;
    if (value) *value = number;
    return true;
}

int numbers_in(const std::vector<std::string>& cells, char other) {
    int count = 0;
    for (const std::string& cell : cells) count += number_cell(cell, other);
    return count;
}

bool is_comment(const std::vector<std::string>& cells) { return !cells.empty() && cells[0][0] == '#'; }

std::string fold(const std::string& s);

// The results that this program's CSV export writes after its points: no more points follow.
bool ends_table(const std::vector<std::string>& cells) { return fold(cells[0]) == "výsledky:"; }

// Lower case for ASCII and the Latin-1 letters (Czech names in UTF-8 included).
std::string fold(const std::string& s) {
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

std::string trimmed(const std::string& s, const char* also = "") {
    std::size_t first = 0, last = s.size();
    while (first < last && (blank(s[first]) || std::strchr(also, s[first]))) ++first;
    while (last > first && (blank(s[last - 1]) || std::strchr(also, s[last - 1]))) --last;
    return s.substr(first, last - first);
}

enum class Quantity { other, volume, potential };

// A column name: the quantity's name, then perhaps its unit in brackets or after a slash or
// comma ("Volume [mL]", "E/mV", "Objem, ml"); a unit alone names the quantity too.
Quantity quantity(const std::string& name) {
    const std::string folded = fold(name);
    const std::size_t cut = folded.find_first_of("[(/,");
    const std::string base = trimmed(folded.substr(0, cut), ".");
    const std::string unit = cut == std::string::npos ? std::string() : trimmed(folded.substr(cut + 1), "[]()");
    for (const char* word : {"v", "vb", "vol", "volume", "objem", "ml"})
        if (base == word) return Quantity::volume;
    if (unit == "ml") return Quantity::volume;
    for (const char* word : {"e", "u", "mv", "potential", "potenciál"})
        if (base == word) return Quantity::potential;
    return unit == "mv" ? Quantity::potential : Quantity::other;
}

const char SEPARATORS[] = {'\t', ';', ',', ' '};

// The separator that gives most lines two numbers; on a tie the first in SEPARATORS.
char detect_separator(const std::vector<std::string>& lines) {
    char best = SEPARATORS[0];
    std::size_t best_lines = 0;
    for (const char separator : SEPARATORS) {
        std::size_t count = 0;
        for (const std::string& line : lines) {
            const std::vector<std::string> cells = import_cells(line, separator);
            count += !is_comment(cells) && numbers_in(cells, 0) >= 2;
        }
        if (count > best_lines) best = separator, best_lines = count;
    }
    return best;
}

// The decimal comma when more number cells hold a comma than a point.
char detect_decimal(const std::vector<std::string>& lines, char separator) {
    std::size_t commas = 0, points = 0;
    for (const std::string& line : lines) {
        const std::vector<std::string> cells = import_cells(line, separator);
        if (is_comment(cells)) continue;
        for (const std::string& cell : cells) {
            if (!number_cell(cell, 0)) continue;
            commas += cell.find(',') != std::string::npos;
            points += cell.find('.') != std::string::npos;
        }
    }
    return commas > points ? ',' : '.';
}

void choose_columns(ImportTable& table) {
    const char other = table.decimal == '.' ? ',' : '.';
    const std::vector<std::string> data = import_cells(table.lines[static_cast<std::size_t>(table.data_line - 1)], table.separator);
    const auto numeric = [&](std::size_t i) { return i < data.size() && number_cell(data[i], other); };
    table.volume_column = table.potential_column = -1;
    for (std::size_t i = 0; i < table.header.size(); ++i) {
        const Quantity q = quantity(table.header[i]);
        if (!numeric(i)) continue;
        if (q == Quantity::volume && table.volume_column < 0) table.volume_column = static_cast<int>(i);
        if (q == Quantity::potential && table.potential_column < 0) table.potential_column = static_cast<int>(i);
    }
    for (std::size_t i = 0; i < data.size(); ++i) {
        const int column = static_cast<int>(i);
        if (!numeric(i) || column == table.volume_column || column == table.potential_column) continue;
        if (table.volume_column < 0) table.volume_column = column;
        else if (table.potential_column < 0) table.potential_column = column;
    }
}

} // namespace

std::vector<std::string> import_cells(const std::string& line, char separator) {
    std::vector<std::string> cells;
    const std::size_t n = line.size();
    std::size_t i = 0;
    while (i < n && blank(line[i])) ++i;
    if (i == n) return cells;
    // Blanks before a cell are skipped, except a TAB that separates cells.
    for (i = 0;;) {
        while (i < n && blank(line[i]) && !(separator == '\t' && line[i] == '\t')) ++i;
        if (separator == ' ' && i == n) break;
        const auto ends_cell = [&](char c) { return separator == ' ' ? blank(c) : c == separator; };
        std::string cell;
        if (i < n && line[i] == '"') {
            // A quoted cell may hold separators; a doubled quote stands for one.
            for (++i; i < n; ++i) {
                if (line[i] != '"') cell += line[i];
                else if (i + 1 < n && line[i + 1] == '"') cell += line[i++];
                else break;
            }
            if (i < n) ++i;
        }
        while (i < n && !ends_cell(line[i])) cell += line[i++];
        cells.push_back(trimmed(cell));
        if (i >= n) break;
        ++i;
    }
    return cells;
}

ImportTable import_scan(const char* data, std::size_t size) {
    ImportTable table;
    table.lines = split_lines(decode(data, size, table.encoding));
    table.separator = detect_separator(table.lines);
    table.decimal = detect_decimal(table.lines, table.separator);
    const char other = table.decimal == '.' ? ',' : '.';
    std::size_t start = 0;
    for (std::size_t i = 0; i < table.lines.size() && table.data_line == 0; ++i) {
        const std::vector<std::string> cells = import_cells(table.lines[i], table.separator);
        if (numbers_in(cells, other) >= 2 && !is_comment(cells)) {
            table.data_line = static_cast<int>(i + 1);
            start = i;
        } else if (cells.size() >= 2 && !is_comment(cells)) {
            table.header = cells;
            table.header_line = static_cast<int>(i + 1);
        }
    }
    if (table.data_line == 0) {
        table.header.clear();
        table.header_line = 0;
    } else if (table.header_line != 0) {
        start = static_cast<std::size_t>(table.header_line - 1);
    }
    table.preview_line = static_cast<int>(start + 1);
    for (std::size_t i = start; i < table.lines.size() && table.preview.size() < IMPORT_PREVIEW_LINES; ++i)
        table.preview.push_back(import_cells(table.lines[i], table.separator));
    if (table.data_line != 0) choose_columns(table);
    import_extract(table);
    return table;
}

bool import_read_file(const char* path, std::string& bytes) {
    bytes.clear();
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    char block[65536];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, f)) > 0) bytes.append(block, got);
    const bool ok = !std::ferror(f);
    const int error = errno;  // for the caller's message, whatever closing sets
    std::fclose(f);
    errno = error;
    return ok;
}

bool import_extract(ImportTable& table) {
    table.points.clear();
    table.bad_lines.clear();
    if (table.data_line == 0) {
        bool empty = true;
        for (const std::string& line : table.lines) empty = empty && import_cells(line, ' ').empty();
        table.problem = empty ? ImportProblem::no_text : ImportProblem::no_numbers;
        return false;
    }
    table.problem = ImportProblem::no_pairs;
    if (table.volume_column < 0 || table.potential_column < 0 || table.volume_column == table.potential_column)
        return false;
    const char other = table.decimal == '.' ? ',' : '.';
    const std::size_t volume = static_cast<std::size_t>(table.volume_column);
    const std::size_t potential = static_cast<std::size_t>(table.potential_column);
    for (std::size_t i = static_cast<std::size_t>(table.data_line - 1); i < table.lines.size(); ++i) {
        const std::vector<std::string> cells = import_cells(table.lines[i], table.separator);
        if (cells.empty() || is_comment(cells)) continue;
        if (ends_table(cells)) break;
        ext_float_pair point;
        if (volume < cells.size() && potential < cells.size() && number_cell(cells[volume], other, &point.vb) &&
            number_cell(cells[potential], other, &point.e))
            table.points.push_back(point);
        else
            table.bad_lines.push_back(static_cast<int>(i + 1));
    }
    // Equal volumes as reading a data file leaves them.
    order_by_volume(table.points.data(), table.points.data() + table.points.size());
    if (table.points.empty()) return false;
    table.problem = ImportProblem::none;
    return true;
}
