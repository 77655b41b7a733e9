// Fuzz target: any bytes, both as windows-1250 and as UTF-8. Windows-1250 text converted to
// UTF-8 and back is the same text ('?' for the five bytes the code page leaves out); a UTF-8
// text converts within any buffer to the prefix of its whole conversion, every character to
// its byte, and a cut conversion is still a string.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/cp1250.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void PutUtf8(std::string& out, unsigned long cp) {
    if (cp < 0x80) out += static_cast<char>(cp);
    else if (cp < 0x800) out += {static_cast<char>(0xC0 | cp >> 6), static_cast<char>(0x80 | (cp & 0x3F))};
    else out += {static_cast<char>(0xE0 | cp >> 12), static_cast<char>(0x80 | (cp >> 6 & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
    std::string utf8, expected;
    for (unsigned char c : bytes) {
        const unsigned long cp = cp1250_to_unicode(c);
        PutUtf8(utf8, cp);
        expected += cp == 0xFFFD ? '?' : static_cast<char>(c);
        Check(cp == 0xFFFD || cp1250_from_unicode(cp) == c);
    }
    std::string back(utf8.size() + 1, '\0');
    Check(utf8_to_cp1250(utf8.c_str(), &back[0], back.size()) == expected.size() && back.c_str() == expected);
    // The bytes as UTF-8: the whole conversion, then cut to every smaller buffer.
    const std::size_t whole = utf8_to_cp1250(bytes.c_str(), nullptr, 0);
    std::string all(whole + 1, '\x7f');
    Check(utf8_to_cp1250(bytes.c_str(), &all[0], all.size()) == whole && all[whole] == '\0');
    for (std::size_t room = 1; room <= whole; room += 1 + room / 4) {
        std::string cut(room, '\x7f');
        Check(utf8_to_cp1250(bytes.c_str(), &cut[0], room) == whole && cut[room - 1] == '\0');
        Check(all.compare(0, room - 1, cut, 0, room - 1) == 0);
    }
    const unsigned char* s = reinterpret_cast<const unsigned char*>(bytes.c_str());
    for (std::size_t i = 0, k = 0; i < bytes.size(); ++k) {
        long cp;
        const std::size_t length = decode_utf8(s + i, cp);
        Check(length >= 1 && i + length <= bytes.size());
        const int byte = cp < 0 ? -1 : cp1250_from_unicode(static_cast<unsigned long>(cp));
        Check(all[k] == (byte < 0 ? '?' : static_cast<char>(byte)));
        i += length;
    }
    return 0;
}
