// The statistics of a series of replicate results: mean, spread, the confidence interval of
// the mean and a flag on an outlier, all at the 95 % level.
#pragma once
#include <cstddef>
#include <vector>

// A statistic that a series cannot give (s of one result, the RSD of a zero mean) is NaN.
struct SeriesStatistics {
    std::size_t n = 0;
    double mean;
    double s;     // sample standard deviation, n − 1 in the denominator
    double rsd;   // 100 · s / |mean|, %
    double ci95;  // half-width of the mean's 95 % confidence interval, t · s / √n
    // The index of the value the outlier test flags, or NO_OUTLIER. Dean–Dixon's Q test for
    // n = 3…10, Grubbs' test for n > 10; fewer than 3 values are never tested.
    static constexpr std::size_t NO_OUTLIER = static_cast<std::size_t>(-1);
    std::size_t outlier = NO_OUTLIER;
};

SeriesStatistics ComputeStatistics(const std::vector<double>& values);

// Student's t, two-sided 95 %, for 1…30 degrees of freedom from the usual table, 1.96 (the
// normal distribution's) beyond; NaN below 1.
double StudentT95(std::size_t degrees_of_freedom);
// Dean–Dixon's critical Q at 95 % for n = 3…10; NaN for any other n.
double DixonQ95(std::size_t n);
// Grubbs' critical G, two-sided at 95 %, for n ≥ 3; NaN below.
double GrubbsG95(std::size_t n);

// The single tests; NO_OUTLIER where the test does not apply or flags nothing.
std::size_t DixonOutlier(const std::vector<double>& values);
std::size_t GrubbsOutlier(const std::vector<double>& values);
