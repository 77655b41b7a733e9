// Conversion between UTF-8 text and the windows-1250 code page, independent of the system's
// code page (the HTML report is fixed to windows-1250 whatever the machine uses; imported
// text may come in it).
#pragma once
#include <cstddef>

// The byte that stands for the character in windows-1250, or -1 when it has none.
int cp1250_from_unicode(unsigned long code_point);

// Converts the NUL-terminated UTF-8 `text`. A character without a windows-1250 byte and
// each malformed sequence (as decode_utf8 delimits it) become one '?'. Writes at most `out_size` bytes, NUL
// included, and returns the length of the whole conversion (as snprintf does).
std::size_t utf8_to_cp1250(const char* text, char* out, std::size_t out_size);

// The character of a windows-1250 byte; U+FFFD for the five bytes the code page leaves out.
unsigned long cp1250_to_unicode(unsigned char byte);

// Decodes one UTF-8 character at `s` (read up to a NUL at most); returns the bytes it takes
// (at least 1) and stores the character in `code_point`, or -1 there when the sequence is
// malformed (overlong forms, surrogates and values beyond U+10FFFF included).
std::size_t decode_utf8(const unsigned char* s, long& code_point);
