// Recognition of the steepest inflections: the merging rules on small hand-made curves, and
// densely sampled noisy curves computed from equilibrium models.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

#include "core/calc.h"

namespace {

class SteepestInflections : public ::testing::Test {
protected:
    void SetUp() override { recognition = RECOGNIZE_STEEPEST; }
    void TearDown() override {
        recognition = RECOGNIZE_ALL, min_steepness = 10;
        arr_vb.flush();
        recalc_arrays();
    }
    static std::vector<double> Keys() {
        std::vector<double> keys;
        for (int i = 0; i < arr_res.size(); ++i) keys.push_back(arr_res[i]->key.value);
        return keys;
    }
};

// pH of 20.00 ml of 0.0500 M Na2CO3 after v ml of 0.1000 M HCl, and of 100 ml of a water with
// 0.5 mmol/l CO3 2- and 3 mmol/l HCO3 - after v ml of 0.0200 M HCl: the charge balance
// [H+] + [Na+] = [OH-] + [HCO3-] + 2 [CO3 2-] + [Cl-], solved by bisection in log [H+].
double CarbonatePh(double v0, double carbonate, double hydrogencarbonate, double acid, double v) {
    const double total = v0 + v, ct = (carbonate + hydrogencarbonate) * v0 / total;
    const double sodium = (2 * carbonate + hydrogencarbonate) * v0 / total, chloride = acid * v / total;
    const double ka1 = std::pow(10.0, -6.35), ka2 = std::pow(10.0, -10.33);
    double low = -14.5, high = 0.5;
    for (int i = 0; i < 60; ++i) {
        const double mid = (low + high) / 2, h = std::pow(10.0, mid), d = h * h + ka1 * h + ka1 * ka2;
        (h + sodium - 1e-14 / h - ct * (ka1 * h + 2 * ka1 * ka2) / d - chloride > 0 ? high : low) = mid;
    }
    return -(low + high) / 2;
}

// pH of 25.00 ml of 0.1000 M HCl after v ml of 0.1000 M NaOH (exact for a strong acid).
double StrongAcidPh(double v) {
    const double excess = (0.1 * 25 - 0.1 * v) / (25 + v);  // [H+] - [OH-]
    return -std::log10(excess / 2 + std::sqrt(excess * excess / 4 + 1e-14));
}

}  // namespace

// Maxima of |E'| (unit volume steps, E' given) are one jump while |E'| stays above half the lower
// one between them, and the steeper one stands for it (the first of two equal ones); a maximum
// exactly at the threshold counts. Falling curves mirror rising ones.
TEST_F(SteepestInflections, MaximaOfOneJumpMergeAndTheThresholdIsInclusive) {
    // clang-format off
    const struct { std::vector<double> de, keys; } rows[] = {
        {{1, 100, 41, 80, 1}, {1 + 99 / 158.0}},                       // dip above half of 80: one jump
        {{1, 100, 40, 80, 1}, {1 + 99 / 159.0, 3 + 40 / 119.0}},       // exactly half: two jumps
        {{1, 100, 39, 80, 1}, {1 + 99 / 160.0, 3 + 41 / 120.0}},       // below a half, above a third
        {{1, 100, 60, 100, 1}, {1 + 99 / 139.0}},                      // a tie keeps the first
        {{1, 50, 30, 400, 120, 300, 1}, {3 + 370 / 650.0, 5 + 180 / 479.0}},  // measured from the steeper
        {{1, 100, 1, 1, 10, 1}, {1 + 99 / 198.0, 4 + 9 / 18.0}},       // 10 % of 100 exactly
    };
    // clang-format on
    for (double sign : {1.0, -1.0}) {
        for (const auto& row : rows) {
            arr_vb.flush();
            double e = 0;
            arr_vb.append(ext_float_pair(0.0, 0.0));
            for (std::size_t k = 0; k < row.de.size(); ++k)
                arr_vb.append(ext_float_pair(k + 1.0, e += sign * row.de[k]));
            recalc_arrays();
            EXPECT_EQ(row.keys, Keys()) << ::testing::PrintToString(row.de) << " sign " << sign;
            EXPECT_EQ(0.0, smoothing.window);
        }
    }
    // The share shown is rounded down, yet 29 of 100 (28.999999999999996 in doubles) is 29 %.
    char text[64];
    format_steepness(text, sizeof text, ext_float(-29.0));
    EXPECT_STREQ("29,0000 mV.ml-1 (29 %)", text);
}

// Curves as a data logger records them on a continuously dosing burette: uniform steps and
// reading noise. The expected volumes are the inflections of the noise-free models (found on
// 200,001 noise-free points): the carbonate's at 10.000 and 19.999 ml, the water's at 2.501 and
// 19.990 ml (its flat jumps are allowed 0.05 ml), the strong acid's at 25.000 ml, the two
// tanh steps' at 4 and 7 ml.
TEST_F(SteepestInflections, DenseNoisyCurvesGiveOnePointAJump) {
    const auto carbonate = [](double v) { return 415.0 - 59.16 * CarbonatePh(20, 0.05, 0, 0.1, v); };
    const auto water = [](double v) { return CarbonatePh(100, 0.0005, 0.003, 0.02, v); };
    const auto acid = [](double v) { return 415.0 - 59.16 * StrongAcidPh(v); };
    const auto steps = [](double v) { return -150 * std::tanh((v - 4) / 0.15) - 100 * std::tanh((v - 7) / 0.3); };
    const struct {
        std::function<double(double)> model;
        double end, noise;
        bool uniform;
        int points;  // negative: each volume read three times, as a logger does while E settles
        std::vector<double> keys;
        double tolerance;
        bool smoothed;
    } rows[] = {
        {carbonate, 25, 0.2, false, 2000, {10.000, 19.999}, 0.02, true},
        {carbonate, 25, 0.2, false, 20000, {10.000, 19.999}, 0.02, true},
        {carbonate, 25, 0.2, false, -6000, {10.000, 19.999}, 0.02, true},
        {carbonate, 25, 0.2, false, 100000, {10.000, 19.999}, 0.02, true},
        {steps, 10, 0.05, true, 10000, {4, 7}, 0.02, true},  // falling
        {steps, 10, 0.05, true, 100000, {4, 7}, 0.02, true},
        {water, 25, 0.002, false, 300, {2.501, 19.990}, 0.05, true},  // in pH, falling
        {water, 25, 0.002, false, 3000, {2.501, 19.990}, 0.05, true},
        {acid, 50, 0.2, false, 2000, {25}, 0.02, false},  // a jump far above its noise: no smoothing
        {acid, 50, 0.2, false, 100000, {25}, 0.02, false},
    };
    std::mt19937 random(2026);
    for (const auto& row : rows) {
        std::normal_distribution<double> gauss(0.0, row.noise);
        std::uniform_real_distribution<double> flat(-row.noise, row.noise);
        arr_vb.flush();
        const int points = std::abs(row.points);
        for (int k = 0; k < points; ++k) {
            const double v = row.end * k / (points - 1);
            for (int reading = 0; reading < (row.points < 0 ? 3 : 1); ++reading)
                arr_vb.append(ext_float_pair(v, row.model(v) + (row.uniform ? flat(random) : gauss(random))));
        }
        recalc_arrays();
        const std::vector<double> keys = Keys();
        ASSERT_EQ(row.keys.size(), keys.size()) << row.points << " points ending at " << row.end;
        for (std::size_t i = 0; i < keys.size(); ++i)
            EXPECT_NEAR(row.keys[i], keys[i], row.tolerance) << row.points << " points ending at " << row.end;
        EXPECT_EQ(row.smoothed, smoothing.window > 0) << row.points << " points ending at " << row.end;
        if (row.smoothed) {  // the estimate is the reading noise (the sigma of a uniform one is a / sqrt(3))
            EXPECT_NEAR(row.uniform ? row.noise / std::sqrt(3.0) : row.noise, smoothing.noise, row.noise * 0.1);
        }
    }
}
