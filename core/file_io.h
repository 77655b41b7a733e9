// The ".tid" data file: a header comment and one "Vb<TAB>E" line per point.
#pragma once
#include "core/dyn_array_direct.h"
#include "core/ext_float.h"
#include "core/safe_write.h"

#include <string>

// A file may describe its curve in comment lines between the header line and the first point
// (what was titrated, the electrode, ...). Reading keeps them as the document's description,
// one line after another, each ended by '\n' and without its line end; saving writes them back.

// True only when the file at `path` now holds the points; on failure a previous file at
// `path` is left exactly as it was and `failure` says why (see write_file_safely). Every
// number reads back as exactly the same double.
bool internal_save(const char* path, const dyn_array_direct<ext_float_pair>& points,
                   const std::string& description = std::string(), WriteFailure* failure = nullptr);

// Why a data file was not read, and where: each reader names the line it stopped at, so that
// every caller gives the same reason.
enum class ReadProblem {
    none,
    cannot_open,  // `system_error` holds errno
    cannot_read,  // the same
    too_large,    // larger than READ_SIZE_LIMIT
    no_memory,
    not_a_point,  // `line` is neither a point, a comment nor blank: the reading stops there
    no_point,     // `line` holds text, but the file gives no point
};
struct ReadError {
    ReadProblem problem = ReadProblem::none;
    int line = 0;  // 1-based; 0 when the problem is not a line's
    int system_error = 0;
};

// Files are read whole; a larger one is refused rather than exhausting the memory.
constexpr unsigned long long READ_SIZE_LIMIT = 1ull << 30;

// Reads the whole file at `path` (a pipe too) into `bytes`; false with `error` set when it
// cannot be opened or read, is larger than `limit` bytes or does not fit in memory.
bool read_whole_file(const char* path, std::string& bytes, ReadError& error,
                     unsigned long long limit = READ_SIZE_LIMIT);

// Empties `points` and fills it from the file in ascending Vb, points of equal Vb in reverse
// file order; `description`, when given, receives the file's description. False when the file
// cannot be opened (points untouched), on the first malformed line (the points before it are
// kept), on a read error, or when text lines give no point at all; `error` tells which.
// 8-bit text is read byte by byte; UTF-16 with its BOM is decoded first. Lines end in LF, or
// in CR in a file without any LF.
bool internal_read(const char* path, dyn_array_direct<ext_float_pair>& points,
                   std::string* description = nullptr, ReadError* error = nullptr);
// The same for the bytes of a file already read.
bool internal_read_bytes(const char* data, std::size_t size, dyn_array_direct<ext_float_pair>& points,
                         std::string* description = nullptr, ReadError* error = nullptr);

// True when the bytes start with the data file's header line (after a byte order mark).
bool is_data_file(const char* data, std::size_t size);

// Puts points, given in the order read, where inserting each before every point of the same
// volume would have put it: ascending volume, equal volumes newest first. Every volume defined.
void order_by_volume(ext_float_pair* first, ext_float_pair* last);

// Writes `value` as printf's %.<p>g would with the least precision p from 6 to 17 whose text
// reads back as exactly the same double (how saving writes numbers). Returns the text's end.
char* put_number(char* out, char* out_end, double value);

// A point as the clipboard carries it, "Vb<TAB>E": each number as printf's %f writes it when
// that reads back as exactly the same double, otherwise as put_number writes it.
std::string point_text(const ext_float_pair& point);

// Tokenizers over a writable NUL-terminated line.
char* strip_eol(char* line);  // cuts the line at its first LF
char* skip_ws(char* pos);     // first position that is not a blank, or the end
char* seek(char* pos);        // first position that is a blank, or the end
