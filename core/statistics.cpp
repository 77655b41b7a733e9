#include "core/statistics.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <numeric>

namespace {

const double NOT_AVAILABLE = std::numeric_limits<double>::quiet_NaN();
constexpr std::size_t NONE = SeriesStatistics::NO_OUTLIER;

// Two-sided 95 % quantiles of Student's t for 1…30 degrees of freedom.
const double STUDENT_T95[] = {12.706, 4.303, 3.182, 2.776, 2.571, 2.447, 2.365, 2.306, 2.262, 2.228,
                              2.201,  2.179, 2.160, 2.145, 2.131, 2.120, 2.110, 2.101, 2.093, 2.086,
                              2.080,  2.074, 2.069, 2.064, 2.060, 2.056, 2.052, 2.048, 2.045, 2.042};

// Dean and Dixon's critical Q (gap / range) at 95 % for n = 3…10.
const double DIXON_Q95[] = {0.970, 0.829, 0.710, 0.625, 0.568, 0.526, 0.493, 0.466};

double Mean(const std::vector<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0) / v.size(); }

// Two passes: the mean first, then the squares about it, which keeps the digits of a series
// of close values.
double StandardDeviation(const std::vector<double>& v, double mean) {
    double squares = 0.0;
    for (double x : v) squares += (x - mean) * (x - mean);
    return std::sqrt(squares / (v.size() - 1));
}

// The continued fraction of the regularized incomplete beta function (modified Lentz).
double BetaFraction(double a, double b, double x) {
    const double TINY = 1e-300;
    const auto guard = [&](double v) { return std::fabs(v) < TINY ? TINY : v; };
    double c = 1.0, d = 1.0 / guard(1.0 - (a + b) * x / (a + 1.0)), h = d;
    for (int m = 1; m <= 500; ++m) {
        const double even = m * (b - m) * x / ((a + 2 * m - 1) * (a + 2 * m));
        d = 1.0 / guard(1.0 + even * d);
        c = guard(1.0 + even / c);
        h *= d * c;
        const double odd = -(a + m) * (a + b + m) * x / ((a + 2 * m) * (a + 2 * m + 1));
        d = 1.0 / guard(1.0 + odd * d);
        c = guard(1.0 + odd / c);
        h *= d * c;
        if (std::fabs(d * c - 1.0) < 1e-15) break;
    }
    return h;
}

// I_x(a, b).
double RegularizedBeta(double a, double b, double x) {
    if (x <= 0.0) return 0.0;
    if (x >= 1.0) return 1.0;
    const double front = std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) +
                                  b * std::log1p(-x));
    if (x < (a + 1.0) / (a + b + 2.0)) return front * BetaFraction(a, b, x) / a;
    return 1.0 - front * BetaFraction(b, a, 1.0 - x) / b;
}

// P(T > t) for Student's t with `df` degrees of freedom, t ≥ 0.
double StudentUpperTail(double t, double df) { return 0.5 * RegularizedBeta(df / 2.0, 0.5, df / (df + t * t)); }

// The t with P(T > t) = p, by bisection (the tail falls steadily with t).
double StudentQuantile(double p, double df) {
    double low = 0.0, high = 1.0;
    while (StudentUpperTail(high, df) > p) low = high, high *= 2.0;
    for (int i = 0; i < 200 && high - low > 1e-12 * high; ++i) {
        const double middle = (low + high) / 2.0;
        (StudentUpperTail(middle, df) > p ? low : high) = middle;
    }
    return (low + high) / 2.0;
}

// The index of the larger of two candidates' scores, or NONE on a tie, where no single value
// stands out.
std::size_t Larger(double score_a, std::size_t a, double score_b, std::size_t b) {
    return score_a > score_b ? a : score_b > score_a ? b : NONE;
}

} // namespace

double StudentT95(std::size_t degrees_of_freedom) {
    if (degrees_of_freedom < 1) return NOT_AVAILABLE;
    return degrees_of_freedom <= std::size(STUDENT_T95) ? STUDENT_T95[degrees_of_freedom - 1] : 1.96;
}

double DixonQ95(std::size_t n) { return n >= 3 && n <= 10 ? DIXON_Q95[n - 3] : NOT_AVAILABLE; }

// Grubbs' critical value for the two-sided test at significance α = 0.05:
//   G = (n − 1)/√n · √(t² / (n − 2 + t²)),  t the upper α/(2n) quantile of Student's t with
// n − 2 degrees of freedom; computed rather than tabled, so it holds for every n (it gives
// the published 1.155, 1.715, 2.290, 2.412 at n = 3, 5, 10, 12).
double GrubbsG95(std::size_t n) {
    if (n < 3) return NOT_AVAILABLE;
    const double count = static_cast<double>(n);
    const double t = StudentQuantile(0.05 / (2.0 * count), count - 2.0);
    return (count - 1.0) / std::sqrt(count) * std::sqrt(t * t / (count - 2.0 + t * t));
}

// Q = gap / range for the lowest and the highest value; the larger is flagged when it
// exceeds the critical Q.
std::size_t DixonOutlier(const std::vector<double>& values) {
    const std::size_t n = values.size();
    if (n < 3 || n > 10) return NONE;
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
    const double range = values[order[n - 1]] - values[order[0]];
    if (!(range > 0.0)) return NONE;
    const double low = (values[order[1]] - values[order[0]]) / range;
    const double high = (values[order[n - 1]] - values[order[n - 2]]) / range;
    const std::size_t suspect = Larger(low, order[0], high, order[n - 1]);
    return suspect != NONE && std::max(low, high) > DixonQ95(n) ? suspect : NONE;
}

// G = max |x − mean| / s, flagged when it exceeds the critical G.
std::size_t GrubbsOutlier(const std::vector<double>& values) {
    const std::size_t n = values.size();
    if (n < 3) return NONE;
    const double mean = Mean(values);
    const double s = StandardDeviation(values, mean);
    if (!(s > 0.0)) return NONE;
    std::size_t suspect = 0;
    double largest = -1.0;
    bool tie = false;  // two values as far from the mean on either side: none stands out
    for (std::size_t i = 0; i < n; ++i) {
        const double deviation = std::fabs(values[i] - mean);
        if (deviation > largest) suspect = i, largest = deviation, tie = false;
        else if (deviation == largest && values[i] != values[suspect]) tie = true;
    }
    return !tie && largest / s > GrubbsG95(n) ? suspect : NONE;
}

SeriesStatistics ComputeStatistics(const std::vector<double>& values) {
    SeriesStatistics stats;
    stats.n = values.size();
    stats.mean = stats.s = stats.rsd = stats.ci95 = NOT_AVAILABLE;
    if (values.empty()) return stats;
    stats.mean = Mean(values);
    if (stats.n < 2) return stats;
    stats.s = StandardDeviation(values, stats.mean);
    if (stats.mean != 0.0) stats.rsd = 100.0 * stats.s / std::fabs(stats.mean);
    stats.ci95 = StudentT95(stats.n - 1) * stats.s / std::sqrt(static_cast<double>(stats.n));
    stats.outlier = stats.n <= 10 ? DixonOutlier(values) : GrubbsOutlier(values);
    return stats;
}
