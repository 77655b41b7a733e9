// The Gran options' ini form, and the Gran end point as a document's determination uses it.
#include <gtest/gtest.h>

#include <cmath>

#include "core/determination_text.h"
#include "core/document.h"
#include "core/gran.h"

namespace {

// 25 ml of 0.1 M strong acid by 0.1 M NaOH, Ve 25 ml, every 0.5 ml to 40 ml. Away from Ve the
// excess decides the pH: c (Ve − V) / (V0 + V) of H+ before, of OH− after; pH 7 at Ve.
void StrongAcidModel(Document& doc) {
    for (double v = 0; v <= 40; v += 0.5) {
        const double excess = 0.1 * (v - 25) / (25 + v);
        const double ph = v == 25 ? 7 : v < 25 ? -std::log10(-excess) : 14 + std::log10(excess);
        doc.Put(ext_float_pair(v, ph));
    }
    doc.quantity = Quantity::ph;
    doc.Evaluate(RECOGNIZE_STEEPEST, 10);
    Determination d;
    d.concentration = 0.1, d.molar_mass = 1, d.sample = 25, d.unit = ResultUnit::mmol_per_l;
    d.point.kind = EndPointKind::gran;
    doc.determination = d;
}

}  // namespace

TEST(GranOptions, IniFormReadsBackAndRefusesWhatItNeverWrites) {
    GranOptions own;
    own.function = GRAN_BEFORE_WEAK, own.from = 5, own.to = 22.5, own.celsius = 20;
    GranOptions range_only;
    range_only.to = 30.25;
    // clang-format off
    const struct { GranOptions options; const char* text; } rows[] = {
        {GranOptions(), ""}, {own, "before-weak;5;22.5;20"}, {range_only, "after;;30.25;"}};
    // clang-format on
    for (const auto& row : rows) {
        EXPECT_EQ(row.text, GranOptionsText(row.options));
        GranOptions read = own;
        ASSERT_TRUE(ParseGranOptions(row.text, read)) << row.text;
        EXPECT_TRUE(read == row.options) << row.text;
    }
    EXPECT_DOUBLE_EQ(14.1669, own.pkw());  // 20 °C from the table
    EXPECT_DOUBLE_EQ(14.0, range_only.pkw());
    for (const char* bad : {"after", "after;;;;", "before;;;", "after;x;;", "after;;inf;", "after;1;2;3 "}) {
        GranOptions kept = own;
        EXPECT_FALSE(ParseGranOptions(bad, kept)) << bad;
        EXPECT_TRUE(kept == own) << bad;
    }
}

// The model's excess lies on the Gran line exactly, so the end point is Ve = 25,00 ml and the
// acid's content c Ve / V0 = 100 mmol/l; whatever the Gran plot cannot do is said.
TEST(GranDetermination, ModelCurveGivesItsEquivalenceAndSaysWhatIsMissing) {
    Document doc;
    StrongAcidModel(doc);
    const DeterminationResult result = doc.Result();
    ASSERT_TRUE(result.ok()) << ProblemText(*doc.determination, result);
    EXPECT_NEAR(25.0, result.volume, 1e-9);
    EXPECT_NEAR(100.0, result.value, 1e-7);
    const GranResult gran = EvaluateGran(doc, GranOptions(), 25);
    EXPECT_NEAR(0.0, gran.line.u, 1e-9);
    EXPECT_NEAR(26.25, gran.range.from, 0.05);  // 1.05 × the inflection near 25 ml
    EXPECT_NEAR(37.5, gran.range.to, 0.075);
    GranOptions before;
    before.function = GRAN_BEFORE_STRONG, before.from = 5, before.to = 20;
    EXPECT_NEAR(25.0, EvaluateGran(doc, before, 25).line.end_point, 1e-9);

    before.from = 19.9;  // only the point at 20 ml: no line
    EXPECT_EQ(ResultProblem::gran_no_line, GranDeterminationResult(doc, *doc.determination, before).problem);
    doc.determination->sample_kind = SampleKind::mass, doc.determination->unit = ResultUnit::mmol_per_g;
    EXPECT_EQ(ResultProblem::gran_no_v0, doc.Result().problem);
    EXPECT_EQ("Granův graf potřebuje počáteční objem V0", ProblemText(*doc.determination, doc.Result()));
    doc.determination->initial_volume = 25;
    EXPECT_NEAR(25.0, doc.Result().volume, 1e-9);
    doc.quantity = Quantity::mv;
    EXPECT_EQ(ResultProblem::gran_not_ph, doc.Result().problem);
    Document empty;
    empty.quantity = Quantity::ph;
    EXPECT_EQ(GranProblem::no_equivalence, EvaluateGran(empty, GranOptions(), 25).problem);
}

// The acetic acid sample with every inflection recognised: reading noise makes many, and the
// range still goes around the steepest, the model's Ve of 25,00 ml (within 0,5 %).
TEST(GranDetermination, NoisySampleRangeFollowsTheSteepestInflection) {
    Document doc;
    ASSERT_TRUE(doc.Read(TITRION_EXAMPLES_DIR "/octova-naoh.tid"));
    doc.quantity = Quantity::ph;
    doc.Evaluate(RECOGNIZE_ALL, 0);
    ASSERT_GT(doc.derived.results.size(), 1);
    const GranResult gran = EvaluateGran(doc, GranOptions(), 25);
    ASSERT_TRUE(gran.ok());
    EXPECT_NEAR(25.0, gran.line.end_point, 0.125);
    EXPECT_NEAR(25.0, gran.v_ep, 0.125);
}
