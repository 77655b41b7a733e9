#include "core/ext_float.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

ext_float undefined_number() { return ext_float(0.0, true); }

bool either_undefined(const ext_float& a, const ext_float& b) { return a.undefined || b.undefined; }

// Length of the decimal number at the start of `s` (sign, digits with an optional point, an
// optional exponent), or 0 when there is none. Words such as inf or nan and hexadecimal
// forms are not numbers here, though the C library would read them.
std::size_t decimal_number_length(const char* s) {
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-') ++i;
    if (s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) return 0;
    std::size_t digits = 0;
    while (std::isdigit(static_cast<unsigned char>(s[i]))) { ++i; ++digits; }
    if (s[i] == '.') {
        ++i;
        while (std::isdigit(static_cast<unsigned char>(s[i]))) { ++i; ++digits; }
    }
    if (digits == 0) return 0;
    if (s[i] == 'e' || s[i] == 'E') {
        std::size_t j = i + 1;
        if (s[j] == '+' || s[j] == '-') ++j;
        if (std::isdigit(static_cast<unsigned char>(s[j]))) {
            while (std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
            i = j;
        }
    }
    return i;
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
    std::string copy(text ? text : "");
    const std::size_t comma = copy.find(',');
    if (comma != std::string::npos) copy[comma] = '.';

    const char* start = copy.c_str();
    while (*start && std::isspace(static_cast<unsigned char>(*start))) ++start;
    const std::size_t length = decimal_number_length(start);
    if (length == 0) {
        undefined = true;
        return false;
    }
    const std::string number(start, length);
    const double v = std::strtod(number.c_str(), nullptr);
    // A decimal text too large for a double is no measurement.
    if (std::isinf(v)) {
        undefined = true;
        return false;
    }
    value = v;
    undefined = false;
    return true;
}
