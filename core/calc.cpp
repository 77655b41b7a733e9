#include "core/calc.h"

#include <cmath>
#include <cstdio>

dyn_array_direct<ext_float> arr_de(10, 10, nullptr);
dyn_array_direct<ext_float> arr_d2e(10, 10, nullptr);
dyn_array_direct<ext_float_pair> arr_vb(10, 10, nullptr);
dyn_array_direct<sorted_struct> arr_res(10, 10, nullptr);

bool use_comma = true;
int vb_precis = 3;
int e_precis = 4;
int de_precis = 4;
int d2e_precis = 4;
int res_precis = 4;
int graph_precis = 4;

int recognition = RECOGNIZE_ALL;
int min_steepness = 10;
ext_float max_steepness(0.0, true);

ext_float GetCross(ext_float& x1, ext_float& x2, ext_float& y1, ext_float& y2) {
    const ext_float dx = x2 - x1;
    const ext_float dy = y1 - y2;
    const ext_float t = y1 / dy;
    return x1 + t * dx;
}

namespace {

// Zero and undefined both count as "not positive".
bool is_positive(const ext_float& d2e) { return d2e > ext_float(0.0); }

ext_float magnitude(const ext_float& x) { return ext_float(std::fabs(x.value), x.undefined); }

// Whether |E'| reaches the chosen share of the curve's largest.
bool is_steep(const ext_float& slope) {
    return !slope.undefined && !max_steepness.undefined &&
           magnitude(slope).value >= max_steepness.value * min_steepness / 100.0;
}

// A sign change of E'' from the sign of the slope to the other one is a local maximum of |E'|.
bool is_steepest_inflection(const RESULT_DATA& crossing) {
    const bool rising = crossing.slope > ext_float(0.0);
    return is_steep(crossing.slope) && is_positive(crossing.y1) == rising;
}

// Whether two maxima of |E'| at intervals `from` and `to` lie on one jump: |E'| stays above half
// the lower one between them. Reading noise makes several maxima on one jump, with shallow dips
// between them; two jumps have a valley between them.
bool one_jump(const ext_float* de, int from, int to) {
    const double half = std::fmin(magnitude(de[from]).value, magnitude(de[to]).value) / 2.0;
    for (int k = from; k <= to; ++k)
        if (de[k].undefined || std::fabs(de[k].value) <= half) return false;
    return true;
}

void flush_derived() {
    arr_de.flush();
    arr_d2e.flush();
    arr_res.flush();
}

} // namespace

void recalc_arrays() {
    const int n = arr_vb.size();
    if (n == 0) return flush_derived();
    // Without memory for every difference the later steps would read missing elements:
    // show nothing derived rather than something wrong. The blocks of the last evaluation
    // serve again when they are large enough.
    if (!arr_de.resize(n - 1) || !arr_d2e.resize(n > 2 ? n - 2 : 0)) return flush_derived();
    arr_res.resize(0);

    const ext_float_pair* p = arr_vb.items;
    ext_float* de = arr_de.items;
    max_steepness = ext_float(0.0, true);
    for (int k = 0; k + 1 < n; ++k) {
        de[k] = (p[k + 1].e - p[k].e) / (p[k + 1].vb - p[k].vb);
        const ext_float steepness = magnitude(de[k]);
        if (!steepness.undefined && (max_steepness.undefined || steepness > max_steepness)) max_steepness = steepness;
    }

    ext_float* d2e = arr_d2e.items;
    for (int k = 0; k + 2 < n; ++k) d2e[k] = (de[k + 1] - de[k]) / ((p[k + 2].vb - p[k].vb) / ext_float(2.0));

    if (arr_d2e.is_empty()) return;

    bool previous = is_positive(d2e[0]);
    int last_interval = -1;  // of the last steepest inflection
    for (int i = 1; i < arr_d2e.size(); ++i) {
        const bool current = is_positive(d2e[i]);
        if (current == previous) continue;
        sorted_struct result;
        result.data.x1 = p[i].vb;
        result.data.x2 = p[i + 1].vb;
        result.data.y1 = d2e[i - 1];
        result.data.y2 = d2e[i];
        result.data.slope = de[i];
        previous = current;
        if (recognition == RECOGNIZE_STEEPEST) {
            if (!is_steepest_inflection(result.data)) continue;
            // Of the maxima of one jump only the steepest counts.
            if (last_interval >= 0 && one_jump(de, last_interval, i)) {
                sorted_struct& last = *arr_res[arr_res.size() - 1];
                if (magnitude(result.data.slope) > magnitude(last.data.slope)) {
                    last.data = result.data;
                    last.key = GetCross(last.data.x1, last.data.x2, last.data.y1, last.data.y2);
                    last_interval = i;
                }
                continue;
            }
            last_interval = i;
        }
        result.key = GetCross(result.data.x1, result.data.x2, result.data.y1, result.data.y2);
        if (arr_res.append(result) < 0) return flush_derived();
    }
}

void format_steepness(char* text, std::size_t size, const ext_float& slope) {
    if (size == 0) return;
    const ext_float steepness = magnitude(slope);
    char number[EXT_FLOAT_TEXT];
    steepness.format(number, 0, de_precis, use_comma);
    const ext_float share = steepness / max_steepness * ext_float(100.0);
    if (steepness.undefined) {
        std::snprintf(text, size, "%s", number);
    } else if (share.undefined) {
        std::snprintf(text, size, "%s mV.ml-1", number);
    } else {
        // Rounded down past the division's rounding error: the shown share reaches
        // min_steepness exactly when the point is steep enough.
        std::snprintf(text, size, "%s mV.ml-1 (%.0f %%)", number, std::floor(share.value + 1e-9));
    }
}
