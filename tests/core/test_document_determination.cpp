#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "core/determination_text.h"
#include "core/document.h"
#include "core/file_io.h"
#include "tests/support/file_bytes.h"

namespace {

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

}  // namespace

// The document keeps the determination out of its description while open and writes it back
// after the description; a file without it is written as before.
TEST(DocumentDetermination, ReadAndSaveKeepTheFileAsItWas) {
    const std::string path = ::testing::TempDir() + "doc_det.tid", again = path + "2";
    const std::string points = "0.5 101.3\n1 150\n1.5 300\n";
    const std::string lines =
        "# Stanovení.druh = obsah analytu\n# Stanovení.c = 0,1 mol/l\n"
        "# Stanovení.M = 35,453 g/mol\n# Stanovení.vzorek = 10 ml\n";
    for (const std::string& head : {std::string("# Voda z vrtu.\n"), "# Voda z vrtu.\n" + lines}) {
        Write(path, head + points);
        Document doc;
        ASSERT_TRUE(doc.Read(path.c_str()));
        EXPECT_EQ(doc.points.size(), 3);
        EXPECT_EQ(doc.description, "# Voda z vrtu.\n");
        EXPECT_EQ(doc.determination.has_value(), head.size() > 20);
        ASSERT_TRUE(doc.Save(again.c_str()));
        Document back;
        ASSERT_TRUE(back.Read(again.c_str()));
        EXPECT_EQ(back.determination, doc.determination);
        EXPECT_EQ(back.points.size(), 3);
        if (!doc.determination) {  // as the data file's writer alone wrote it before
            ASSERT_TRUE(internal_save(path.c_str(), doc.points, doc.description));
            EXPECT_EQ(FileBytes(again), FileBytes(path));
        }
    }
    std::remove(path.c_str());
    std::remove(again.c_str());
}

// A pH document keeps its quantity line; a set value chosen as the equivalence point reads the
// curve: 200 lies between (1; 150) and (1,5; 300), at 1 + 0,5 · 50/150 ml; 400 is never reached.
TEST(DocumentDetermination, QuantityAndSetValueEndPoint) {
    const std::string path = ::testing::TempDir() + "doc_ph.tid", again = path + "2";
    Write(path,
          "# Vzorek.\n# Veličina = pH\n# Stanovení.c = 0,1 mol/l\n# Stanovení.M = 1 g/mol\n"
          "# Stanovení.vzorek = 10 ml\n# Stanovení.nastavené hodnoty = 200; 400\n"
          "# Stanovení.bod ekvivalence = pH 200\n0.5 101.3\n1 150\n1.5 300\n");
    Document doc;
    ASSERT_TRUE(doc.Read(path.c_str()));
    EXPECT_EQ(doc.quantity, Quantity::ph);
    EXPECT_EQ(doc.description, "# Vzorek.\n");
    const std::vector<CurveReading> reached = doc.SetValueEndPoints();
    ASSERT_EQ(reached.size(), 2u);
    EXPECT_TRUE(reached[0].found && !reached[1].found);
    EXPECT_DOUBLE_EQ(reached[0].value, 1 + 0.5 * 50 / 150);
    // n = 0,1 · V/1000 mol in 10 ml, M = 1 g/mol: 10 · V mg/l.
    EXPECT_DOUBLE_EQ(doc.Result().value, 10 * (1 + 0.5 * 50 / 150));
    ASSERT_TRUE(doc.Save(again.c_str()));
    EXPECT_NE(FileBytes(again).find("# Vzorek.\r\n# Veličina = pH\r\n# Stanovení."), std::string::npos)
        << FileBytes(again);
    EXPECT_NE(FileBytes(again).find("bod ekvivalence = pH 200\r\n"), std::string::npos);
    doc.determination->point.set_value = 400;
    EXPECT_EQ(doc.Result().problem, ResultProblem::not_reached);
    EXPECT_EQ(ProblemText(*doc.determination, doc.Result()), "křivka nedosáhne 400 mV");
    std::remove(path.c_str());
    std::remove(again.c_str());
}

// Hand-worked: V = 10,05 ml, blank 0,05 ml → 10,00 ml; n = 1 · 0,1 · 1 · 10/1000 = 0,001 mol;
// 10 ml sample → 0,1 mol/l → ρ = 0,1 · 35,453 · 1000 = 3545,3 mg/l. Titer: 0,2 g of a standard of
// M = 204,22 → 9,7934e-4 mol; t = 9,7934e-4 / (1 · 0,1 · 10/1000) = 0,97934.
TEST(DocumentDetermination, TextsOfTheResultAndTheCalculation) {
    Determination d;
    d.analyte = "Cl-", d.concentration = 0.1, d.molar_mass = 35.453, d.blank = 0.05, d.sample = 10;
    const double volumes[] = {10.05};
    DeterminationResult r = EvaluateDetermination(d, volumes, 1);
    EXPECT_EQ(ResultValueText(d, r, true), "3545,30 mg/l");
    EXPECT_EQ(CalculationText(d, r, true),
              "V = 10,05 ml (bod ekvivalence 1.)\nV − V(sl) = 10,05 − 0,05 = 10 ml\n"
              "n = z · c · t · (V − V(sl))/1000 = 1 · 0,1 · 1 · 10/1000 = 0,001 mol\n"
              "ρ = 1000 · n · M / (V(vz)/1000) = 1000 · 0,001 · 35,453 / (10/1000) = 3545,30 mg/l\n");
    d.kind = DeterminationKind::titer, d.sample_kind = SampleKind::mass, d.sample = 0.2, d.molar_mass = 204.22;
    d.titrant = "NaOH";
    r = EvaluateDetermination(d, volumes, 1);
    EXPECT_EQ(ResultName(d) + ": " + ResultValueText(d, r, false), "titr NaOH: 0.9793");
    d.point.point = 2;
    r = EvaluateDetermination(d, volumes, 1);
    EXPECT_EQ(ResultValueText(d, r, true), "—");
    EXPECT_EQ(ProblemText(d, r), "chybí bod ekvivalence 2.");
    // A pipetted standard: 10 ml of 0,05 mol/l is 0,0005 mol; t = 0,0005 / (1 · 0,1 · 10/1000) = 0,5.
    d.sample_kind = SampleKind::volume, d.sample = 10, d.standard_concentration = 0.05, d.point.point = 1;
    r = EvaluateDetermination(d, volumes, 1);
    EXPECT_NE(CalculationText(d, r, true)
                  .find("n(std) = c(std) · V(std)/1000 = 0,05 · 10/1000 = 0,0005 mol\n"
                        "t = n(std) / (z · c · (V − V(sl))/1000) = 0,0005 / (1 · 0,1 · 10/1000) = 0,5000\n"),
              std::string::npos);
    // The settings file's one line: a tab in a name would split it, so it becomes a blank.
    d.titrant = "Ag\tNO3";
    Determination back;
    ASSERT_TRUE(ReadDeterminationOneLine(DeterminationOneLine(d), back));
    EXPECT_EQ(back.titrant, "Ag NO3");
    EXPECT_EQ(back.standard_concentration, 0.05);
    d.blank = 11;
    r = EvaluateDetermination(d, volumes, 1);
    EXPECT_EQ(ProblemText(d, r), "V − V(sl) je záporné");
}
