#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/calc.h"

namespace {

const ext_float UNDEF(0.0, true);

std::string Format(const ext_float& x, int precision, bool comma, int width = 0) {
    char text[EXT_FLOAT_TEXT];
    x.format(text, width, precision, comma);
    return text;
}

bool AllZero(const void* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (static_cast<const unsigned char*>(p)[i]) return false;
    return true;
}

std::vector<double> Values(const dyn_array_direct<ext_float>& a) {
    std::vector<double> v;
    for (int i = 0; i < a.size(); ++i) v.push_back(a[i]->value);
    return v;
}

std::vector<int> released;
void Release(int v) { released.push_back(v); }
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
        for (double d : d2e) points.push_back({static_cast<double>(points.size()), points.back().second + (slope += d)});
        Load(points);
    }
    std::vector<int> Sizes() { return {arr_de.size(), arr_d2e.size(), arr_res.size()}; }
};

} // namespace

TEST(ExtFloat, UndefinedOperandsAndZeroDivisorGiveUndefined) {
    const ext_float two(2.0), three(3.0);
    for (const ext_float& r : {UNDEF + three, three - UNDEF, UNDEF * three, two / ext_float(0.0),
                               two / ext_float(-0.0), UNDEF / two}) {
        EXPECT_TRUE(r.undefined);
        EXPECT_EQ(0.0, r.value);
    }
    EXPECT_EQ(6.0, (two * three).value);
    EXPECT_EQ(2.0 / 3.0, (two / three).value);
    // An undefined number equals everything and orders nothing.
    EXPECT_TRUE(UNDEF == three && three == UNDEF && two < three && three > two);
    EXPECT_FALSE(UNDEF < three || UNDEF > three || three < UNDEF || three > UNDEF || three < three);
}

TEST(ExtFloat, FormatIsFixedWithCommaOrPointAndStaysInItsBuffer) {
    EXPECT_EQ("  1,50 -0.2500 2.67 *", Format(1.5, 2, true, 6) + " " + Format(-0.25, 4, false) + " " +
                                          Format(2.675, 2, false) + " " + Format(UNDEF, 0, false, 10));
    char big[EXT_FLOAT_TEXT], tiny[1] = {'Z'};
    ext_float(-1e308).format(big, 0, 2000000000, false);
    EXPECT_EQ(EXT_FLOAT_TEXT - 1, std::strlen(big));
    ext_float(5.0).format(tiny, 1, 0, 2, true);
    EXPECT_EQ('\0', tiny[0]);
}

// The reading against strtod's is the fuzz target's job; these are the rules on top of it.
TEST(ExtFloat, ParseReadsTheDecimalAtTheStart) {
    const struct { const char* text; double value; } numbers[] = {
        {"2,5", 2.5}, {" 3.5e2 mV", 350}, {"\t3.5E+2mV", 350}, {" -,5", -0.5}, {"+5.", 5},
        {"1,000.5", 1}, {"1e", 1}, {"1e+x", 1}, {"12abc", 12}, {"4.9e-324", 4.9406564584124654e-324},
    };
    for (const auto& n : numbers) {
        ext_float x(9.0, true);
        EXPECT_TRUE(x.parse(n.text) && !x.undefined) << n.text;
        EXPECT_EQ(n.value, x.value) << n.text;
    }
    const char digits[] = "12,75";
    ext_float part;
    EXPECT_TRUE(part.parse(digits, digits + 4));
    EXPECT_EQ(12.7, part.value);
    for (const char* text : {"", "abc", "inf", "nan", "0x1p3", "-0X8", ".", "+.", ",", "e5", "1e999"}) {
        ext_float x(4.0);
        EXPECT_FALSE(x.parse(text) || !x.undefined) << text;
        EXPECT_EQ(4.0, x.value) << "value kept for " << text;
    }
}

TEST(DynArray, GrowsByGrowByThenByDoublingWithZeroFilledSpareSlots) {
    dyn_array_direct<ext_float> a(10, 10, nullptr);
    EXPECT_TRUE(AllZero(a.items, sizeof(ext_float) * 10));
    for (int i = 0; i < 9; ++i) EXPECT_EQ(i + 1, a.append(i + 1.0));
    EXPECT_EQ(10, a.capacity);
    EXPECT_EQ(10, a.append(10.0));  // append keeps a spare slot
    EXPECT_EQ(20, a.capacity);
    EXPECT_TRUE(AllZero(a.items + 10, sizeof(ext_float) * 10));
    for (int i = 10; i < 20; ++i) a.append(i + 1.0);
    EXPECT_EQ(40, a.capacity);
    // Room reserved for 100 takes every append up to 100 without moving the block.
    ASSERT_TRUE(a.reserve(100));
    EXPECT_EQ(101, a.capacity);
    EXPECT_TRUE(AllZero(a.items + 20, sizeof(ext_float) * 81));
    const ext_float* block = a.items;
    while (a.size() < 100) a.append(1.0);
    EXPECT_EQ(block, a.items);
    EXPECT_TRUE(a.reserve(101));
    EXPECT_EQ(102, a.capacity);
    a.flush();
    EXPECT_EQ(nullptr, a.items);
    EXPECT_EQ(0, a.capacity + a.count);
    a.append(2.0);
    EXPECT_EQ(10, a.capacity);
    EXPECT_EQ(1, dyn_array_direct<int>(1, 5, nullptr).capacity);
}

TEST(DynArray, InsertRemoveAndBadIndices) {
    dyn_array_direct<ext_float> a(10, 10, nullptr);
    for (double v : {1.0, 2.0, 4.0}) a.append(v);
    EXPECT_TRUE(a.insert(3.0, 2) && a.insert(0.0, 0) && a.insert(5.0, 5));
    EXPECT_EQ(std::vector<double>({0, 1, 2, 3, 4, 5}), Values(a));
    EXPECT_TRUE(a.remove(2) && a.remove(0));
    EXPECT_EQ(std::vector<double>({1, 3, 4, 5}), Values(a));
    EXPECT_TRUE(AllZero(a.items + 4, sizeof(ext_float) * 2));  // vacated slots are zero again
    EXPECT_EQ(nullptr, a.get_item(-1));
    EXPECT_EQ(nullptr, a[4]);
    EXPECT_FALSE(a.insert(3.0, 5) || a.insert(3.0, -1) || a.remove(4) || a.remove(-1) || a.resize(-1));
    EXPECT_EQ(4, a.size());
    dyn_array_direct<ext_float_pair> sorted(10, 10, nullptr);
    for (double vb : {2, 1, 2, 5}) sorted.insert_sorted(ext_float_pair(vb, sorted.size()));
    EXPECT_EQ(0, sorted.insert_sorted(ext_float_pair(UNDEF, 4.0)));  // an undefined key stops the scan
    const double e[] = {4, 1, 2, 0, 3};  // a new item goes before equal ones
    for (int i = 0; i < 5; ++i) EXPECT_EQ(e[i], sorted[i]->e.value) << i;
}

TEST(DynArray, ReleaseCallbackSeesEveryElementLeaving) {
    released.clear();
    {
        dyn_array_direct<int> a(10, 10, Release);
        for (int v : {1, 2, 3, 4}) a.append(v);
        a.remove(1);
        // Shrinking releases the elements given up and zero-fills their slots; growing gives zeros.
        ASSERT_TRUE(a.resize(1) && a.resize(2));
        EXPECT_TRUE(AllZero(a.items + 1, sizeof(int) * (a.capacity - 1)));
        a.flush();
        a.append(9);
    }
    EXPECT_EQ(std::vector<int>({2, 3, 4, 1, 0, 9}), released);
}

TEST(DynArray, FailedAllocationReportsFailureAndKeepsTheArray) {
    dyn_array_direct<ext_float> a(2, 2, nullptr);
    a.append(1.0);
    ext_float* block = a.items;
    dyn_array_realloc = FailingRealloc;
    EXPECT_EQ(-1, a.append(2.0));
    EXPECT_FALSE(a.insert(0.5, 0) || a.reserve(1000) || a.resize(1000));
    dyn_array_direct<ext_float_pair> none(0, 10, nullptr), unallocated(10, 10, nullptr);
    EXPECT_EQ(-1, none.insert_sorted(ext_float_pair(1, 1)));
    EXPECT_EQ(0, none.size() + unallocated.capacity);
    dyn_array_realloc = std::realloc;
    EXPECT_EQ(block, a.items);
    EXPECT_EQ(2, a.capacity);
    EXPECT_EQ(std::vector<double>({1}), Values(a));
}

TEST_F(Evaluation, WorkedExampleWithUnevenSteps) {
    Load({{0, 200}, {1, 210}, {2, 230}, {2.5, 260}, {3, 300}, {4, 330}, {5, 340}});
    ASSERT_EQ(std::vector<int>({6, 5, 1}), Sizes());
    const double de[] = {10, 20, 60, 80, 30, 10}, d2e[] = {10, 40 / 0.75, 40, -50 / 0.75, -20};
    for (int k = 0; k < 6; ++k) EXPECT_DOUBLE_EQ(de[k], arr_de[k]->value) << k;
    for (int k = 0; k < 5; ++k) EXPECT_DOUBLE_EQ(d2e[k], arr_d2e[k]->value) << k;
    const sorted_struct& r = *arr_res[0];
    EXPECT_EQ(2.5, r.data.x1.value);
    EXPECT_EQ(3.0, r.data.x2.value);
    EXPECT_DOUBLE_EQ(40.0, r.data.y1.value);
    EXPECT_DOUBLE_EQ(-50 / 0.75, r.data.y2.value);
    EXPECT_DOUBLE_EQ(2.6875, r.key.value);
    // Fewer points leave no trace of the evaluation before.
    Load({});
    EXPECT_EQ(std::vector<int>({0, 0, 0}), Sizes());
    Load({{1, 1}, {2, 3}});
    EXPECT_EQ(std::vector<int>({1, 0, 0}), Sizes());
    Load({{1, 1}, {2, 3}, {3, 2}});
    EXPECT_EQ(std::vector<int>({2, 1, 0}), Sizes());
}

// A result wherever E'' changes between positive and not positive (zero counts as not positive).
TEST_F(Evaluation, ResultsAreWhereTheSecondDifferenceChangesSign) {
    const struct { std::vector<double> d2e, keys; } rows[] = {
        {{2, -2}, {1.5}}, {{4, 0, -4}, {2}}, {{-4, 0, 4}, {2}}, {{4, 0, 4}, {2, 2}}, {{-4, 0, -4}, {}},
        {{2, 2}, {}}, {{3, -1, -2, 5, -5, 1}, {1.75, 3 + 2 / 7.0, 4.5, 5 + 5 / 6.0}},
    };
    for (const auto& row : rows) {
        LoadSecondDifferences(row.d2e);
        SCOPED_TRACE(::testing::PrintToString(row.d2e));
        ASSERT_EQ(row.keys.size(), static_cast<std::size_t>(arr_res.size()));
        for (int i = 0; i < arr_res.size(); ++i) EXPECT_DOUBLE_EQ(row.keys[i], arr_res[i]->key.value) << i;
    }
    EXPECT_EQ(2.0, arr_res[0]->data.x2.value);
    EXPECT_EQ(-1.0, arr_res[0]->data.y2.value);
}

TEST_F(Evaluation, EqualVolumesMakeUndefinedDifferencesAndResults) {
    // E'[2] is undefined, so E''[1] and E''[2] are: two undefined results between positives.
    Load({{0, 0}, {1, 1}, {2, 4}, {2, 5}, {3, 9}, {4, 16}, {5, 25}});
    ASSERT_EQ(std::vector<int>({6, 5, 2}), Sizes());
    for (int k = 0; k < 6; ++k) EXPECT_EQ(k == 2, arr_de[k]->undefined) << k;
    for (int k = 0; k < 5; ++k) EXPECT_EQ(k == 1 || k == 2, arr_d2e[k]->undefined) << k;
    EXPECT_TRUE(arr_res[0]->key.undefined && arr_res[1]->key.undefined);
    EXPECT_EQ(1.0, arr_res[0]->data.x1.value);
    EXPECT_EQ(2.0, arr_res[1]->data.x1.value);
    // The same run between falling values gives none.
    Load({{0, 0}, {1, -1}, {2, -4}, {2, -5}, {3, -9}, {4, -16}, {5, -25}});
    EXPECT_EQ(0, arr_res.size());
}
