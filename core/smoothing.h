// Derivatives of densely sampled, noisy titration curves. A data logger on a continuously
// dosing burette records thousands of points whose volume steps are so small that the reading
// noise swamps the first differences (noise of the order sigma * sqrt(2) / step). There the
// curve's slope and curvature are taken as least-squares slopes over a window of volume.
#pragma once
#include "core/ext_float.h"

#include <vector>

// The reading noise of E (its standard deviation, in E's unit) estimated from the curve itself;
// 0 when the curve cannot tell (too few points with distinct volumes).
double estimate_noise(const ext_float_pair* points, int n);

// The median of the curve's positive volume steps; 0 when there is none.
double median_step(const ext_float_pair* points, int n);

// Least-squares slopes of the points (x[i], y[i]), x ascending, over windows of x: each window's
// sums come from running sums, so a slope costs the same at any width. The sums' block serves
// the next curve again, as the evaluation's arrays do.
class WindowFit {
public:
    void fit(const double* x, const double* y, int n);
    // out[k] = the slope over the points with |x[i] - centers[k]| <= window / 2, for `count`
    // ascending centres. Where a window holds fewer than two distinct abscissae, it widens by a
    // point on either side until it does; NaN when all abscissae are equal.
    void slopes(const double* centers, int count, double window, double* out) const;

private:
    struct Sums {
        double x, xx, y, xy;
    };
    const double* x_ = nullptr;
    int n_ = 0;
    std::vector<Sums> sums_;  // sums_[i]: of the first i points, about a point in the middle
};
