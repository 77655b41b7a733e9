// The document as a table for a spreadsheet: CSV in UTF-8 with BOM and CR LF line ends.
#pragma once
#include "core/document.h"
#include "core/safe_write.h"

// Writes the points of `doc` (with E' and E''), an empty row and the
// results to `file_name`. Numbers are the shortest texts that read back exactly; with
// use_comma on they have a decimal comma and cells are separated by ';', otherwise a point
// and ','. True when the whole table reached the file; otherwise a previous file is left as it
// was and `failure` says why.
bool internal_export_csv(const Document& doc, const char* file_name, WriteFailure* failure = nullptr);
