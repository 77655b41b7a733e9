#include "core/ext_float.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

ext_float undefined_number() { return ext_float(0.0, true); }

bool either_undefined(const ext_float& a, const ext_float& b) { return a.undefined || b.undefined; }

// The text of a number: [first, last) with its first comma read as a point; '\0' past the end.
struct NumberText {
    const char* first;
    const char* last;
    const char* comma;
    char operator[](std::size_t i) const {
        const char* p = first + i;
        return p >= last ? '\0' : p == comma ? '.' : *p;
    }
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Length of the decimal number at the start of `s` (sign, digits with an optional point, an
// optional exponent), or 0 when there is none. Words such as inf or nan and hexadecimal
// forms are not numbers here, though the C library would read them.
std::size_t decimal_number_length(const NumberText& s) {
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-') ++i;
    if (s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) return 0;
    std::size_t digits = 0;
    while (is_digit(s[i])) { ++i; ++digits; }
    if (s[i] == '.') {
        ++i;
        while (is_digit(s[i])) { ++i; ++digits; }
    }
    if (digits == 0) return 0;
    if (s[i] == 'e' || s[i] == 'E') {
        std::size_t j = i + 1;
        if (s[j] == '+' || s[j] == '-') ++j;
        if (is_digit(s[j])) {
            while (is_digit(s[j])) ++j;
            i = j;
        }
    }
    return i;
}

// The value of the decimal number of `length` characters at the start of `s`, rounded as the
// C library's strtod rounds it; false when it is too large for a double.
bool decimal_value(const NumberText& s, std::size_t length, double& value) {
    std::string copy;
    const char* begin = s.first;
    if (s.comma >= s.first && s.comma < s.first + length) {
        copy.assign(s.first, length);
        copy[static_cast<std::size_t>(s.comma - s.first)] = '.';
        begin = copy.c_str();
    }
    const char* end = begin + length;
    // from_chars takes no plus sign before the digits.
    const auto read = std::from_chars(*begin == '+' ? begin + 1 : begin, end, value);
    if (read.ec == std::errc() && read.ptr == end) return true;
    // Out of range: too large, or so small that it underflows; strtod gives the underflow its
    // value (zero or a subnormal, signed) and the overflow an infinity.
    const double v = std::strtod(std::string(begin, length).c_str(), nullptr);
    if (std::isinf(v)) return false;
    value = v;
    return true;
}

} // namespace

ext_float ext_float::operator+(const ext_float& b) const {
    return either_undefined(*this, b) ? undefined_number() : ext_float(value + b.value);
}

ext_float ext_float::operator-(const ext_float& b) const {
    return either_undefined(*this, b) ? undefined_number() : ext_float(value - b.value);
}

ext_float ext_float::operator*(const ext_float& b) const {
    return either_undefined(*this, b) ? undefined_number() : ext_float(value * b.value);
}

ext_float ext_float::operator/(const ext_float& b) const {
    if (either_undefined(*this, b) || b.value == 0.0) return undefined_number();
    return ext_float(value / b.value);
}

bool ext_float::operator==(const ext_float& b) const {
    return either_undefined(*this, b) || value == b.value;
}

bool ext_float::operator<(const ext_float& b) const {
    return !either_undefined(*this, b) && value < b.value;
}

bool ext_float::operator>(const ext_float& b) const {
    return !either_undefined(*this, b) && value > b.value;
}

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
    NumberText number{first, last, static_cast<const char*>(std::memchr(first, ',', static_cast<std::size_t>(last - first)))};
    while (number.first < last && std::isspace(static_cast<unsigned char>(*number.first))) ++number.first;
    const std::size_t length = decimal_number_length(number);
    double v;
    // A decimal text too large for a double is no measurement.
    if (length == 0 || !decimal_value(number, length, v)) {
        undefined = true;
        return false;
    }
    value = v;
    undefined = false;
    return true;
}
