#include "core/ph.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

bool defined(const ext_float_pair& p) {
    return !p.vb.undefined && !p.e.undefined && std::isfinite(p.vb.value) && std::isfinite(p.e.value);
}

// The value at x on the line through (x1, y1) and (x2, y2), x1 != x2.
double along(double x1, double y1, double x2, double y2, double x) {
    return y1 + (y2 - y1) * (x - x1) / (x2 - x1);
}

} // namespace

// ---- Electrode calibration -------------------------------------------------------------------

// Nernst: E = E0 - (RT/F) ln a(H+) = E0 - (RT ln10 / F) pH; RT/F in volts, hence 1000 for mV.
double nernst_slope(double celsius) {
    return 1000.0 * GAS_CONSTANT * (celsius + ZERO_CELSIUS) * std::log(10.0) / FARADAY;
}

// Ordinary least squares of E on pH (the buffers' pH values are the exactly known abscissae):
// slope = Sxy / Sxx, e0 = mean E - slope mean pH, with the sums taken about the means.
Calibration calibrate(const CalibrationBuffer* buffers, int count) {
    Calibration c;
    if (count < MIN_BUFFERS || count > MAX_BUFFERS) return c;
    c.status = CALIBRATION_NOT_FINITE;
    double ph_sum = 0, mv_sum = 0, celsius_sum = 0;
    for (int i = 0; i < count; ++i) {
        const CalibrationBuffer& b = buffers[i];
        if (!std::isfinite(b.ph) || !std::isfinite(b.mv) || !std::isfinite(b.celsius)) return c;
        ph_sum += b.ph, mv_sum += b.mv, celsius_sum += b.celsius;
    }
    c.status = CALIBRATION_SAME_PH;
    if (std::all_of(buffers, buffers + count, [&](const CalibrationBuffer& b) { return b.ph == buffers[0].ph; })) return c;
    const double ph_mean = ph_sum / count, mv_mean = mv_sum / count;
    double sxx = 0, sxy = 0;
    for (int i = 0; i < count; ++i) {
        sxx += (buffers[i].ph - ph_mean) * (buffers[i].ph - ph_mean);
        sxy += (buffers[i].ph - ph_mean) * (buffers[i].mv - mv_mean);
    }
    c.slope = sxy / sxx;
    c.status = CALIBRATION_NO_SLOPE;
    if (c.slope == 0.0) return c;
    c.status = CALIBRATION_OK;
    c.e0 = mv_mean - c.slope * ph_mean;
    c.mean_celsius = celsius_sum / count;
    // The electrode's polarity is the meter's affair: the share compares magnitudes.
    c.slope_percent = 100.0 * std::fabs(c.slope) / nernst_slope(c.mean_celsius);
    c.ph_at_zero_mv = -c.e0 / c.slope;
    c.mv_at_ph7 = c.e0 + 7.0 * c.slope;
    if (c.slope_percent < MIN_SLOPE_PERCENT || c.slope_percent > MAX_SLOPE_PERCENT)
        c.warnings |= CALIBRATION_SLOPE_OUT_OF_RANGE;
    // Two buffers fix the line exactly; their residuals say nothing.
    if (count >= 3) {
        for (int i = 0; i < count; ++i) {
            c.residuals.push_back(c.ph_of(buffers[i].mv) - buffers[i].ph);
            if (std::fabs(c.residuals.back()) > MAX_RESIDUAL_PH) c.warnings |= CALIBRATION_RESIDUAL_TOO_LARGE;
        }
    }
    return c;
}

std::vector<ext_float_pair> convert_to_ph(const Calibration& calibration, const ext_float_pair* points, int n) {
    std::vector<ext_float_pair> out(points, points + n);
    for (ext_float_pair& p : out)
        if (!p.e.undefined) p.e = ext_float(calibration.ph_of(p.e.value));
    return out;
}

// ---- Reading a curve -------------------------------------------------------------------------

CurveReading set_value_end_point(const ext_float_pair* points, int n, double set_value) {
    const ext_float_pair* previous = nullptr;
    for (const ext_float_pair* p = points; p != points + n; ++p) {
        if (!defined(*p)) continue;
        if (p->e.value == set_value) return {true, p->vb.value};
        if (previous && (previous->e.value < set_value) != (p->e.value < set_value))
            return {true, along(previous->e.value, previous->vb.value, p->e.value, p->vb.value, set_value)};
        previous = p;
    }
    return {};
}

CurveReading value_at_volume(const ext_float_pair* points, int n, double volume) {
    const ext_float_pair* previous = nullptr;
    for (const ext_float_pair* p = points; p != points + n; ++p) {
        if (!defined(*p)) continue;
        if (p->vb.value == volume) return {true, p->e.value};
        if (previous && previous->vb.value < volume && volume < p->vb.value)
            return {true, along(previous->vb.value, previous->e.value, p->vb.value, p->e.value, volume)};
        previous = p;
    }
    return {};
}

// ---- Half-neutralisation ---------------------------------------------------------------------

// Halfway to the equivalence point of a weak acid HA, [HA] = [A-], and Henderson–Hasselbalch,
// pH = pKa + log([A-]/[HA]), gives pH = pKa (apparent: concentrations, not activities, and only
// where [H+] and [OH-] are small against [HA] and [A-]). A later equivalence point of a
// polyprotic acid has its own half-way point between the previous one and itself.
HalfNeutralisation half_neutralisation(const ext_float_pair* points, int n, double v_ep, double v_previous) {
    HalfNeutralisation h;
    if (!(v_ep > v_previous)) return h;
    h.volume = (v_previous + v_ep) / 2;
    const CurveReading ph = value_at_volume(points, n, h.volume);
    h.status = ph.found ? PKA_OK : PKA_OUTSIDE_CURVE;
    h.pka = ph.value;
    return h;
}

// ---- Gran plot -------------------------------------------------------------------------------

// pKw of water at 0, 5, ..., 60 °C: Harned and Owen, The Physical Chemistry of Electrolytic
// Solutions (3rd ed., 1958), from cells without liquid junction. 13.9965 at 25 °C is the 13.995
// or 13.996 of current tables; DEFAULT_PKW keeps the rounded 14.00 for work without a temperature.
double pkw_at(double celsius) {
    static const double table[] = {14.9435, 14.7338, 14.5346, 14.3463, 14.1669, 13.9965, 13.8330,
                                   13.6801, 13.5348, 13.3960, 13.2617, 13.1369, 13.0171};
    const int last = static_cast<int>(std::size(table)) - 1;
    const double step = 5.0, position = std::clamp(celsius / step, 0.0, static_cast<double>(last));
    const int i = std::min(static_cast<int>(position), last - 1);
    return along(i, table[i], i + 1, table[i + 1], position);
}

Titrand titrand_of(const ext_float_pair* points, int n) {
    const ext_float_pair* first = std::find_if(points, points + n, defined);
    const auto last = std::find_if(std::make_reverse_iterator(points + n), std::make_reverse_iterator(points), defined);
    if (first == points + n) return TITRAND_UNKNOWN;
    const double rise = last->e.value - first->e.value;
    return rise > 0 ? TITRAND_ACID : rise < 0 ? TITRAND_BASE : TITRAND_UNKNOWN;
}

// With [H+] = 10^-pH and [OH-] = 10^(pH - pKw) (concentrations taken for activities), V0 ml of
// analyte at c0 and titrant at c, Ve = c0 V0 / c:
// - after the equivalence point the titrant's excess is (V0 + V) [OH-] = c (V - Ve) for an acid
//   titrated with a base, and (V0 + V) [H+] = c (V - Ve) for a base titrated with an acid;
// - before it, a strong analyte's remainder is (V0 + V) [H+] = c (Ve - V) for an acid, and
//   (V0 + V) [OH-] = c (Ve - V) for a base;
// - before it, a weak acid HA buffers: [H+] = Ka [HA] / [A-] = Ka (Ve - V) / V, so
//   V [H+] = Ka (Ve - V) (Gran's second function, slope -Ka); a weak base mirrors it with
//   V [OH-] = Kb (Ve - V).
// Each is a line in V that reaches zero at Ve.
double gran_value(GranFunction function, Titrand titrand, double v0, double volume, double ph, double pkw) {
    if (titrand == TITRAND_UNKNOWN) return NAN;
    const bool acid = titrand == TITRAND_ACID;
    const double h = std::pow(10.0, -ph), oh = std::pow(10.0, ph - pkw);
    switch (function) {
    case GRAN_AFTER_EP: return (v0 + volume) * (acid ? oh : h);
    case GRAN_BEFORE_STRONG: return (v0 + volume) * (acid ? h : oh);
    case GRAN_BEFORE_WEAK: return volume * (acid ? h : oh);
    }
    return NAN;
}

std::vector<ext_float_pair> gran_curve(const ext_float_pair* points, int n, GranFunction function,
                                       Titrand titrand, double v0, double pkw) {
    std::vector<ext_float_pair> out;
    out.reserve(n);
    for (const ext_float_pair* p = points; p != points + n; ++p) {
        const double f = gran_value(function, titrand, v0, p->vb.value, p->e.value, pkw);
        out.emplace_back(p->vb, defined(*p) && std::isfinite(f) ? ext_float(f) : ext_float(0.0, true));
    }
    return out;
}

VolumeRange default_gran_range(GranFunction function, double v_ep, double v_end) {
    if (function == GRAN_AFTER_EP) return {1.05 * v_ep, std::min(v_end, 1.5 * v_ep)};
    return {0.2 * v_ep, 0.9 * v_ep};
}

// Least squares of F on V over the range: slope b = Sxy / Sxx and intercept a = mean F - b mean V,
// with the sums about the means; the end point x0 = -a/b.
//
// Its standard error by the delta method: with s^2 = sum of squared residuals / (n - 2),
//   var a = s^2 (1/n + mean V^2 / Sxx),  var b = s^2 / Sxx,  cov(a, b) = -s^2 mean V / Sxx,
// and the derivatives dx0/da = -1/b, dx0/db = a/b^2,
//   var x0 = var a / b^2 + a^2 var b / b^4 - 2 a cov(a, b) / b^3
//          = s^2 / (b^2 Sxx) (Sxx/n + mean V^2 + 2 (a/b) mean V + (a/b)^2)
//          = (s / b)^2 (1/n + (x0 - mean V)^2 / Sxx),
// the error of a value read off a calibration line at zero response (as in standard addition).
GranLine fit_gran(const ext_float_pair* points, int n, GranFunction function, double v0, double pkw,
                  VolumeRange range) {
    GranLine g;
    g.titrand = titrand_of(points, n);
    if (g.titrand == TITRAND_UNKNOWN) {
        g.status = GRAN_NO_DIRECTION;
        return g;
    }
    std::vector<double> x, y;
    for (const ext_float_pair& p : gran_curve(points, n, function, g.titrand, v0, pkw)) {
        if (p.e.undefined || p.vb.undefined || p.vb.value < range.from || p.vb.value > range.to) continue;
        x.push_back(p.vb.value);
        y.push_back(p.e.value);
    }
    g.points = static_cast<int>(x.size());
    if (g.points < 3) return g;
    double x_mean = 0, y_mean = 0;
    for (int i = 0; i < g.points; ++i) x_mean += x[i], y_mean += y[i];
    x_mean /= g.points, y_mean /= g.points;
    double sxx = 0, sxy = 0;
    for (int i = 0; i < g.points; ++i) sxx += (x[i] - x_mean) * (x[i] - x_mean), sxy += (x[i] - x_mean) * (y[i] - y_mean);
    if (sxx == 0.0) return g;  // a single volume: no line
    g.slope = sxy / sxx;
    g.intercept = y_mean - g.slope * x_mean;
    if (g.slope == 0.0) {
        g.status = GRAN_FLAT;
        return g;
    }
    g.status = GRAN_OK;
    g.end_point = -g.intercept / g.slope;
    double squares = 0;
    for (int i = 0; i < g.points; ++i) {
        const double r = y[i] - (g.intercept + g.slope * x[i]);
        squares += r * r;
    }
    const double s = std::sqrt(squares / (g.points - 2));
    g.u = std::fabs(s / g.slope) * std::sqrt(1.0 / g.points + (g.end_point - x_mean) * (g.end_point - x_mean) / sxx);
    if (function == GRAN_BEFORE_WEAK) {
        g.k = -g.slope;
        g.pka = g.k > 0 ? (g.titrand == TITRAND_ACID ? -std::log10(g.k) : pkw + std::log10(g.k)) : NAN;
    }
    return g;
}
