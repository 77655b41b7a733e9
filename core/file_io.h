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

// Empties `points` and fills it from the file in ascending Vb, points of equal Vb in reverse
// file order; `description`, when given, receives the file's description. False when the file
// cannot be opened (points untouched), on the first malformed line (the points before it are
// kept), or on a read error.
bool internal_read(const char* path, dyn_array_direct<ext_float_pair>& points,
                   std::string* description = nullptr);

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
