// Fuzz target: any bytes, as windows-1250 and as UTF-8. Windows-1250 text to UTF-8 and back is
// the same ('?' for the five bytes the code page leaves out); UTF-8 converts character by
// character, and within any buffer to the whole conversion's prefix, still a string.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/cp1250.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
    std::string utf8, expected;
    for (unsigned char c : bytes) {
        const unsigned long cp = cp1250_to_unicode(c);  // at most U+FFFF
        if (cp < 0x80)
            utf8 += static_cast<char>(cp);
        else if (cp < 0x800)
            utf8 += {static_cast<char>(0xC0 | cp >> 6), static_cast<char>(0x80 | (cp & 0x3F))};
        else
            utf8 += {static_cast<char>(0xE0 | cp >> 12), static_cast<char>(0x80 | (cp >> 6 & 0x3F)),
                     static_cast<char>(0x80 | (cp & 0x3F))};
        expected += cp == 0xFFFD ? '?' : static_cast<char>(c);
        Check(cp == 0xFFFD || cp1250_from_unicode(cp) == c);
    }
    std::string back(utf8.size() + 1, '\0');
    Check(utf8_to_cp1250(utf8.c_str(), &back[0], back.size()) == expected.size() && back.c_str() == expected);
    const std::size_t whole = utf8_to_cp1250(bytes.c_str(), nullptr, 0);
    std::string all(whole + 1, '\x7f');
    Check(utf8_to_cp1250(bytes.c_str(), &all[0], all.size()) == whole && all[whole] == '\0');
    for (std::size_t room = 1; room <= whole; room += 1 + room / 4) {
        std::string cut(room, '\x7f');
        Check(utf8_to_cp1250(bytes.c_str(), &cut[0], room) == whole && cut[room - 1] == '\0' &&
              all.compare(0, room - 1, cut, 0, room - 1) == 0);
    }
    const unsigned char* s = reinterpret_cast<const unsigned char*>(bytes.c_str());
    for (std::size_t i = 0, k = 0; i < bytes.size(); ++k) {
        long cp;
        const std::size_t length = decode_utf8(s + i, cp);
        const int byte = cp < 0 ? -1 : cp1250_from_unicode(static_cast<unsigned long>(cp));
        Check(length >= 1 && (i += length) <= bytes.size() && all[k] == (byte < 0 ? '?' : static_cast<char>(byte)));
    }
    return 0;
}
