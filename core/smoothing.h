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

// out[k] = the least-squares slope of the points (x[i], y[i]) with |x[i] - centers[k]| <= window / 2,
// for each of `count` ascending centres; x ascending. Where the window holds fewer than two
// distinct abscissae, the two nearest neighbours around the centre serve.
void window_slopes(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& centers,
                   double window, std::vector<double>& out);
