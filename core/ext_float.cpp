#include "core/ext_float.h"

#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A decimal number at the start of [first, last): sign, digits with an optional point, an
// optional exponent. Words such as inf or nan and hexadecimal forms are not numbers here,
// though the C library would read them; an exponent letter without digits ends the number
// before it. The first comma of a text reads as a point: where a point may stand, only a
// sign and digits come before it, so a comma there is always the first one.
struct Decimal {
    const char* first;
    std::size_t length = 0;    // 0: no number
    bool negative = false;
    std::uint64_t digits = 0;  // the digits, exact while there are at most 15 significant ones
    int count = 0;             // significant digits
    int scale = 0;             // the power of ten the digits are multiplied by

    Decimal(const char* first_, const char* last) : first(first_) { scan(last); }

private:
    void digit(char c) {
        digits = digits * 10 + static_cast<unsigned>(c - '0');
        count += digits != 0;
    }

    void scan(const char* last) {
        const char* p = first;
        if (p < last && (*p == '+' || *p == '-')) negative = *p++ == '-';
        if (last - p >= 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return;
        const char* const mantissa = p;
        for (; p < last && is_digit(*p); ++p) digit(*p);
        std::ptrdiff_t points = 0;
        if (p < last && (*p == '.' || *p == ',')) {
            const char* const fraction = ++p;
            for (; p < last && is_digit(*p); ++p) digit(*p);
            scale = -static_cast<int>(p - fraction);
            points = 1;
        }
        if (p - mantissa == points) return;
        if (p < last && (*p == 'e' || *p == 'E')) {
            const char* q = p + 1;
            const bool down = q < last && *q == '-';
            if (q < last && (*q == '+' || *q == '-')) ++q;
            if (q < last && is_digit(*q)) {
                int exponent = 0;
                for (; q < last && is_digit(*q); ++q) {
                    if (exponent < 100000) exponent = exponent * 10 + (*q - '0');
                }
                scale += down ? -exponent : exponent;
                p = q;
            }
        }
        length = static_cast<std::size_t>(p - first);
    }
};

// Powers of ten that a double holds exactly.
const double EXACT_POWERS[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                               1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The value of a number of at most 15 significant digits scaled by at most 10^22 up or down,
// the form of nearly every measurement: the digits and the power are exact doubles, so one
// multiplication or division rounds once and correctly, as strtod does. False for every
// other number.
bool short_value(const Decimal& d, double& value) {
#if FLT_EVAL_METHOD != 0
    // Wider intermediate results (x87) would round twice.
    (void)d, (void)value;
    return false;
#else
    if (d.count > 15) return false;
    double v = static_cast<double>(d.digits);
    if (d.digits != 0) {
        if (d.scale < -22 || d.scale > 22) return false;
        v = d.scale < 0 ? v / EXACT_POWERS[-d.scale] : v * EXACT_POWERS[d.scale];
    }
    value = d.negative ? -v : v;
    return true;
#endif
}

// The value of any other number, rounded as the C library's strtod rounds it; false when it
// is too large for a double.
bool long_value(const Decimal& d, double& value) {
    // A NUL-terminated copy with a point for the comma, on the stack unless it is long.
    char small[64];
    std::string large;
    char* begin = small;
    if (d.length >= sizeof small) {
        large.assign(d.length, '\0');
        begin = &large[0];
    }
    std::memcpy(begin, d.first, d.length);
    begin[d.length] = '\0';
    if (char* comma = static_cast<char*>(std::memchr(begin, ',', d.length))) *comma = '.';
    const char* end = begin + d.length;
    // from_chars takes no plus sign before the digits.
    const auto read = std::from_chars(*begin == '+' ? begin + 1 : begin, end, value);
    if (read.ec == std::errc() && read.ptr == end) return true;
    // Out of range: too large, or so small that it underflows; strtod gives the underflow its
    // value (zero or a subnormal, signed) and the overflow an infinity.
    const double v = std::strtod(begin, nullptr);
    if (std::isinf(v)) return false;
    value = v;
    return true;
}

} // namespace

void ext_float::format(char* text, std::size_t text_size, int width, int precision, bool comma) const {
    if (text_size == 0) return;
    if (undefined) {
        std::snprintf(text, text_size, "*");
        return;
    }
    // Digits beyond the buffer could never be shown; bounding them keeps the C library from
    // producing (and allocating for) texts of millions of characters.
    const int limit = text_size > 4096 ? 4096 : static_cast<int>(text_size);
    if (precision > limit) precision = limit;
    if (width > limit) width = limit;
    std::snprintf(text, text_size, "%*.*f", width, precision, value);
    if (comma) {
        if (char* point = std::strchr(text, '.')) *point = ',';
    }
}

bool ext_float::parse(const char* text) {
    if (!text) text = "";
    return parse(text, text + std::strlen(text));
}

bool ext_float::parse(const char* first, const char* last) {
    // White space is made of control bytes and the space (and nothing else in the C locale).
    while (first < last && static_cast<unsigned char>(*first) <= ' ' && std::isspace(static_cast<unsigned char>(*first)))
        ++first;
    return read_number(first, last) != nullptr;
}

const char* ext_float::read_number(const char* first, const char* last) {
    const Decimal number(first, last);
    double v;
    // A decimal text too large for a double is no measurement.
    if (number.length == 0 || !(short_value(number, v) || long_value(number, v))) {
        undefined = true;
        return nullptr;
    }
    value = v;
    undefined = false;
    return first + number.length;
}
