#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/determination.h"
#include "core/statistics.h"

namespace {

constexpr int LAST = EquivalencePointChoice::LAST;
using P = ResultProblem;
using F = DeterminationField;
using U = ResultUnit;

Determination Make(DeterminationKind kind, double c, double t, double M, const char* z, EquivalencePointChoice ep,
                   double blank, double sample, SampleKind sample_kind, U unit, double standard_c = 0.0) {
    Determination d;
    d.kind = kind;
    d.concentration = c, d.titer = t, d.molar_mass = M;
    EXPECT_TRUE(ParseRatio(z, d.ratio)) << z;
    d.point = ep, d.blank = blank, d.sample = sample, d.sample_kind = sample_kind, d.unit = unit;
    d.standard_concentration = standard_c;
    return d;
}
constexpr auto C = DeterminationKind::content;
constexpr auto T = DeterminationKind::titer;
constexpr auto ML = SampleKind::volume;
constexpr auto G = SampleKind::mass;
constexpr auto SET = EndPointKind::set_value;

// Every expected value below is worked out by hand from n = z·c·t·(V − V_blank)/1000.
TEST(Determination, ResultsTable) {
    const struct {
        Determination d;
        std::vector<double> volumes;
        P problem;
        double expected;
    } cases[] = {
        // 0.1 · 25.00/1000 = 2.5e-3 mol in 0.020 l: 0.125 mol/l
        {Make(C, 0.1, 1, 35.45, "1", {1, 0}, 0, 20, ML, U::mol_per_l), {25.00}, P::none, 0.125},
        // blank: 0.1 · 24.95/1000 = 2.495e-3 mol / 0.020 l = 0.12475 mol/l = 124.75 mmol/l
        {Make(C, 0.1, 1, 35.45, "1", {1, 0}, 0.05, 20, ML, U::mmol_per_l), {25.00}, P::none, 124.75},
        // titer 0.98: 0.01 · 0.98 · 12.5/1000 = 1.225e-4 mol / 0.050 l = 2.45e-3 mol/l · 35.45 = 0.0868525 g/l
        {Make(C, 0.01, 0.98, 35.45, "1", {1, 0}, 0, 50, ML, U::g_per_l), {12.5}, P::none, 0.0868525},
        {Make(C, 0.01, 0.98, 35.45, "1", {1, 0}, 0, 50, ML, U::mg_per_l), {12.5}, P::none, 86.8525},
        // H2SO4 by NaOH, z = 1/2: 0.5 · 0.1 · (20.00 − 0.10)/1000 = 9.95e-4 mol · 98.08 = 0.0975896 g in 0.1000 g
        {Make(C, 0.1, 1, 98.08, "1/2", {1, 0}, 0.10, 0.1, G, U::percent_ww), {20.00}, P::none, 97.5896},
        {Make(C, 0.1, 1, 98.08, "1/2", {1, 0}, 0.10, 0.1, G, U::mg_per_g), {20.00}, P::none, 975.896},
        {Make(C, 0.1, 1, 98.08, "1/2", {1, 0}, 0.10, 0.1, G, U::mmol_per_g), {20.00}, P::none, 9.95},
        // "2. − 1.": 25.50 − 10.00 = 15.50 ml; 0.1 · 15.5/1000 = 1.55e-3 mol / 0.025 l = 0.062 mol/l
        {Make(C, 0.1, 1, 1, "1", {2, 1}, 0, 25, ML, U::mol_per_l), {10.00, 25.50}, P::none, 0.062},
        // the last of three: 0.1 · 30/1000 = 3e-3 mol / 0.020 l = 0.15 mol/l
        {Make(C, 0.1, 1, 1, "1", {LAST, 0}, 0, 20, ML, U::mol_per_l), {10.00, 25.50, 30.00}, P::none, 0.15},
        // V = V_blank: nothing titrated, a content of 0
        {Make(C, 0.1, 1, 35.45, "1", {1, 0}, 0.05, 20, ML, U::mg_per_l), {0.05}, P::none, 0.0},
        // titer, weighed standard: 0.51055 g / 204.22 g/mol = 2.5e-3 mol; 0.1 · (25.30 − 0.10)/1000 = 2.52e-3 mol:
        // t = 2.5/2.52 = 0.99206349...
        {Make(T, 0.1, 1, 204.22, "1", {1, 0}, 0.10, 0.51055, G, U::mg_per_l), {25.30}, P::none, 0.9920634920634921},
        // titer, pipetted standard 25.00 ml of 0.05 mol/l = 1.25e-3 mol, z = 1/2, the old titer 0.95 unused:
        // t = 1.25e-3 / (0.5 · 0.1 · 24.90/1000) = 1.25/1.245 = 1.00401606...
        {Make(T, 0.1, 0.95, 105.99, "1/2", {1, 0}, 0, 25, ML, U::mg_per_l, 0.05), {24.90}, P::none, 1.0040160642570282},
        // never a guess:
        {Make(C, 0.1, 1, 1, "1", {3, 0}, 0, 20, ML, U::mol_per_l), {10.00, 25.50}, P::missing_point, 0},
        {Make(C, 0.1, 1, 1, "1", {2, LAST}, 0, 20, ML, U::mol_per_l), {10.00}, P::missing_point, 0},
        {Make(C, 0.1, 1, 1, "1", {LAST, 0}, 0, 20, ML, U::mol_per_l), {}, P::no_points, 0},
        {Make(C, 0.1, 1, 1, "1", {1, 0}, 0.05, 20, ML, U::mol_per_l), {0.03}, P::negative_volume, 0},
        {Make(C, 0.1, 1, 1, "1", {1, 2}, 0, 20, ML, U::mol_per_l), {10.00, 25.50}, P::negative_volume, 0},
        {Make(T, 0.1, 1, 204.22, "1", {1, 0}, 0.10, 0.5, G, U::mg_per_l), {0.10}, P::zero_volume, 0},
        {Make(C, 0.0, 1, 1, "1", {1, 0}, 0, 20, ML, U::mol_per_l), {25.00}, P::invalid_field, 0},
    };
    for (const auto& c : cases) {
        const DeterminationResult r = EvaluateDetermination(c.d, c.volumes.data(), c.volumes.size());
        SCOPED_TRACE(DeterminationLines(c.d));
        EXPECT_EQ(r.problem, c.problem);
        if (c.problem == P::none) {
            EXPECT_NEAR(r.value, c.expected, 1e-12 * std::max(1.0, c.expected));
        }
    }
}

TEST(Determination, ValidationNamesTheField) {
    const Determination good = Make(C, 0.1, 1, 35.45, "1", {2, 1}, 0, 20, ML, U::mg_per_l);
    const auto with = [&](auto change) {
        Determination d = good;
        change(d);
        return ValidateDetermination(d);
    };
    EXPECT_EQ(ValidateDetermination(good), F::none);
    EXPECT_EQ(with([](Determination& d) { d.concentration = -0.1; }), F::concentration);
    EXPECT_EQ(with([](Determination& d) { d.concentration = INFINITY; }), F::concentration);
    EXPECT_EQ(with([](Determination& d) { d.titer = 0; }), F::titer);
    EXPECT_EQ(with([](Determination& d) { d.molar_mass = NAN; }), F::molar_mass);
    EXPECT_EQ(with([](Determination& d) { d.ratio = 0; }), F::ratio);
    EXPECT_EQ(with([](Determination& d) { d.blank = -0.01; }), F::blank);
    EXPECT_EQ(with([](Determination& d) { d.blank = 0.2; }), F::none);
    EXPECT_EQ(with([](Determination& d) { d.sample = 0; }), F::sample);
    EXPECT_EQ(with([](Determination& d) { d.kind = T; }), F::standard_concentration);
    EXPECT_EQ(with([](Determination& d) { d.kind = T, d.sample_kind = G; }), F::none);
    EXPECT_EQ(with([](Determination& d) { d.unit = U::mg_per_g; }), F::unit);
    EXPECT_EQ(with([](Determination& d) { d.sample_kind = G; }), F::unit);
    EXPECT_EQ(with([](Determination& d) { d.decimals = MAX_DECIMALS + 1; }), F::decimals);
    EXPECT_EQ(with([](Determination& d) { d.point = {0, 0}; }), F::equivalence_point);
    EXPECT_EQ(with([](Determination& d) { d.point = {LAST, LAST}; }), F::equivalence_point);
}

TEST(Determination, TextsOfRatioPointAndUnit) {
    // clang-format off
    const struct { const char* text; bool ok; double ratio; } ratios[] = {
        {"1/2", true, 0.5}, {" 0,5 ", true, 0.5}, {"2", true, 2}, {"1 / 3", true, 1.0 / 3}, {"2.5", true, 2.5},
        {"1/0", false, 0}, {"1e300/1e-300", false, 0}, {"1/2x", false, 0}, {"", false, 0}, {"a", false, 0}, {"1/", false, 0}};
    // clang-format on
    for (const auto& c : ratios) {
        double z = -7;
        EXPECT_EQ(ParseRatio(c.text, z), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(z, c.ratio) << c.text;
        }
    }
    EXPECT_EQ(RatioText(1.0 / 3), "1/3");
    EXPECT_EQ(RatioText(0.5), "1/2");
    EXPECT_EQ(RatioText(2), "2");
    EXPECT_EQ(RatioText(0.123), "0,123");
    // clang-format off
    const struct { const char* text; bool ok; EquivalencePointChoice choice; } points[] = {
        {"1.", true, {1, 0}}, {"12", true, {12, 0}}, {"poslední", true, {LAST, 0}}, {"posl.", true, {LAST, 0}},
        {"2. − 1.", true, {2, 1}}, {"2-1", true, {2, 1}}, {"last – 1", true, {LAST, 1}}, {"0", false, {}},
        {"2 −", false, {}}, {"x", false, {}}, {"1. 2.", false, {}}, {"", false, {}},
        {"pH 8,3", true, {1, 0, SET, 8.3}}, {"4.5 pH", true, {1, 0, SET, 4.5}}, {"-250mV", true, {1, 0, SET, -250}},
        {"Gran", true, {1, 0, EndPointKind::gran}}, {"pH", false, {}}, {"8,3", false, {}}, {"pH 8 mV", false, {}}};
    // clang-format on
    for (const auto& c : points) {
        EquivalencePointChoice choice{7, 7};
        EXPECT_EQ(ParseEquivalencePoint(c.text, choice), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(choice, c.choice) << c.text;
        }
    }
    EXPECT_EQ(EquivalencePointText({LAST, 1}), "poslední − 1.");
    EXPECT_EQ(EquivalencePointText({1, 0, SET, 8.3}, Quantity::ph), "pH 8,3");
    EXPECT_EQ(EquivalencePointText({1, 0, SET, -250}), "-250 mV");
    std::vector<double> set_values{1};
    EXPECT_TRUE(ParseSetValues(" 8,3; 4.5 ", set_values) && set_values == std::vector<double>({8.3, 4.5}));
    EXPECT_FALSE(ParseSetValues("1; 2; 3; 4", set_values) || ParseSetValues("8,3;", set_values));
    EXPECT_TRUE(ParseSetValues("", set_values) && set_values.empty());
    ResultUnit unit;
    EXPECT_TRUE(ParseUnit("% (w/w)", unit) && unit == U::percent_ww);
    EXPECT_TRUE(ParseUnit("mmol/g", unit) && unit == U::mmol_per_g);
    EXPECT_FALSE(ParseUnit("mg/kg", unit));
}

TEST(Determination, CommentLinesRoundTrip) {
    Determination chloride = Make(C, 0.1, 0.9987, 35.453, "1/3", {LAST, 1}, 0.05, 10, ML, U::mg_per_l);
    chloride.titrant = "AgNO3", chloride.analyte = "Cl-", chloride.decimals = 3;
    EXPECT_EQ(DeterminationLines(chloride),
              "# Stanovení.druh = obsah analytu\n# Stanovení.titrant = AgNO3\n# Stanovení.c = 0,1 mol/l\n"
              "# Stanovení.titr = 0,9987\n# Stanovení.analyt = Cl-\n# Stanovení.M = 35,453 g/mol\n"
              "# Stanovení.z = 1/3\n# Stanovení.bod ekvivalence = poslední − 1.\n"
              "# Stanovení.slepý pokus = 0,05 ml\n# Stanovení.vzorek = 10 ml\n# Stanovení.jednotka = mg/l\n"
              "# Stanovení.desetinná místa = 3\n");
    Determination standard = Make(T, 0.1 / 3, 1, 204.2212, "1", {1, 0}, 0, 0.51055, G, U::mg_per_l, 1e-5);
    standard.analyte = "KHP, sušený";
    standard.set_values = {8.3, -4.5}, standard.initial_volume = 50, standard.point = {1, 0, SET, -4.5};
    // Lines that are not the determination's stay in the description as they were.
    const std::string others =
        "# Titrace vody.\n#Titrant: NaOH 0,1 M\n# Stanovení.neznámý = 5\n"
        "# Stanovení.c = pět mol/l\n  # Stanovení.vzorek = 3 kg\n";
    for (const Determination& d : {chloride, standard}) {
        const std::string description = others + DeterminationLines(d);
        Determination read;
        std::string rest;
        EXPECT_TRUE(SplitDetermination(description, read, rest));
        EXPECT_EQ(read, d);
        EXPECT_EQ(rest, others);
        // A second copy of a line is the description's, not a second value.
        EXPECT_TRUE(SplitDetermination(description + "# Stanovení.titr = 2\n", read, rest));
        EXPECT_EQ(read.titer, d.titer);
        EXPECT_EQ(rest, others + "# Stanovení.titr = 2\n");
    }
    Determination none;
    std::string rest;
    EXPECT_FALSE(SplitDetermination(others, none, rest));
    EXPECT_EQ(none, Determination());
    EXPECT_EQ(rest, others);
}

// Critical values as tabulated: Student's t (two-sided 95 %) e.g. Miller & Miller, "Statistics
// and Chemometrics for Analytical Chemistry", Table A.2; Dean–Dixon Q at 95 % after
// Rorabacher, Anal. Chem. 63 (1991) 139; Grubbs' G at 95 % (two-sided) after Grubbs,
// Technometrics 11 (1969) 1, as in ISO 5725-2.
TEST(Statistics, CriticalValues) {
    const std::vector<double> t = {StudentT95(2), StudentT95(5), StudentT95(30), StudentT95(31)},
                              q = {DixonQ95(3), DixonQ95(5), DixonQ95(10)};
    EXPECT_EQ(t, std::vector<double>({4.303, 2.571, 2.042, 1.96}));
    EXPECT_EQ(q, std::vector<double>({0.970, 0.710, 0.466}));
    EXPECT_TRUE(std::isnan(StudentT95(0)) && std::isnan(DixonQ95(11))) << StudentT95(0) << " " << DixonQ95(11);
    // The tables round to three decimals; `model` is the same formula evaluated with mpmath.
    // clang-format off
    const struct { std::size_t n; double g, model; } grubbs[] = {
        {3, 1.155, 1.154305}, {5, 1.715, 1.715037}, {10, 2.290, 2.289954}, {12, 2.412, 2.411560}, {40, 3.036, 3.036097}};
    // clang-format on
    for (const auto& c : grubbs) {
        EXPECT_NEAR(GrubbsG95(c.n), c.g, 1e-3) << c.n;
        EXPECT_NEAR(GrubbsG95(c.n), c.model, 2e-6) << c.n;
    }
}

// Nitrite in mg/l, the worked example of Miller & Miller (Dixon's test): with four values
// Q = (0.401 − 0.380)/(0.410 − 0.380) = 0.70 < 0.829, kept; with three more
// Q = (0.400 − 0.380)/(0.413 − 0.380) = 0.606 > 0.568, flagged. Hand sums for the seven:
// mean 2.818/7 = 0.4025714, squares about it 7.537143e-4, s = √(7.537143e-4/6) = 0.0112080
// (the book's 0.01121), RSD 2.78410 %, CI 2.447 · 0.0112080/√7 = 0.0103660.
TEST(Statistics, WorkedExamples) {
    EXPECT_EQ(ComputeStatistics({0.403, 0.410, 0.401, 0.380}).outlier, SeriesStatistics::NO_OUTLIER);
    // n = 3: Q = 0.98/1.00 > 0.970 flags 11.0; Q = 0.90/1.00 does not. Ten values with both
    // ends 0.5 of the range out (> 0.466): neither stands out alone.
    EXPECT_EQ(ComputeStatistics({10.0, 11.0, 10.02}).outlier, 1u);
    EXPECT_EQ(ComputeStatistics({10.0, 11.0, 10.1}).outlier, SeriesStatistics::NO_OUTLIER);
    EXPECT_EQ(ComputeStatistics({0, 5, 5, 5, 5, 5, 5, 5, 5, 10}).outlier, SeriesStatistics::NO_OUTLIER);
    const SeriesStatistics nitrite = ComputeStatistics({0.403, 0.410, 0.401, 0.380, 0.400, 0.413, 0.411});
    EXPECT_EQ(nitrite.n, 7u);
    EXPECT_NEAR(nitrite.mean, 0.4025714, 1e-7);
    EXPECT_NEAR(nitrite.s, 0.0112080, 1e-7);
    EXPECT_NEAR(nitrite.rsd, 2.78410, 1e-5);
    EXPECT_NEAR(nitrite.ci95, 0.0103660, 1e-7);
    EXPECT_EQ(nitrite.outlier, 3u);
    // Twelve values (Grubbs): mean 120.6/12 = 10.05, squares 0.45, s = √(0.45/11) = 0.2022600,
    // G = 0.55/0.20226 = 2.719 > 2.412 flags 10.6; CI 2.201 · 0.20226/√12 = 0.1285107.
    const SeriesStatistics twelve =
        ComputeStatistics({9.8, 9.9, 9.9, 10.0, 10.0, 10.0, 10.0, 10.1, 10.1, 10.2, 10.0, 10.6});
    EXPECT_NEAR(twelve.mean, 10.05, 1e-12);
    EXPECT_NEAR(twelve.s, 0.2022600, 1e-7);
    EXPECT_NEAR(twelve.ci95, 0.1285107, 1e-7);
    EXPECT_EQ(twelve.outlier, 11u);
    // Mean 10.0, squares 0.2, s = 0.134840, G = 0.3/0.13484 = 2.225 < 2.412: nothing flagged.
    EXPECT_EQ(ComputeStatistics({9.8, 9.8, 9.9, 10.0, 10.0, 10.0, 10.0, 10.0, 10.0, 10.1, 10.1, 10.3}).outlier,
              SeriesStatistics::NO_OUTLIER);
    // One result has a mean and nothing else; equal results spread nothing and flag nothing.
    const SeriesStatistics one = ComputeStatistics({35.2});
    EXPECT_EQ(one.mean, 35.2);
    EXPECT_TRUE(std::isnan(one.s) && std::isnan(one.rsd) && std::isnan(one.ci95));
    const SeriesStatistics same = ComputeStatistics({2.0, 2.0, 2.0});
    EXPECT_EQ(same.s, 0.0);
    EXPECT_EQ(same.outlier, SeriesStatistics::NO_OUTLIER);
    EXPECT_TRUE(std::isnan(ComputeStatistics({-1.0, 1.0}).rsd));
}

}  // namespace
