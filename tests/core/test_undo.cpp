#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/document.h"

namespace {

using Points = std::vector<std::pair<double, double>>;

ext_float_pair P(double vb, double e) { return ext_float_pair(ext_float(vb), ext_float(e)); }

Points State(const Document& d) {
    Points out;
    for (int i = 0; i < d.points.size(); ++i) out.emplace_back(d.points.items[i].vb.value, d.points.items[i].e.value);
    return out;
}

// Every kind of change, then all of them taken back and done again: the points, the
// description and the file name after each step, as worked out by hand.
TEST(UndoHistory, EveryKindOfChangeGoesBackAndForth) {
    Document d;
    d.file_name = "a.tid";
    d.name_automatic = false;
    d.description = "; vzorek\n";
    struct Expect {
        Points points;
        std::string name;
    };
    std::vector<Expect> after;
    auto step = [&]() { after.push_back({State(d), d.file_name}); };
    step();
    for (auto [vb, e, at] : {std::tuple{2, 20, 0}, {1, 10, 0}, {3, 30, 2}, {2, 25, 1}}) {  // Vb 2 again: replaced
        EXPECT_EQ(d.Put(P(vb, e)), at) << vb;
        step();
    }
    EXPECT_EQ(d.Change(0, P(4, 40)), 2);
    step();  // edited to a new volume
    EXPECT_EQ(d.Change(0, P(3, 33)), 0);
    step();  // onto the volume of another point
    EXPECT_EQ(State(d), (Points{{3, 33}, {4, 40}}));
    for (auto [vb, e, at] : {std::tuple{5, 50, 2}, {6, 60, 3}}) {
        EXPECT_EQ(d.Put(P(vb, e)), at) << vb;
        step();
    }
    EXPECT_TRUE(d.Remove(std::vector<int>{0, 2}));
    step();
    EXPECT_EQ(State(d), (Points{{4, 40}, {6, 60}}));
    dyn_array_direct<ext_float_pair> imported(10, 10, nullptr);
    imported.append(P(0.5, 1));
    std::string no_description;
    d.Replace(imported, no_description);
    d.file_name = "Bez jména 2.tid", d.name_automatic = true;
    step();
    EXPECT_FALSE(d.Remove(std::vector<int>{1}));
    EXPECT_EQ(d.history.size(), 10u);
    // Back: each undo gives the state before its step and selects the first point it brought back.
    const int firsts[] = {0, 0, 2, 1, 0, 0, 2, 3, 0, 0};
    for (size_t k = after.size() - 1; k > 0; --k) {
        EXPECT_EQ(d.Undo(), firsts[k - 1]) << k;
        EXPECT_EQ(State(d), after[k - 1].points) << k;
        EXPECT_EQ(d.file_name, after[k - 1].name) << k;
    }
    EXPECT_EQ(d.description, "; vzorek\n");
    EXPECT_EQ(d.Undo(), -1);
    for (size_t k = 1; k < after.size(); ++k) {
        EXPECT_GE(d.Redo(), 0) << k;
        EXPECT_EQ(State(d), after[k].points) << k;
        EXPECT_EQ(d.file_name, after[k].name) << k;
    }
    EXPECT_EQ(d.description, "");
    EXPECT_EQ(d.Redo(), -1);
}

TEST(UndoHistory, BackToTheSavedStateIsUnchanged) {
    Document d;
    d.Put(P(1, 10));
    d.MarkSaved();
    d.Put(P(2, 20));
    EXPECT_TRUE(d.changed);
    d.Undo();
    EXPECT_FALSE(d.changed);
    d.Undo();
    EXPECT_TRUE(d.changed);  // before the saved state
    d.Redo();
    EXPECT_FALSE(d.changed);
    d.Undo();
    d.Put(P(3, 30));  // the saved state can no longer be reached
    d.Undo(), d.Redo(), d.Undo();
    EXPECT_TRUE(d.changed);
    d.MarkSaved(true);
    EXPECT_FALSE(d.history.CanUndo());
}

TEST(UndoHistory, KeepsTheLastHundredSteps) {
    Document d;
    for (int i = 0; i < 105; ++i) d.Put(P(i, i));
    int undone = 0;
    while (d.Undo() >= 0) ++undone;
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(d.points.size(), 5);
    d.MarkSaved();
    for (int i = 0; i < 101; ++i) d.Put(P(200 + i, 0));
    while (d.Undo() >= 0) {
    }
    EXPECT_TRUE(d.changed);  // the saved state fell out of the history
}

// A delete at 100,000 points keeps the one point it took out, not a copy of the document.
TEST(UndoHistory, AStepKeepsOnlyWhatChanged) {
    Document d;
    for (int i = 0; i < 100000; ++i) d.points.append(P(i * 0.01, i));
    ASSERT_TRUE(d.Remove(std::vector<int>{500, 99999}));
    EXPECT_EQ(d.Undo(), 500);
    EXPECT_EQ(d.points.size(), 100000);
    EXPECT_EQ(d.points.items[99999].e.value, 99999);
    d.Redo();
    EXPECT_EQ(d.points.size(), 99998);
    EXPECT_EQ(d.points.items[500].e.value, 501);
    d.Undo();
    ASSERT_TRUE(d.Remove(70000));
    EXPECT_EQ(d.history.ToUndo().removed.size() + d.history.ToUndo().added.size(), 1u);
}

}  // namespace
