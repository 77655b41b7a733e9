#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "core/calc.h"

namespace {

const ext_float UNDEF(0.0, true);

class Evaluation : public ::testing::Test {
protected:
    void TearDown() override {
        arr_vb.flush();
        recalc_arrays();
    }
    void Load(std::initializer_list<std::pair<double, double>> points) {
        arr_vb.flush();
        for (const auto& p : points) arr_vb.insert_sorted(ext_float_pair(p.first, p.second));
        recalc_arrays();
    }
    // Points at Vb 0, 1, 2, ... whose E'' takes the given values at P1, P2, ... (a unit
    // step makes E''[k] = E'[k+1] - E'[k] over a divisor of 1).
    void LoadSecondDifferences(std::initializer_list<double> d2e) {
        arr_vb.flush();
        double e = 0.0, slope = 0.0;
        int vb = 0;
        arr_vb.append(ext_float_pair(vb++, e));
        e += slope;
        arr_vb.append(ext_float_pair(vb++, e));
        for (double d : d2e) {
            slope += d;
            e += slope;
            arr_vb.append(ext_float_pair(vb++, e));
        }
        recalc_arrays();
    }
};

} // namespace

TEST(GetCross, InterpolatesTheZeroAndLeavesItsArguments) {
    ext_float x1(1.0), x2(2.0), y1(2.0), y2(-2.0);
    EXPECT_EQ(1.5, GetCross(x1, x2, y1, y2).value);
    EXPECT_EQ(1.0, x1.value);
    EXPECT_EQ(-2.0, y2.value);
    ext_float z1(4.0), z2(0.0);
    EXPECT_EQ(2.0, GetCross(x1, x2, z1, z2).value);  // a zero at x2
    EXPECT_EQ(1.0, GetCross(x1, x2, z2, z1).value);  // a zero at x1
    ext_float same(3.0);
    EXPECT_TRUE(GetCross(x1, x2, same, same).undefined);
    ext_float undef = UNDEF;
    EXPECT_TRUE(GetCross(x1, undef, y1, y2).undefined);
    EXPECT_TRUE(GetCross(x1, x2, y1, undef).undefined);
}

TEST_F(Evaluation, WorkedExampleWithUnevenSteps) {
    Load({{0, 200}, {1, 210}, {2, 230}, {2.5, 260}, {3, 300}, {4, 330}, {5, 340}});
    ASSERT_EQ(6, arr_de.size());
    const double de[] = {10, 20, 60, 80, 30, 10};
    for (int k = 0; k < 6; ++k) EXPECT_DOUBLE_EQ(de[k], arr_de[k]->value) << k;
    ASSERT_EQ(5, arr_d2e.size());
    const double d2e[] = {10, 40 / 0.75, 40, -50 / 0.75, -20};
    for (int k = 0; k < 5; ++k) EXPECT_DOUBLE_EQ(d2e[k], arr_d2e[k]->value) << k;
    ASSERT_EQ(1, arr_res.size());
    const sorted_struct& r = *arr_res[0];
    EXPECT_EQ(2.5, r.data.x1.value);
    EXPECT_EQ(3.0, r.data.x2.value);
    EXPECT_DOUBLE_EQ(40.0, r.data.y1.value);
    EXPECT_DOUBLE_EQ(-50 / 0.75, r.data.y2.value);
    EXPECT_DOUBLE_EQ(2.6875, r.key.value);
    EXPECT_FALSE(r.key.undefined);
}

TEST_F(Evaluation, TooFewPointsGiveNoResult) {
    // A full evaluation first, so that leftovers of it would show.
    Load({{0, 200}, {1, 210}, {2, 230}, {2.5, 260}, {3, 300}, {4, 330}, {5, 340}});
    Load({});
    EXPECT_EQ(0, arr_de.size() + arr_d2e.size() + arr_res.size());
    Load({{1, 1}});
    EXPECT_EQ(0, arr_de.size() + arr_d2e.size() + arr_res.size());
    Load({{1, 1}, {2, 3}});
    EXPECT_EQ(1, arr_de.size() + 10 * arr_d2e.size() + 100 * arr_res.size());
    Load({{1, 1}, {2, 3}, {3, 2}});
    EXPECT_EQ(2 + 10 * 1, arr_de.size() + 10 * arr_d2e.size() + 100 * arr_res.size());
    Load({{0, 0}, {1, 1}, {2, 4}, {3, 9}});
    EXPECT_EQ(3, arr_de.size());
    EXPECT_EQ(2.0, arr_d2e[0]->value);
    EXPECT_EQ(2.0, arr_d2e[1]->value);
    EXPECT_EQ(0, arr_res.size());
}

TEST_F(Evaluation, SignChangesBothWaysWithZeroCountingAsNotPositive) {
    LoadSecondDifferences({2, -2});
    ASSERT_EQ(1, arr_res.size());
    EXPECT_EQ(1.5, arr_res[0]->key.value);
    EXPECT_EQ(1.0, arr_res[0]->data.x1.value);
    EXPECT_EQ(2.0, arr_res[0]->data.x2.value);
    EXPECT_EQ(2.0, arr_res[0]->data.y1.value);
    EXPECT_EQ(-2.0, arr_res[0]->data.y2.value);

    LoadSecondDifferences({4, 0, -4});
    ASSERT_EQ(1, arr_res.size());
    EXPECT_EQ(2.0, arr_res[0]->key.value);
    EXPECT_EQ(0.0, arr_res[0]->data.y2.value);

    LoadSecondDifferences({-4, 0, 4});
    ASSERT_EQ(1, arr_res.size());
    EXPECT_EQ(2.0, arr_res[0]->key.value);
    EXPECT_EQ(2.0, arr_res[0]->data.x1.value);

    LoadSecondDifferences({4, 0, 4});
    ASSERT_EQ(2, arr_res.size());
    EXPECT_EQ(2.0, arr_res[0]->key.value);
    EXPECT_EQ(2.0, arr_res[1]->key.value);

    LoadSecondDifferences({-4, 0, -4});
    EXPECT_EQ(0, arr_res.size());
}

TEST_F(Evaluation, SeveralResultsComeInVolumeOrder) {
    LoadSecondDifferences({3, -1, -2, 5, -5, 1});
    ASSERT_EQ(4, arr_res.size());
    for (int i = 0; i < 4; ++i) {
        const sorted_struct& r = *arr_res[i];
        EXPECT_GE(r.key.value, r.data.x1.value);
        EXPECT_LE(r.key.value, r.data.x2.value);
        if (i) {
            EXPECT_GE(r.key.value, arr_res[i - 1]->key.value);
        }
    }
    EXPECT_EQ(1.75, arr_res[0]->key.value);  // 1 + 3 / 4
}

TEST_F(Evaluation, EqualVolumesMakeUndefinedDifferences) {
    arr_vb.flush();
    for (auto p : {std::pair<double, double>{1, 10}, {2, 20}, {2, 30}, {3, 35}, {4, 36}})
        arr_vb.append(ext_float_pair(p.first, p.second));
    recalc_arrays();
    ASSERT_EQ(4, arr_de.size());
    EXPECT_TRUE(arr_de[1]->undefined);
    EXPECT_FALSE(arr_de[0]->undefined);
    ASSERT_EQ(3, arr_d2e.size());
    EXPECT_TRUE(arr_d2e[0]->undefined);
    EXPECT_TRUE(arr_d2e[1]->undefined);
    EXPECT_FALSE(arr_d2e[2]->undefined);
}

TEST_F(Evaluation, RunOfUndefinedBetweenPositivesGivesTwoUndefinedResults) {
    // Vb 0 1 2 2 3 4 5: E'[2] is undefined, so E''[1] and E''[2] are.
    arr_vb.flush();
    for (auto p : {std::pair<double, double>{0, 0}, {1, 1}, {2, 4}, {2, 5}, {3, 9}, {4, 16}, {5, 25}})
        arr_vb.append(ext_float_pair(p.first, p.second));
    recalc_arrays();
    ASSERT_EQ(5, arr_d2e.size());
    EXPECT_GT(arr_d2e[0]->value, 0.0);
    EXPECT_TRUE(arr_d2e[1]->undefined);
    EXPECT_TRUE(arr_d2e[2]->undefined);
    ASSERT_EQ(2, arr_res.size());
    EXPECT_TRUE(arr_res[0]->key.undefined);
    EXPECT_TRUE(arr_res[1]->key.undefined);
    EXPECT_EQ(1.0, arr_res[0]->data.x1.value);
    EXPECT_EQ(2.0, arr_res[1]->data.x1.value);

    // The same run between falling values gives none.
    arr_vb.flush();
    for (auto p : {std::pair<double, double>{0, 0}, {1, -1}, {2, -4}, {2, -5}, {3, -9}, {4, -16}, {5, -25}})
        arr_vb.append(ext_float_pair(p.first, p.second));
    recalc_arrays();
    EXPECT_EQ(0, arr_res.size());
}

