#include "core/scale.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

// Range ends computed from pixels are rarely exact multiples: a tick within this share of a
// step outside the range still counts as inside.
constexpr double EDGE = 1e-9;

} // namespace

RoundScale MakeScale(double low, double high, int max_steps) {
    RoundScale scale = {0.0, 0, {}};
    if (max_steps > SCALE_MAX_STEPS) max_steps = SCALE_MAX_STEPS;
    const double span = high - low;
    if (max_steps < 1 || !(span > 0.0) || !std::isfinite(span)) return scale;
    const double least = span / max_steps;
    // log10 may land just below a power of ten; then the factor 10 still reaches it.
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= least) {
            scale.step = factor * power;
            break;
        }
    }
    const double first = std::ceil(low / scale.step - EDGE);
    for (int i = 0; i <= SCALE_MAX_STEPS; ++i) {
        // From the index, not by adding steps, so errors do not pile up; + 0.0 turns -0 into 0.
        const double tick = (first + i) * scale.step + 0.0;
        // Far from zero, a step may be below the spacing of doubles: no tick twice.
        if (tick > high + EDGE * scale.step || (scale.count > 0 && tick <= scale.ticks[scale.count - 1])) break;
        scale.ticks[scale.count++] = tick;
    }
    return scale;
}

void FormatTick(double tick, double step, bool comma, char* text, std::size_t size) {
    if (size == 0) return;
    // A step of m x 10^k (m 1, 2 or 5) needs -k decimals; EDGE keeps log10 of 0.1 from
    // landing just below -1.
    int decimals = step > 0.0 && std::isfinite(step) ? -static_cast<int>(std::floor(std::log10(step) + EDGE)) : 0;
    if (decimals < 0) decimals = 0;
    if (decimals > 17) decimals = 17;
    std::snprintf(text, size, "%.*f", decimals, tick);
    if (char* point = std::strchr(text, '.')) {
        char* end = point + std::strlen(point);
        while (end > point + 1 && end[-1] == '0') --end;
        if (end == point + 1) --end;
        *end = '\0';
        if (comma && end > point) *point = ',';
    }
    // A tick a rounding error below zero is zero.
    if (std::strcmp(text, "-0") == 0) std::snprintf(text, size, "0");
}
