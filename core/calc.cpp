#include "core/calc.h"

#include "core/smoothing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

bool use_comma = true;
int vb_precis = 3;
int e_precis = 4;
int de_precis = 4;
int d2e_precis = 4;
int res_precis = 4;
int graph_precis = 4;

int recognition = RECOGNIZE_ALL;
int min_steepness = 10;

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

// Whether two maxima of |E'| at intervals `from` and `to` lie on one jump: |E'| stays above half
// the lower one between them. Reading noise makes several maxima on one jump, with shallow dips
// between them; two jumps have a valley between them.
bool one_jump(const ext_float* de, int from, int to) {
    const double half = std::fmin(magnitude(de[from]).value, magnitude(de[to]).value) / 2.0;
    for (int k = from; k <= to; ++k)
        if (de[k].undefined || std::fabs(de[k].value) <= half) return false;
    return true;
}

// Whether E''[i] is exactly zero between two values of one sign: a touch of zero, no change
// of sign. Then `i` moves to the last zero of the run.
bool touches_zero(const ext_float* d2e, int count, int& i) {
    if (d2e[i].undefined || d2e[i].value != 0.0 || !is_positive(d2e[i - 1])) return false;
    int next = i;
    while (next + 1 < count && !d2e[next + 1].undefined && d2e[next + 1].value == 0.0) ++next;
    if (next + 1 >= count || !is_positive(d2e[next + 1])) return false;
    i = next;
    return true;
}

// Raw differences are trusted while RAW_MARGIN times their noise at the median step stays under
// the least steepness a result needs: then no noise excursion reaches it (the largest of 10^5
// Gaussian deviates is about 4.4 sigma). Once smoothing is needed, the window leaves noise of
// 1/SMOOTH_MARGIN of that steepness in E': the flanks of a flat jump, whose |E'| lies not far
// below the threshold, then gain no maxima of their own.
constexpr double RAW_MARGIN = 5.0;
constexpr double SMOOTH_MARGIN = 40.0;
// The share of the largest |E'| the window is chosen for, at least this much, so that a
// criterion of 0 % does not ask for an endless window.
constexpr int LEAST_SHARE = 5;
constexpr int LEAST_WINDOW_POINTS = 5;
// E'' is the slope of the smoothed E' over this many windows: the location of a flat maximum
// of |E'| depends on E'' near zero, where its noise matters most.
constexpr double CURVATURE_WINDOWS = 3.0;
constexpr int LEAST_POINTS_TO_SMOOTH = 20;

double largest_magnitude(const std::vector<double>& values) {
    double largest = 0.0;
    for (double v : values)
        if (std::isfinite(v) && std::fabs(v) > largest) largest = std::fabs(v);
    return largest;
}

void defined_where_finite(const std::vector<double>& values, std::vector<ext_float>& out) {
    out.resize(values.size());
    for (std::size_t k = 0; k < values.size(); ++k) out[k] = ext_float(values[k], !std::isfinite(values[k]));
}

// The smoothing's blocks, kept for the next evaluation like the derived arrays: a logger's curve
// is evaluated again after every edit.
struct SmoothingWork {
    std::vector<double> x, y, middles, probes, slopes, curvature;
    WindowFit points, slopes_fit;
} work;

// One evaluation: the derived arrays of `out` rebuilt from a document's points under one
// recognition setting.
class Evaluator {
public:
    Evaluator(Derived& out, int recognition, int min_steepness)
        : out_(out), recognition_(recognition), min_steepness_(min_steepness) {}

    void run(const dyn_array_direct<ext_float_pair>& points) {
        const int n = points.size();
        if (n == 0) return flush();
        // Without memory for every difference the later steps would read missing elements:
        // show nothing derived rather than something wrong. The blocks of the last evaluation
        // serve again when they are large enough.
        if (!out_.de.resize(n - 1) || !out_.d2e.resize(n > 2 ? n - 2 : 0)) return flush();
        out_.results.resize(0);
        reset_smoothing();

        const ext_float_pair* p = points.items;
        ext_float* de = out_.de.items;
        out_.max_steepness = ext_float(0.0, true);
        for (int k = 0; k + 1 < n; ++k) {
            de[k] = (p[k + 1].e - p[k].e) / (p[k + 1].vb - p[k].vb);
            const ext_float steepness = magnitude(de[k]);
            if (!steepness.undefined && (out_.max_steepness.undefined || steepness > out_.max_steepness))
                out_.max_steepness = steepness;
        }

        ext_float* d2e = out_.d2e.items;
        for (int k = 0; k + 2 < n; ++k) d2e[k] = (de[k + 1] - de[k]) / ((p[k + 2].vb - p[k].vb) / ext_float(2.0));

        if (out_.d2e.is_empty()) return;

        if (recognition_ == RECOGNIZE_STEEPEST) smooth_if_noisy(p, n);
        const bool smoothed = out_.smoothing.window > 0.0;
        const ext_float* slopes = smoothed ? out_.smoothing.de.data() : de;
        if (!recognise(p, slopes, smoothed ? out_.smoothing.d2e.data() : d2e, out_.d2e.size())) return flush();
    }

private:
    // Whether |E'| reaches the chosen share of the curve's largest.
    bool is_steep(const ext_float& slope) {
        return !slope.undefined && !out_.max_steepness.undefined &&
               magnitude(slope).value >= out_.max_steepness.value * min_steepness_ / 100.0;
    }

    // A sign change of E'' from the sign of the slope to the other one is a local maximum of |E'|.
    bool is_steepest_inflection(const RESULT_DATA& crossing) {
        const bool rising = crossing.slope > ext_float(0.0);
        return is_steep(crossing.slope) && is_positive(crossing.y1) == rising;
    }

    // Keeps the blocks, as resize(0) does for the derived arrays.
    void reset_smoothing() {
        out_.smoothing.window = out_.smoothing.noise = 0.0;
        out_.smoothing.points = 0;
        out_.smoothing.de.clear();
        out_.smoothing.d2e.clear();
    }

    void flush() {
        out_.de.flush();
        out_.d2e.flush();
        out_.results.flush();
        reset_smoothing();
    }

    // Appends the results of E'' changing sign (with the criterion, only the steepest inflections),
    // from the differences `de` and `d2e` of the points `p`.
    bool recognise(const ext_float_pair* p, const ext_float* de, const ext_float* d2e, int count) {
        bool previous = is_positive(d2e[0]);
        int last_interval = -1;  // of the last steepest inflection
        for (int i = 1; i < count; ++i) {
            const bool current = is_positive(d2e[i]);
            if (current == previous || touches_zero(d2e, count, i)) continue;
            sorted_struct result;
            result.data.x1 = p[i].vb;
            result.data.x2 = p[i + 1].vb;
            result.data.y1 = d2e[i - 1];
            result.data.y2 = d2e[i];
            result.data.slope = de[i];
            previous = current;
            if (recognition_ == RECOGNIZE_STEEPEST) {
                if (!is_steepest_inflection(result.data)) continue;
                // Of the maxima of one jump only the steepest counts.
                if (last_interval >= 0 && one_jump(de, last_interval, i)) {
                    sorted_struct& last = *out_.results[out_.results.size() - 1];
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
            if (out_.results.append(result) < 0) return false;
        }
        return true;
    }

    // Decides from the reading noise whether the criterion needs smoothed derivatives and, when it
    // does, fills `smoothing` with them and sets out_.max_steepness to their largest |E'|.
    void smooth_if_noisy(const ext_float_pair* p, int n) {
        if (n < LEAST_POINTS_TO_SMOOTH || out_.max_steepness.undefined) return;
        for (int k = 0; k < n; ++k)
            if (p[k].vb.undefined || p[k].e.undefined) return;  // hand-made documents: the lists' differences
        const double sigma = estimate_noise(p, n);
        const double step = median_step(p, n);
        out_.smoothing.noise = sigma;
        const double share = std::max(min_steepness_, LEAST_SHARE) / 100.0;
        if (!(sigma > 0.0) || !(step > 0.0) || RAW_MARGIN * sigma * std::sqrt(2.0) / step <= share * out_.max_steepness.value)
            return;

        std::vector<double>&x = work.x, &y = work.y, &middles = work.middles, &slopes = work.slopes;
        x.resize(n), y.resize(n), middles.resize(n - 1), work.probes.clear();
        for (int k = 0; k < n; ++k) x[k] = p[k].vb.value, y[k] = p[k].e.value;
        for (int k = 0; k + 1 < n; ++k) middles[k] = (x[k] + x[k + 1]) / 2;
        for (int k = 0; k + 1 < n; k += std::max(1, (n - 1) / 4096)) work.probes.push_back(middles[k]);
        // At most a twentieth of the curve: a wider window would flatten the jumps themselves.
        const double most_points = std::fmax(LEAST_WINDOW_POINTS, std::floor((x[n - 1] - x[0]) / step / 20));
        work.points.fit(x.data(), y.data(), n);
        // The window depends on the largest |E'|, which noise inflates in the differences: a few
        // rounds settle it on the smoothed curve's own, probed at some 4,000 places.
        double largest = out_.max_steepness.value;
        int points = LEAST_WINDOW_POINTS;
        for (int round = 0; round < 4 && largest > 0.0; ++round) {
            // A least-squares slope over m points at step h has the noise sigma * sqrt(12 / (m (m^2 - 1))) / h.
            const double ratio = SMOOTH_MARGIN * sigma / (step * share * largest);
            const double need = 12.0 * ratio * ratio;  // m (m^2 - 1) at least
            double m = std::ceil(std::fmin(std::cbrt(need), most_points));
            while (m < most_points && m * (m * m - 1) < need) ++m;
            points = std::max(static_cast<int>(m), LEAST_WINDOW_POINTS);
            const std::vector<double>& centers = round < 3 ? work.probes : middles;
            slopes.resize(centers.size());
            work.points.slopes(centers.data(), static_cast<int>(centers.size()), (points - 1) * step, slopes.data());
            largest = largest_magnitude(slopes);
        }
        if (!(largest > 0.0) || slopes.size() != middles.size()) return;
        out_.smoothing.window = (points - 1) * step;
        out_.smoothing.points = points;
        defined_where_finite(slopes, out_.smoothing.de);
        work.curvature.resize(n - 2);
        work.slopes_fit.fit(middles.data(), slopes.data(), n - 1);
        work.slopes_fit.slopes(x.data() + 1, n - 2, CURVATURE_WINDOWS * out_.smoothing.window, work.curvature.data());
        defined_where_finite(work.curvature, out_.smoothing.d2e);
        out_.max_steepness = ext_float(largest);
    }


    Derived& out_;
    const int recognition_;
    const int min_steepness_;
};

} // namespace

void evaluate(const dyn_array_direct<ext_float_pair>& points, Derived& derived, int recognition, int min_steepness) {
    Evaluator(derived, recognition, min_steepness).run(points);
}

void format_steepness(char* text, std::size_t size, const ext_float& slope, const char* unit) {
    if (size == 0) return;
    const ext_float steepness = magnitude(slope);
    char number[EXT_FLOAT_TEXT];
    steepness.format(number, 0, de_precis, use_comma);
    const ext_float share = steepness / max_steepness * ext_float(100.0);
    if (steepness.undefined) {
        std::snprintf(text, size, "%s", number);
    } else if (share.undefined) {
        std::snprintf(text, size, "%s %s.ml-1", number, unit);
    } else {
        // Rounded down past the division's rounding error: the shown share reaches
        // min_steepness exactly when the point is steep enough.
        std::snprintf(text, size, "%s %s.ml-1 (%.0f %%)", number, unit, std::floor(share.value + 1e-9));
    }
}
