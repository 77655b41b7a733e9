#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/calc.h"
#include "core/file_io.h"
#include "core/scale.h"

namespace {

const ext_float UNDEF(0.0, true);
constexpr double U = -1e300;  // stands for an undefined number in the expected values

double Value(const ext_float& x) { return x.undefined ? U : x.value; }
double Value(const sorted_struct& r) { return Value(r.key); }
template <class T>
std::vector<double> Values(const dyn_array_direct<T>& a) {
    std::vector<double> v;
    for (int i = 0; i < a.size(); ++i) v.push_back(Value(*a[i]));
    return v;
}

bool AllZero(const void* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (static_cast<const unsigned char*>(p)[i]) return false;
    return true;
}

void* FailingRealloc(void*, std::size_t) { return nullptr; }

class Evaluation : public ::testing::Test {
protected:
    void TearDown() override { Load({}); }
    void Load(const std::vector<std::pair<double, double>>& points) {
        arr_vb.flush();
        for (const auto& p : points) arr_vb.append(ext_float_pair(p.first, p.second));
        recalc_arrays();
    }
    // Points at Vb 0, 1, 2, ... whose E'' takes the given values at P1, P2, ... (unit steps).
    void LoadSecondDifferences(const std::vector<double>& d2e) {
        std::vector<std::pair<double, double>> points = {{0, 0}, {1, 0}};
        double slope = 0.0;
        for (double d : d2e)
            points.push_back({static_cast<double>(points.size()), points.back().second + (slope += d)});
        Load(points);
    }
    static std::vector<double> ResultsInTenths() {
        std::vector<double> volumes;
        for (double v : Values(arr_res)) volumes.push_back(std::round(v * 10) / 10);
        return volumes;
    }
    static std::vector<double> Cross(int i) {
        const auto& d = arr_res[i]->data;
        return {d.x1, d.x2, d.y1, d.y2};
    }
};

}  // namespace

TEST(ExtFloat, UndefinedOperandsAndZeroDivisorGiveUndefined) {
    const ext_float two(2.0), three(3.0);
    for (const ext_float& r :
         {UNDEF + three, three - UNDEF, UNDEF * three, two / ext_float(0.0), two / ext_float(-0.0), UNDEF / two}) {
        EXPECT_TRUE(r.undefined);
        EXPECT_EQ(0.0, r.value);
    }
    EXPECT_EQ(6.0, (two * three).value);
    EXPECT_EQ(2.0 / 3.0, (two / three).value);
    // An undefined number equals everything and orders nothing.
    EXPECT_EQ(std::tuple(UNDEF == three, three == UNDEF, two<three, three> two), std::tuple(true, true, true, true));
    EXPECT_EQ(std::tuple(UNDEF<three, UNDEF> three, three<UNDEF, three> UNDEF, three < three),
              std::tuple(false, false, false, false, false));
}

TEST(ExtFloat, FormatStaysInItsBuffer) {
    char text[EXT_FLOAT_TEXT];
    ext_float(1.5).format(text, 6, 2, true);
    EXPECT_STREQ("  1,50", text);
    ext_float(-1e308).format(text, 0, 2000000000, false);
    EXPECT_EQ(EXT_FLOAT_TEXT - 1, std::strlen(text));
}

// The rules of reading (against strtod's) are the fuzz target's; here the end of a text given.
TEST(ExtFloat, ParseStopsAtTheEndGivenAndKeepsTheValueOnRefusal) {
    const char digits[] = "12,75";
    ext_float x;
    EXPECT_TRUE(x.parse(digits, digits + 4)) << "the first four characters";
    EXPECT_EQ(x.value, 12.7);
    EXPECT_FALSE(x.parse("-0X8")) << "no hexadecimal";
    EXPECT_EQ(std::pair(x.undefined, x.value), std::pair(true, 12.7)) << "undefined, the value kept";
}

TEST(DynArray, GrowsKeepingItsValuesWithZeroFilledSpareSlots) {
    dyn_array_direct<ext_float> a(10, 10, nullptr);
    std::vector<double> expected;
    for (int i = 0; i < 40; ++i) {
        expected.push_back(i + 1.0);
        EXPECT_EQ(i + 1, a.append(i + 1.0));
    }
    EXPECT_EQ(expected, Values(a));
    EXPECT_TRUE(AllZero(a.items + 40, sizeof(ext_float) * (a.capacity - 40)));
    // Room reserved for 100 takes every append up to 100 without moving the block.
    ASSERT_TRUE(a.reserve(100));
    const ext_float* block = a.items;
    while (a.size() < 100) a.append(1.0);
    EXPECT_EQ(block, a.items);
    a.flush();
    EXPECT_EQ(std::tuple(a.items, a.count), std::tuple(nullptr, 0));
    a.append(2.0);
    EXPECT_EQ(std::vector<double>({2}), Values(a));
}

TEST(DynArray, InsertRemoveAndBadIndices) {
    dyn_array_direct<ext_float> a(10, 10, nullptr);
    for (double v : {1.0, 2.0, 4.0}) a.append(v);
    for (auto [value, at] : {std::pair{3.0, 2}, {0.0, 0}, {5.0, 5}})
        EXPECT_TRUE(a.insert(value, at)) << value << " at " << at;
    EXPECT_EQ(std::vector<double>({0, 1, 2, 3, 4, 5}), Values(a));
    for (int at : {2, 0}) EXPECT_TRUE(a.remove(at)) << at;
    EXPECT_EQ(std::vector<double>({1, 3, 4, 5}), Values(a));
    EXPECT_TRUE(AllZero(a.items + 4, sizeof(ext_float) * 2));  // vacated slots are zero again
    EXPECT_EQ(std::tuple(a.get_item(-1), a[4]), std::tuple(nullptr, nullptr));
    EXPECT_EQ((std::tuple{a.insert(3.0, 5), a.insert(3.0, -1), a.remove(4), a.remove(-1), a.resize(-1)}),
              std::tuple(false, false, false, false, false));
    EXPECT_EQ(4, a.size());
}

TEST(DynArray, FailedAllocationReportsFailureAndKeepsTheArray) {
    dyn_array_direct<ext_float> a(2, 2, nullptr);
    a.append(1.0);
    ext_float* block = a.items;
    dyn_array_realloc = FailingRealloc;
    EXPECT_EQ((std::tuple{a.append(2.0), a.insert(0.5, 0), a.reserve(1000), a.resize(1000)}),
              std::tuple(-1, false, false, false));
    dyn_array_direct<ext_float_pair> none(0, 10, nullptr), unallocated(10, 10, nullptr);
    EXPECT_EQ(std::tuple(none.insert_sorted(ext_float_pair(1, 1)), none.size(), unallocated.capacity),
              std::tuple(-1, 0, 0));
    dyn_array_realloc = std::realloc;
    EXPECT_EQ(std::tuple(a.items, a.capacity), std::tuple(block, 2));
    EXPECT_EQ(std::vector<double>({1}), Values(a));
}

TEST(Scale, TicksAtMultiplesOfTheSmallestRoundStepThatFitsAndNoneForARangeWithoutSteps) {
    // clang-format off
    const struct { double low, high; int steps; double step; int count; double first; } rows[] = {
        {0, 25, 5, 5, 6, 0}, {-265.4, 201, 5, 100, 5, -200}, {-3, 7, 4, 5, 2, 0}, {0.21, 0.79, 4, 0.2, 2, 0.4}, {10, 20, 1, 10, 2, 10},
        {0, 1000, 1000, 20, 51, 0},  // at most 50 steps
        {1, 1, 5, 0, 0, 0}, {2, 1, 5, 0, 0, 0}, {0, INFINITY, 5, 0, 0, 0}, {NAN, 1, 5, 0, 0, 0}, {0, 1, 0, 0, 0, 0}};
    // clang-format on
    for (const auto& r : rows) {
        const RoundScale s = MakeScale(r.low, r.high, r.steps);
        ASSERT_EQ(std::pair(s.step, s.count), std::pair(r.step, r.count)) << r.low << " " << r.high;
        for (int i = 0; i < s.count; ++i)  // and no "-0"
            EXPECT_TRUE(std::fabs(s.ticks[i] - r.first - i * r.step) < 1e-12 &&
                        !(s.ticks[i] == 0 && std::signbit(s.ticks[i])))
                << "tick " << i << ": " << s.ticks[i];
    }
}
// Ticks carry the decimals of their step, trailing zeros dropped, not the labels' precision.
TEST(Scale, TickNumbersHaveTheDecimalsTheirStepNeeds) {
    // clang-format off
    const struct { double tick, step; bool comma; const char* text; } rows[] = {
        {0, 0.5, true, "0"}, {0.5, 0.5, true, "0,5"}, {0.25, 0.05, true, "0,25"}, {0.1, 0.05, false, "0.1"},
        {0.7, 0.1, true, "0,7"}, {0.1 + 0.2, 0.1, true, "0,3"}, {-1e-17, 0.1, true, "0"}, {-2.5, 0.5, true, "-2,5"},
        {0.003, 0.001, true, "0,003"}, {10000, 2000, true, "10000"}, {-200, 100, false, "-200"}, {3, 1, true, "3"}};
    // clang-format on
    char text[16];
    for (const auto& r : rows)
        EXPECT_STREQ((FormatTick(r.tick, r.step, r.comma, text, sizeof text), text), r.text) << r.tick;
    EXPECT_STREQ((FormatTick(123456.5, 0.5, true, text, 5), text), "1234");  // cut to the buffer
}
TEST_F(Evaluation, WorkedExampleWithUnevenSteps) {
    Load({{0, 200}, {1, 210}, {2, 230}, {2.5, 260}, {3, 300}, {4, 330}, {5, 340}});
    EXPECT_EQ(std::vector<double>({10, 20, 60, 80, 30, 10}), Values(arr_de));
    EXPECT_EQ(std::vector<double>({10, 40 / 0.75, 40, -50 / 0.75, -20}), Values(arr_d2e));
    ASSERT_EQ(1, arr_res.size());
    EXPECT_EQ(std::vector<double>({2.5, 3, 40, -50 / 0.75}), Cross(0));
    EXPECT_DOUBLE_EQ(2.6875, arr_res[0]->key.value);
    // Fewer points leave no trace of the evaluation before.
    Load({});
    EXPECT_EQ(0, arr_de.size() + arr_d2e.size() + arr_res.size());
    Load({{1, 1}, {2, 3}});
    EXPECT_EQ(std::tuple(1, 0, 0), std::tuple(arr_de.size(), arr_d2e.size(), arr_res.size()));
    Load({{1, 1}, {2, 3}, {3, 2}});
    EXPECT_EQ(std::tuple(2, 1, 0), std::tuple(arr_de.size(), arr_d2e.size(), arr_res.size()));
}

// A result wherever E'' changes between positive and not positive (zero counts as not positive),
// except that zeros between two positive values only touch zero.
TEST_F(Evaluation, ResultsAreWhereTheSecondDifferenceChangesSign) {
    // clang-format off
    const struct { std::vector<double> d2e, keys; } rows[] = {
        {{2, -2}, {1.5}}, {{4, 0, -4}, {2}}, {{-4, 0, 4}, {2}}, {{4, 0, 4}, {}}, {{4, 0, 0, 4}, {}}, {{-4, 0, -4}, {}},
        {{4, 0}, {2}}, {{4, 0, 0, -4}, {2}},
        {{2, 2}, {}}, {{3, -1, -2, 5, -5, 1}, {1.75, 3 + 2 / 7.0, 4.5, 5 + 5 / 6.0}},
    };
    // clang-format on
    for (const auto& row : rows) {
        LoadSecondDifferences(row.d2e);
        EXPECT_EQ(row.keys, Values(arr_res)) << ::testing::PrintToString(row.d2e);
    }
    EXPECT_EQ(std::vector<double>({5, 6, -5, 1}), Cross(3));
}

TEST_F(Evaluation, EqualVolumesMakeUndefinedDifferencesAndResults) {
    Load({{0, 0}, {1, 1}, {2, 4}, {2, 5}, {3, 9}, {4, 16}, {5, 25}});
    EXPECT_EQ(std::vector<double>({1, 3, U, 4, 7, 9}), Values(arr_de));
    EXPECT_EQ(std::vector<double>({2, U, U, 3, 2}), Values(arr_d2e));
    ASSERT_EQ(std::vector<double>({U, U}), Values(arr_res));  // the undefined run between positives
    EXPECT_EQ(1.0, arr_res[0]->data.x1.value);
    EXPECT_EQ(2.0, arr_res[1]->data.x1.value);
    Load({{0, 0}, {1, -1}, {2, -4}, {2, -5}, {3, -9}, {4, -16}, {5, -25}});
    EXPECT_EQ(std::vector<double>(), Values(arr_res));  // the same run between falling values
}

// The samples, also falling (E mirrored) and with reading noise of up to 0.3 mV, give their
// equivalence volumes with the criterion; without it every sign change of E'' counts.
TEST_F(Evaluation, SteepestInflectionsAreTheEquivalencePointsOfTheSamples) {
    // clang-format off
    const struct { const char* file; std::vector<double> all, steepest; std::size_t crossings = 0; } samples[] = {
        {"uhlicitan-hcl.tid", {4.8, 10, 14.9, 20}, {10, 20}}, {"hcl-naoh.tid", {25}, {25}}, {"zelezo-cer.tid", {25}, {25}},
        {"fosforecna-naoh.tid", {}, {12.5, 25}, 227}};
    // clang-format on
    std::minstd_rand noise(7);
    for (const auto& sample : samples) {
        dyn_array_direct<ext_float_pair> points(10, 10, nullptr);
        ASSERT_TRUE(internal_read((std::string(TITRION_EXAMPLES_DIR) + "/" + sample.file).c_str(), points));
        // clang-format off
        for (auto [mode, sign, spread] : {std::tuple{RECOGNIZE_ALL, 1.0, 0.0}, {RECOGNIZE_STEEPEST, 1.0, 0.0},
                                          {RECOGNIZE_STEEPEST, -1.0, 0.0}, {RECOGNIZE_STEEPEST, 1.0, 0.3}, {RECOGNIZE_STEEPEST, -1.0, 0.3},
                                          {RECOGNIZE_STEEPEST, 1.0, 1.0}, {RECOGNIZE_STEEPEST, -1.0, 2.0}}) {
            // clang-format on
            if (sample.crossings && spread > 0)
                continue;  // a titrator's curve: its own noise, its sign changes counted
            recognition = mode;
            std::vector<std::pair<double, double>> curve;
            for (int i = 0; i < points.size(); ++i)
                curve.push_back({points[i]->vb.value,
                                 sign * points[i]->e.value + spread * (static_cast<int>(noise() % 7) - 3) / 3.0});
            Load(curve);
            const std::vector<double> volumes = ResultsInTenths();
            EXPECT_TRUE(spread > 0 || smoothing.window == 0.0) << sample.file << ": read to 0.1 mV, so not smoothed";
            if (mode == RECOGNIZE_ALL && sample.crossings)
                EXPECT_EQ(sample.crossings, volumes.size()) << sample.file;
            else
                EXPECT_EQ(volumes, mode == RECOGNIZE_ALL ? sample.all : sample.steepest)
                    << sample.file << " " << sign << " " << spread;
        }
    }
    // At 5 % the flat part between the carbonate's two jumps is steep enough, yet its valley parts them.
    min_steepness = 5, arr_vb.flush();
    EXPECT_TRUE(internal_read(TITRION_EXAMPLES_DIR "/uhlicitan-hcl.tid", arr_vb));
    recalc_arrays();
    const std::vector<double> volumes = ResultsInTenths();
    char steepness[64];
    format_steepness(steepness, sizeof steepness, arr_res.is_empty() ? ext_float() : arr_res[0]->data.slope);
    recognition = RECOGNIZE_ALL, min_steepness = 10;
    EXPECT_EQ(volumes, std::vector<double>({10, 20}));
    EXPECT_STREQ(steepness, "113,5000 mV.ml-1 (54 %)");
}
