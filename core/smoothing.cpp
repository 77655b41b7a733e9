#include "core/smoothing.h"

#include <algorithm>
#include <cmath>

// The estimate looks at each point against the cubic through its two neighbours on either side:
// the residual r = E[k] - sum(w[j] * E[j]) cancels the curve up to its third derivative, so what
// is left in the flat and gently curved parts is reading noise, with variance
// sigma^2 * (1 + sum(w[j]^2)) for independent readings. A point read again at the same volume
// (a logger waiting for E to settle) gives its difference to the reading before, of variance
// 2 sigma^2. The jumps, where the curve is not cubic over five points, are a small minority of
// the points, so the median of the normalised residuals ignores them; for Gaussian noise the
// median of |r| is 0.6745 sigma. A sparse curve read to 0.1 mV gives a small estimate (its
// rounding), a dense logger's curve its real noise.
double estimate_noise(const ext_float_pair* p, int n) {
    // Some 16,000 residuals fix the median to about 1 %; a longer curve gives every so many.
    const int stride = std::max(1, (n - 1) / 16384);
    std::vector<double> residuals;
    residuals.reserve(n > 1 ? (n - 1) / stride + 1 : 0);
    const auto defined = [p](int i) { return !p[i].e.undefined && !p[i].vb.undefined; };
    for (int k = 1; k < n; k += stride) {
        const double x = p[k].vb.value;
        if (defined(k) && defined(k - 1) && p[k - 1].vb.value == x) {
            residuals.push_back(std::fabs(p[k].e.value - p[k - 1].e.value) / std::sqrt(2.0));
            continue;
        }
        if (k < 2 || k + 2 >= n) continue;
        const int around[4] = {k - 2, k - 1, k + 1, k + 2};
        bool usable = defined(k);
        for (int j : around) usable = usable && defined(j) && p[j].vb.value != x;
        for (int a = 0; usable && a < 3; ++a)
            usable = p[around[a]].vb.value != p[around[a + 1]].vb.value;
        if (!usable) continue;
        double estimate = 0.0, weights = 1.0;
        for (int j : around) {
            double w = 1.0;  // the Lagrange weight of point j at x
            for (int i : around)
                if (i != j) w *= (x - p[i].vb.value) / (p[j].vb.value - p[i].vb.value);
            estimate += w * p[j].e.value;
            weights += w * w;
        }
        residuals.push_back(std::fabs(p[k].e.value - estimate) / std::sqrt(weights));
    }
    if (residuals.size() < 8) return 0.0;
    auto middle = residuals.begin() + residuals.size() / 2;
    std::nth_element(residuals.begin(), middle, residuals.end());
    return 1.4826 * *middle;
}

// Sampled like the noise on long curves.
double median_step(const ext_float_pair* p, int n) {
    const int stride = std::max(1, (n - 1) / 16384);
    std::vector<double> steps;
    steps.reserve(n > 1 ? (n - 1) / stride + 1 : 0);
    for (int k = 0; k + 1 < n; k += stride) {
        const double step = p[k + 1].vb.value - p[k].vb.value;
        if (step > 0.0) steps.push_back(step);
    }
    if (steps.empty()) return 0.0;
    auto middle = steps.begin() + steps.size() / 2;
    std::nth_element(steps.begin(), middle, steps.end());
    return *middle;
}

void WindowFit::fit(const double* x, const double* y, int n) {
    x_ = x, n_ = n;
    sums_.resize(n + 1);
    // About a point in the middle of the curve, so that the sums of a window lose few digits
    // when they are subtracted.
    const double x0 = n ? x[n / 2] : 0.0, y0 = n ? y[n / 2] : 0.0;
    sums_[0] = {0.0, 0.0, 0.0, 0.0};
    for (int i = 0; i < n; ++i) {
        const double dx = x[i] - x0, dy = y[i] - y0;
        const Sums& s = sums_[i];
        sums_[i + 1] = {s.x + dx, s.xx + dx * dx, s.y + dy, s.xy + dx * dy};
    }
}

void WindowFit::slopes(const double* centers, int count, double window, double* out) const {
    const double* x = x_;
    const int n = n_;
    int low = 0, high = 0;  // the window is [low, high)
    for (int k = 0; k < count; ++k) {
        out[k] = NAN;
        if (n < 2) continue;
        const double c = centers[k];
        while (low < n && x[low] < c - window / 2) ++low;
        if (high < low) high = low;
        while (high < n && x[high] <= c + window / 2) ++high;
        int a = low, b = high;
        while ((b - a < 2 || x[b - 1] == x[a]) && (a > 0 || b < n)) {
            if (a > 0) --a;
            if (b < n) ++b;
        }
        const double m = b - a;
        const Sums &first = sums_[a], &last = sums_[b];
        const double mx = last.x - first.x, my = last.y - first.y;
        const double spread = (last.xx - first.xx) - mx * mx / m;
        if (spread > 0.0) out[k] = ((last.xy - first.xy) - mx * my / m) / spread;
    }
}
