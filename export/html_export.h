// The report of the document as one HTML page in windows-1250.
#pragma once
#include "core/document.h"
#include "core/safe_write.h"

#include <string>

// A copy of `text` (UTF-8 or any 8-bit text) with "<" and ">" written as "&lt;" and "&gt;";
// every other byte is kept. Allocated with malloc and released by the caller with free;
// null when there is no memory.
char* HTML_quote(const char* text);

// Writes the page of `doc` (its points and their evaluation, formatted with
// the display settings; under the results the determination and its result when it has one) to `file_name` under the title `heading` (UTF-8). True when the
// whole page reached the file; otherwise a previous file is left as it was and `failure`
// says why. `include_graph` has no effect on the page.
bool internal_export_html(const Document& doc, const char* file_name, const char* heading, bool include_graph,
                          WriteFailure* failure = nullptr);

// UTF-8 text for a windows-1250 page: "<", ">" and "&" as entities, and so every character
// the code page lacks (e.g. "−", "ρ") as a numeric reference.
std::string HtmlText(const std::string& utf8);
