// Fuzz target: any text as a typed number. Parsing reads exactly what the strtod-based
// reading below reads (accepted texts, the double bit for bit, the value kept on refusal),
// formatting stays inside its buffer, and a formatted number reads back as itself.
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/ext_float.h"

namespace {

// The reading the parser replaced, kept as its reference.
std::size_t ReferenceLength(const char* s) {
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

bool ReferenceParse(const char* text, double& value) {
    std::string copy(text);
    const std::size_t comma = copy.find(',');
    if (comma != std::string::npos) copy[comma] = '.';
    const char* start = copy.c_str();
    while (*start && std::isspace(static_cast<unsigned char>(*start))) ++start;
    const std::size_t length = ReferenceLength(start);
    if (length == 0) return false;
    const double v = std::strtod(std::string(start, length).c_str(), nullptr);
    if (std::isinf(v)) return false;
    value = v;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int precision = data[0] % 40;
    const bool comma = data[1] & 1;
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

    ext_float x(-7.25);
    double expected = -7.25;
    const bool accepted = x.parse(text.c_str());
    if (accepted != ReferenceParse(text.c_str(), expected) || x.undefined == accepted ||
        std::memcmp(&x.value, &expected, sizeof expected) != 0)
        std::abort();
    if (!accepted) return 0;
    if (!std::isfinite(x.value)) std::abort();

    char small[16];
    std::memset(small, 'Z', sizeof small);
    x.format(small, 8, 0, precision, comma);
    if (std::strlen(small) > 7 || small[9] != 'Z') std::abort();

    char full[EXT_FLOAT_TEXT];
    x.format(full, 0, precision, comma);
    if (std::fabs(x.value) < 1e15 && std::strlen(full) < sizeof full - 1) {
        ext_float back;
        if (!back.parse(full)) std::abort();
        const double step = 0.5 * std::pow(10.0, -precision);
        if (std::fabs(back.value - x.value) > step * (1 + 1e-9) + std::fabs(x.value) * 1e-15) std::abort();
    }
    return 0;
}
