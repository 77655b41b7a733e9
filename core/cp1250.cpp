#include "core/cp1250.h"

namespace {

// Characters of the bytes 0x80 .. 0xFF; 0 marks the unassigned bytes.
const unsigned short upper_half[128] = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0,      0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0,      0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

// Calls put(byte) for every converted byte; stops early when put returns false.
template <class Put>
bool convert(const char* text, Put put) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text ? text : "");
    while (*s) {
        long cp;
        s += decode_utf8(s, cp);
        const int byte = cp < 0 ? -1 : cp1250_from_unicode(static_cast<unsigned long>(cp));
        if (!put(static_cast<char>(byte < 0 ? '?' : byte))) return false;
    }
    return true;
}

} // namespace

std::size_t decode_utf8(const unsigned char* s, long& code_point) {
    const unsigned char lead = s[0];
    if (lead < 0x80) {
        code_point = lead;
        return 1;
    }
    int extra;
    unsigned long cp;
    unsigned long minimum;
    if ((lead & 0xE0) == 0xC0) { extra = 1; cp = lead & 0x1F; minimum = 0x80; }
    else if ((lead & 0xF0) == 0xE0) { extra = 2; cp = lead & 0x0F; minimum = 0x800; }
    else if ((lead & 0xF8) == 0xF0) { extra = 3; cp = lead & 0x07; minimum = 0x10000; }
    else { code_point = -1; return 1; }
    for (int i = 1; i <= extra; ++i) {
        // A missing continuation byte (the NUL included) ends the bad sequence before it.
        if ((s[i] & 0xC0) != 0x80) { code_point = -1; return static_cast<std::size_t>(i); }
        cp = (cp << 6) | (s[i] & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) code_point = -1;
    else code_point = static_cast<long>(cp);
    return static_cast<std::size_t>(extra) + 1;
}

unsigned long cp1250_to_unicode(unsigned char byte) {
    if (byte < 0x80) return byte;
    return upper_half[byte - 0x80] != 0 ? upper_half[byte - 0x80] : 0xFFFD;
}

int cp1250_from_unicode(unsigned long code_point) {
    if (code_point < 0x80) return static_cast<int>(code_point);
    if (code_point > 0xFFFF) return -1;
    for (int i = 0; i < 128; ++i) {
        if (upper_half[i] == code_point) return 0x80 + i;
    }
    return -1;
}

std::size_t utf8_to_cp1250(const char* text, char* out, std::size_t out_size) {
    std::size_t length = 0;
    convert(text, [&](char c) {
        if (length + 1 < out_size) out[length] = c;
        ++length;
        return true;
    });
    if (out_size > 0) out[length < out_size ? length : out_size - 1] = '\0';
    return length;
}
