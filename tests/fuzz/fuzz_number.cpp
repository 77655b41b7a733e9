// Fuzz target: any text as a typed number. Parsing reads exactly what strtod reads of a
// decimal (accepted texts, the double bit for bit, the value kept on refusal), formatting
// stays inside its buffer, and a formatted number reads back as itself.
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/ext_float.h"

namespace {

// The reading the parser replaced, kept as its reference: the first comma is a point, and
// only a decimal (no word, no hexadecimal form) of a finite value is a number.
bool ReferenceParse(std::string text, double& value) {
    const std::size_t comma = text.find(',');
    if (comma != std::string::npos) text[comma] = '.';
    const char* start = text.c_str();
    while (*start && std::isspace(static_cast<unsigned char>(*start))) ++start;
    const char* digits = start + (*start == '+' || *start == '-');
    if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) return false;
    if (!std::isdigit(static_cast<unsigned char>(digits[digits[0] == '.']))) return false;
    const double v = std::strtod(start, nullptr);
    if (std::isinf(v)) return false;
    value = v;
    return true;
}

}  // namespace

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

    char small[16] = "ZZZZZZZZZZZZZZZ";
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
