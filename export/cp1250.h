// Conversion of UTF-8 text to the windows-1250 code page, independent of the system's
// code page (the HTML report is fixed to windows-1250 whatever the machine uses).
#pragma once
#include <cstddef>

// The byte that stands for the character in windows-1250, or -1 when it has none.
int cp1250_from_unicode(unsigned long code_point);

// Converts the NUL-terminated UTF-8 `text`. A character without a windows-1250 byte and
// every byte of a malformed sequence become '?'. Writes at most `out_size` bytes, NUL
// included, and returns the length of the whole conversion (as snprintf does).
std::size_t utf8_to_cp1250(const char* text, char* out, std::size_t out_size);
