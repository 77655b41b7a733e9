// Fuzz target: any text as a typed number. Parsing accepts only finite decimal numbers,
// formatting stays inside its buffer, and a formatted number reads back as itself.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/ext_float.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int precision = data[0] % 40;
    const bool comma = data[1] & 1;
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

    ext_float x;
    if (!x.parse(text.c_str())) {
        if (!x.undefined) std::abort();
        return 0;
    }
    if (x.undefined || !std::isfinite(x.value)) std::abort();

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
