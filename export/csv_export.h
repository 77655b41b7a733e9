// The document as a table for a spreadsheet: CSV in UTF-8 with BOM and CR LF line ends.
#pragma once
#include "core/document.h"
#include "core/safe_write.h"

#include <string>

// Writes the points of `doc` (with E' and E''), an empty row and the
// results to `file_name`; with a determination then an empty row, "Stanovení:", its fields and
// the result. Numbers are the shortest texts that read back exactly; with
// use_comma on they have a decimal comma and cells are separated by ';', otherwise a point
// and ','. True when the whole table reached the file; otherwise a previous file is left as it
// was and `failure` says why.
bool internal_export_csv(const Document& doc, const char* file_name, WriteFailure* failure = nullptr);

// A text cell: quoted, its quotes doubled, when it holds the separator, a quote or a line end.
std::string CsvCell(const std::string& cell, char sep);
