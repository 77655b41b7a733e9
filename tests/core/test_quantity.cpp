// A document's quantity where it travels: replaced and undone with the points, read from an
// import's header, named in the texts of a set value; the pKa of the result rows.
#include <gtest/gtest.h>

#include "core/determination_text.h"
#include "core/document.h"
#include "core/import.h"
#include "core/ph_results.h"

#include <string>
#include <tuple>

namespace {

void Fill(dyn_array_direct<ext_float_pair>& points, std::initializer_list<std::pair<double, double>> list) {
    for (const auto& p : list) points.append(ext_float_pair(ext_float(p.first), ext_float(p.second)));
}

TEST(Quantity, ReplaceAndUndoKeepItWithThePoints) {
    Document d;
    dyn_array_direct<ext_float_pair> ph_points(10, 10, nullptr), mv_points(10, 10, nullptr);
    Fill(ph_points, {{0, 3}, {1, 5}});
    std::string ph = "; titrace\n# Veličina = pH\n";
    d.Replace(ph_points, ph);
    EXPECT_EQ(d.quantity, Quantity::ph);
    EXPECT_EQ(d.description, "; titrace\n");
    Fill(mv_points, {{0, 100}});
    std::string none;
    d.Replace(mv_points, none);  // an import without a pH column
    EXPECT_EQ(d.quantity, Quantity::mv);
    ASSERT_EQ(d.Undo(), 0);
    EXPECT_EQ(d.quantity, Quantity::ph);
    EXPECT_EQ(d.description, "; titrace\n");
    ASSERT_GE(d.Redo(), 0);
    EXPECT_EQ(d.quantity, Quantity::mv);
}

TEST(Quantity, ImportTakesItFromThePotentialColumnsHeader) {
    const struct {
        const char* text;
        Quantity quantity;
    } cases[] = {
        {"V\tpH\n0\t3.1\n1\t4.2\n", Quantity::ph},
        {"Objem [ml];E/pH\n0;3,1\n1;4,2\n", Quantity::ph},
        {"n\tml\tPH\n1\t0\t3.1\n2\t1\t4.2\n", Quantity::ph},
        {"V\tE/mV\n0\t310\n1\t420\n", Quantity::mv},
        {"0\t3.1\n1\t4.2\n", Quantity::mv},
        {"V\tE\tpH\n0\t310\t3.1\n1\t420\t4.2\n", Quantity::mv},  // the potential is the first E column
    };
    for (const auto& c : cases) {
        const std::string text = c.text;
        const ImportTable table = import_scan(text.data(), text.size());
        EXPECT_EQ(import_quantity(table), c.quantity) << c.text;
    }
}

TEST(Quantity, NamesTheSetValueInTheProblemText) {
    Determination d;
    d.point.kind = EndPointKind::set_value;
    d.point.set_value = 8.3;
    DeterminationResult r;
    r.problem = ResultProblem::not_reached;
    EXPECT_EQ(ProblemText(d, r, Quantity::ph), "křivka nedosáhne pH 8,3");
    d.point.set_value = -250;
    EXPECT_EQ(ProblemText(d, r), "křivka nedosáhne -250 mV");
    EXPECT_EQ(DeterminationRows(d, r, false, Quantity::ph)[3].value, "pH -250");
}

// A straight pH line 2 + 0.5 V over 0..20 ml: the pH at any volume is known by hand.
TEST(Quantity, PkaOfTheResultRows) {
    Document d;
    dyn_array_direct<ext_float_pair> points(10, 10, nullptr);
    Fill(points, {{0, 2}, {4, 4}, {8, 6}, {12, 8}, {16, 10}, {20, 12}});
    std::string description = "# Veličina = pH\n";
    d.Replace(points, description);
    d.determination = Determination();
    d.determination->set_values = {5.0, 9.0, 13.0};  // at 6 and 14 ml; 13 never
    const int rows = d.derived.results.size();
    const HalfNeutralisation first = ResultRowPka(d, rows), second = ResultRowPka(d, rows + 1);
    EXPECT_EQ(std::tuple(first.status, first.volume, first.pka), std::tuple(PKA_OK, 3.0, 3.5));
    EXPECT_EQ(std::pair(second.volume, PkaText(second, true)),
              std::pair(10.0, std::string("7,00")));  // midway 6..14 ml
    EXPECT_EQ(PkaText(ResultRowPka(d, rows + 2), true), "nelze: BE není za předchozím");
    EXPECT_EQ(PkaText(ResultRowPka(d, rows + 3), true), "nelze: BE není za předchozím");
}

}  // namespace
