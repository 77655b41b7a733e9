#include <gtest/gtest.h>

#include <cstring>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include "export/cp1250.h"

namespace {

std::string Convert(const std::string& utf8) {
    char out[256];
    const std::size_t n = utf8_to_cp1250(utf8.c_str(), out, sizeof out);
    EXPECT_EQ(n, std::strlen(out));
    return out;
}

// The platform's own idea of the character behind a windows-1250 byte (-1: none), as an
// independent check of the table.
long PlatformCp1250(unsigned char byte) {
#ifdef _WIN32
    wchar_t wide[2];
    const char in[1] = {static_cast<char>(byte)};
    if (MultiByteToWideChar(1250, MB_ERR_INVALID_CHARS, in, 1, wide, 2) != 1) return -1;
    return wide[0];
#else
    iconv_t cd = iconv_open("UTF-32LE", "CP1250");
    if (cd == reinterpret_cast<iconv_t>(-1)) return -2;
    char in[1] = {static_cast<char>(byte)};
    unsigned char out[4] = {};
    char* pin = in;
    char* pout = reinterpret_cast<char*>(out);
    size_t inleft = 1, outleft = 4;
    const size_t r = iconv(cd, &pin, &inleft, &pout, &outleft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) return -1;
    return out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<long>(out[3]) << 24);
#endif
}

} // namespace

TEST(Cp1250, TableAgreesWithThePlatform) {
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const long mine = cp1250_to_unicode(static_cast<unsigned char>(byte));
        const long platform = PlatformCp1250(static_cast<unsigned char>(byte));
        ASSERT_NE(platform, -2) << "no converter for the code page";
        // Windows maps the unassigned bytes onto the C1 controls of the same value.
        if (mine == -1) {
            EXPECT_TRUE(platform == -1 || platform == byte) << std::hex << byte;
            continue;
        }
        EXPECT_EQ(mine, platform) << std::hex << byte;
        EXPECT_EQ(cp1250_from_unicode(static_cast<unsigned long>(mine)), byte) << std::hex << byte;
    }
}

TEST(Cp1250, CzechWordsBecomeSingleBytes) {
    EXPECT_EQ(Convert("Naměřené hodnoty"), "Nam\xEC\xF8" "en\xE9 hodnoty");
    EXPECT_EQ(Convert("Příliš žluťoučký kůň úpěl ďábelské ódy"),
              "P\xF8\xED" "li\x9A \x9Elu\x9Do" "u\xE8k\xFD k\xF9\xF2 \xFAp\xECl \xEF\xE1" "belsk\xE9 \xF3" "dy");
    EXPECT_EQ(Convert("ŠČŘŽÝÁÍÉŮÚĎŤŇĚ"), "\x8A\xC8\xD8\x8E\xDD\xC1\xCD\xC9\xD9\xDA\xCF\x8D\xD2\xCC");
    EXPECT_EQ(Convert("a\xC2\xA0" "b"), "a\xA0" "b");  // no-break space
}

TEST(Cp1250, UnrepresentableAndMalformedInputBecomesQuestionMarks) {
    EXPECT_EQ(Convert("€ ñ"), "\x80 ?");          // euro sign yes, n with tilde no
    EXPECT_EQ(Convert("日本"), "??");              // one '?' per character, not per byte
    EXPECT_EQ(Convert("\xF0\x9F\x98\x80!"), "?!");  // beyond the BMP
    EXPECT_EQ(Convert("a\xE9" "b"), "a?b");          // a windows-1250 byte is not UTF-8
    EXPECT_EQ(Convert("\xC3"), "?");                 // cut short by the end
    EXPECT_EQ(Convert("\xC0\xAF"), "?");             // overlong "/"
    EXPECT_EQ(Convert("\xED\xA0\x80"), "?");         // a surrogate
    EXPECT_EQ(Convert("\x80x"), "?x");               // stray continuation byte
    EXPECT_EQ(Convert("\xE2\x82x"), "?x");           // incomplete sequence keeps the next char
    EXPECT_EQ(cp1250_from_unicode(0x81), -1);        // the unassigned bytes are never produced
    EXPECT_EQ(cp1250_to_unicode(0x98), -1);
}

TEST(Cp1250, OutputIsCutToTheBufferLikeSnprintf) {
    char out[4];
    EXPECT_EQ(utf8_to_cp1250("čččččč", out, sizeof out), 6u);
    EXPECT_STREQ(out, "\xE8\xE8\xE8");
    char one[1] = {'x'};
    EXPECT_EQ(utf8_to_cp1250("abc", one, 1), 3u);
    EXPECT_EQ(one[0], '\0');
    EXPECT_EQ(utf8_to_cp1250(nullptr, out, sizeof out), 0u);
    EXPECT_STREQ(out, "");
}
