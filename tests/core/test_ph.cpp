// pH titrations: calibration by hand-made buffers, readings of small curves worked out by hand,
// and Gran lines of curves from the charge balance and of the samples.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "core/ph.h"

namespace {

const double U = NAN;  // an undefined reading

std::vector<ext_float_pair> Curve(const std::vector<std::pair<double, double>>& points) {
    std::vector<ext_float_pair> out;
    for (auto [v, y] : points) out.emplace_back(v, std::isnan(y) ? ext_float(0.0, true) : ext_float(y));
    return out;
}

// pH of 25.00 ml of 0.1000 M acid after v ml of 0.1000 M NaOH from the charge balance
// [H+] + [Na+] = [OH-] + [A-], [A-] = c Ka / (Ka + [H+]), by bisection in log [H+]; pka -6 makes it a strong acid.
double AcidPh(double pka, double v) {
    const double total = 25 + v, acid = 2.5 / total, sodium = 0.1 * v / total, ka = std::pow(10.0, -pka);
    double low = -14.5, high = 0.5;
    for (int i = 0; i < 60; ++i) {
        const double mid = (low + high) / 2, h = std::pow(10.0, mid);
        (h + sodium - 1e-14 / h - acid * ka / (ka + h) > 0 ? high : low) = mid;
    }
    return -(low + high) / 2;
}

}  // namespace

// E = e0 + slope pH; the Nernst slopes 58.16724 (20 °C), 59.15935 (25 °C) mV by RT ln10 / F.
TEST(Calibration, LeastSquaresLineSlopeShareZeroPointAndWarnings) {
    // clang-format off
    const struct {
        std::vector<CalibrationBuffer> buffers;
        double e0, slope, percent, zero, at7;
        std::vector<double> residuals;
        int warnings;
    } rows[] = {
        {{{4.01, 179.425, 20}, {7.00, 7.5, 20}}, 410, -57.5, 5750 / 58.16724, 410 / 57.5, 7.5, {}, 0},
        // the middle buffer 5.9 mV high: the line rises by a third of it, mean of 15, 25, 35 °C
        {{{4, 164, 15}, {7, -7.1, 25}, {10, -190, 35}}, 400 + 5.9 / 3, -59, 5900 / 59.15935, (400 + 5.9 / 3) / 59,
         -13 + 5.9 / 3, {1 / 30.0, -2 / 30.0, 1 / 30.0}, CALIBRATION_RESIDUAL_TOO_LARGE},
        {{{4, 176, 25}, {7, 8, 25}, {10, -160, 25}}, 400, -56, 5600 / 59.15935, 400 / 56.0, 8, {0, 0, 0},
         CALIBRATION_SLOPE_OUT_OF_RANGE},
        {{{4, -42, 25}, {9, 260.5, 25}}, -284, 60.5, 6050 / 59.15935, 284 / 60.5, 139.5, {},
         CALIBRATION_SLOPE_OUT_OF_RANGE},
    };
    // clang-format on
    for (const auto& row : rows) {
        const Calibration c = calibrate(row.buffers.data(), static_cast<int>(row.buffers.size()));
        ASSERT_TRUE(c.ok());
        EXPECT_NEAR(row.e0, c.e0, 1e-9);
        EXPECT_NEAR(row.slope, c.slope, 1e-9);
        EXPECT_NEAR(row.percent, c.slope_percent, 1e-4);
        EXPECT_NEAR(row.zero, c.ph_at_zero_mv, 1e-9);
        EXPECT_NEAR(row.at7, c.mv_at_ph7, 1e-9);
        ASSERT_EQ(row.residuals.size(), c.residuals.size());
        for (std::size_t i = 0; i < c.residuals.size(); ++i) EXPECT_NEAR(row.residuals[i], c.residuals[i], 1e-9);
        EXPECT_EQ(row.warnings, c.warnings) << row.slope;
    }
    const std::vector<CalibrationBuffer> six(6, CalibrationBuffer{7, 0, 25});
    // clang-format off
    const struct { std::vector<CalibrationBuffer> buffers; CalibrationStatus status; } faults[] = {
        {{{7, 0, 25}}, CALIBRATION_BUFFER_COUNT}, {{six}, CALIBRATION_BUFFER_COUNT},
        {{{4, 1, 25}, {7, NAN, 25}}, CALIBRATION_NOT_FINITE}, {{{7.01, 1, 25}, {7.01, 3, 25}, {7.01, 2, 25}}, CALIBRATION_SAME_PH},
        {{{4, 5, 25}, {7, 5, 25}}, CALIBRATION_NO_SLOPE}};
    // clang-format on
    for (const auto& fault : faults)
        EXPECT_EQ(fault.status, calibrate(fault.buffers.data(), static_cast<int>(fault.buffers.size())).status);
    // The conversion reads each E through the line and keeps an undefined one.
    const std::vector<ext_float_pair> ph =
        convert_to_ph(calibrate(rows[0].buffers.data(), 2), Curve({{0, 179.425}, {1, U}, {2, 7.5}}).data(), 3);
    EXPECT_NEAR(4.01, ph[0].e.value, 1e-12);
    EXPECT_TRUE(ph[1].e.undefined && ph[1].vb.value == 1.0);
    EXPECT_NEAR(7.0, ph[2].e.value, 1e-12);
}

// The first crossing, interpolated, or a point's volume; an undefined point is passed over.
TEST(CurveReadings, SetValueEndPointsAndHalfNeutralisation) {
    const auto rising = Curve({{0, 3}, {1, 5}, {1.5, U}, {2, 9}, {3, 11}}),
               bumpy = Curve({{0, 3}, {1, 6}, {2, 5}, {3, 8}}), falling = Curve({{0, -3}, {1, -5}, {2, -9}});
    // clang-format off
    const struct { const std::vector<ext_float_pair>& curve; double set; bool found; double volume; } rows[] = {
        {rising, 4, true, 0.5}, {rising, 9, true, 2}, {rising, 3, true, 0}, {rising, 7, true, 1.5}, {rising, 10, true, 2.5},
        {rising, 12, false, 0}, {rising, 2, false, 0}, {bumpy, 5.5, true, 5 / 6.0}, {falling, -4, true, 0.5}, {falling, -8, true, 1.75}};
    // clang-format on
    for (const auto& row : rows) {
        const CurveReading r = set_value_end_point(row.curve.data(), static_cast<int>(row.curve.size()), row.set);
        EXPECT_EQ(row.found, r.found) << row.set;
        if (row.found) {
            EXPECT_NEAR(row.volume, r.value, 1e-12) << row.set;
        }
    }
    const auto curve = Curve({{0, 3}, {2, 4}, {4, 4.5}, {6, 5}, {8, 9}, {10, 11}});
    // clang-format off
    const struct { double v_ep, v_previous; PkaStatus status; double volume, pka; } half[] = {
        {8, 0, PKA_OK, 4, 4.5}, {6, 0, PKA_OK, 3, 4.25}, {10, 8, PKA_OK, 9, 10}, {30, 0, PKA_OUTSIDE_CURVE, 15, 0},
        {6, 8, PKA_NO_EQUIVALENCE, 0, 0}, {0, 0, PKA_NO_EQUIVALENCE, 0, 0}};
    // clang-format on
    for (const auto& row : half) {
        const HalfNeutralisation h = half_neutralisation(curve.data(), 6, row.v_ep, row.v_previous);
        EXPECT_EQ(row.status, h.status) << row.v_ep;
        EXPECT_NEAR(row.volume, h.volume, 1e-12);
        if (h.status == PKA_OK) {
            EXPECT_NEAR(row.pka, h.pka, 1e-12);
        }
    }
}

// F = 1, 3, 4, 6 at V = 2..5 (V0 10 ml, points outside the range left out): by hand
// b = 8/5, a = 3.5 - 1.6 * 3.5 = -2.1, x0 = 1.3125, s^2 = 0.2 / 2, u = s/b sqrt(1/4 + (x0 - 3.5)^2 / 5).
TEST(Gran, LineEndPointAndItsStandardErrorByHand) {
    std::vector<ext_float_pair> curve;
    for (auto [v, f] : {std::pair{1.0, 50.0}, {2, 1}, {3, 3}, {4, 4}, {5, 6}, {6, 100}})
        curve.emplace_back(v, 14 + std::log10(f / (10 + v)));
    const GranLine g = fit_gran(curve.data(), 6, GRAN_AFTER_EP, 10, 14, {2, 5});
    ASSERT_TRUE(g.ok());
    EXPECT_EQ(4, g.points);
    EXPECT_NEAR(1.6, g.slope, 1e-9);
    EXPECT_NEAR(-2.1, g.intercept, 1e-9);
    EXPECT_NEAR(1.3125, g.end_point, 1e-9);
    EXPECT_NEAR(std::sqrt(0.1) / 1.6 * std::sqrt(0.25 + 2.1875 * 2.1875 / 5), g.u, 1e-9);
    EXPECT_EQ(GRAN_TOO_FEW_POINTS, fit_gran(curve.data(), 6, GRAN_AFTER_EP, 10, 14, {2, 3}).status);
    const auto flat = Curve({{0, 7}, {1, 8}, {2, 7}});
    EXPECT_EQ(GRAN_NO_DIRECTION, fit_gran(flat.data(), 3, GRAN_AFTER_EP, 10, 14, {0, 2}).status);
    const VolumeRange after = default_gran_range(GRAN_AFTER_EP, 25, 40),
                      short_after = default_gran_range(GRAN_AFTER_EP, 25, 30),
                      before = default_gran_range(GRAN_BEFORE_WEAK, 25, 40);
    EXPECT_EQ(std::vector<double>({26.25, 37.5, 26.25, 30, 5, 22.5}),
              std::vector<double>({after.from, after.to, short_after.from, short_after.to, before.from, before.to}));
    EXPECT_NEAR(14.0817, pkw_at(22.5), 1e-12);  // halfway between 14.1669 and 13.9965
    EXPECT_EQ(std::vector<double>({14.9435, 13.0171}), std::vector<double>({pkw_at(-5), pkw_at(70)}));
}

// 25 ml of 0.1 M acid by 0.1 M NaOH, Ve 25 ml, and its mirror (pH -> 14 - pH: a base with the
// same pKb by an acid); each function's line reaches zero within 0.5 % of Ve and the weak-acid
// one gives Ka of the model.
TEST(Gran, EndPointsAndPkaOfModelCurvesAndOfTheSample) {
    // clang-format off
    const struct { double pka; GranFunction function; double tolerance; } rows[] = {
        {4.76, GRAN_AFTER_EP, 0.0005}, {4.76, GRAN_BEFORE_WEAK, 0.005}, {-6, GRAN_BEFORE_STRONG, 0.0005}, {-6, GRAN_AFTER_EP, 0.0005}};
    // clang-format on
    for (const auto& row : rows) {
        for (bool base : {false, true}) {
            std::vector<ext_float_pair> curve;
            for (double v = 0; v <= 40; v += 0.5)
                curve.emplace_back(v, base ? 14 - AcidPh(row.pka, v) : AcidPh(row.pka, v));
            const GranLine g = fit_gran(curve.data(), static_cast<int>(curve.size()), row.function, 25, 14,
                                        default_gran_range(row.function, 25, 40));
            ASSERT_TRUE(g.ok());
            EXPECT_EQ(base ? TITRAND_BASE : TITRAND_ACID, g.titrand);
            EXPECT_NEAR(25, g.end_point, 25 * row.tolerance) << row.pka << " " << row.function << " base " << base;
            if (row.function == GRAN_BEFORE_WEAK) {
                EXPECT_NEAR(base ? 14 - row.pka : row.pka, g.pka, 0.05);
            }
        }
    }
    // The samples from the same models, read to 0.01 pH with noise.
    dyn_array_direct<ext_float_pair> sample(10, 10, nullptr);
    ASSERT_TRUE(internal_read(TITRION_EXAMPLES_DIR "/octova-naoh.tid", sample));
    const int n = sample.size();
    for (GranFunction function : {GRAN_AFTER_EP, GRAN_BEFORE_WEAK}) {
        const GranLine g = fit_gran(sample.items, n, function, 25, DEFAULT_PKW,
                                    default_gran_range(function, 25, sample[n - 1]->vb.value));
        EXPECT_NEAR(25, g.end_point, 0.125);
        EXPECT_GT(0.125, g.u);
        if (function == GRAN_BEFORE_WEAK) {
            EXPECT_NEAR(4.76, g.pka, 0.05);
        }
    }
    EXPECT_NEAR(4.76, half_neutralisation(sample.items, n, 25, 0).pka, 0.05);
    // The water's p- and m-alkalinity: the model reaches pH 8.3 at 2.021 ml and 4.5 at 18.951 ml.
    dyn_array_direct<ext_float_pair> water(10, 10, nullptr);
    ASSERT_TRUE(internal_read(TITRION_EXAMPLES_DIR "/alkalita-hcl.tid", water));
    EXPECT_NEAR(2.021, set_value_end_point(water.items, water.size(), 8.3).value, 0.01);
    EXPECT_NEAR(18.951, set_value_end_point(water.items, water.size(), 4.5).value, 0.01);
}
