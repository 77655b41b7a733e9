// The determination dialog, its result in the status bar and Details, and the series window.
#include <cmath>
#include <cstring>
#include <fstream>
#include <shlobj.h>
#include "app/determination.h"
#include "app/series.h"
#include "resources/resource.h"
#include "settings/config.h"
#include "tests/app/app_test.h"
#include "tests/support/testui.h"
namespace apptest {
namespace {
struct Determinations : AppTest {
    void SetUp() override { AppTest::SetUp(), Forget(); }
    void TearDown() override { Forget(), AppTest::TearDown(); }  // no later test's new document gets one
    static void Forget() {
        document.quantity = Quantity::mv, document.determination.reset(),
        default_determination[0] = default_titer_date[0] = '\0', series_entries.clear();
    }
};
std::string Status() {
    char text[512] = "";
    SendMessageA(main_window.status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}
// Symmetric about 5 ml between the points 4,5 and 5,5: E'' changes sign at exactly 5 ml.
Points Symmetric() {
    Points points;
    for (double v = 0.5; v < 10; v += 1) points.emplace_back(v, 300 + 100 * std::atan(3 * (v - 5)));
    return points;
}
void Drop(HWND dlg, const std::vector<std::string>& paths) {  // as Explorer drops files
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& p : paths) size += p.size() + 1;
    HGLOBAL block = GlobalAlloc(GHND, size);
    DROPFILES* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    char* at = reinterpret_cast<char*>(drop + 1);
    for (const std::string& p : paths) at = std::strcpy(at, p.c_str()) + p.size() + 1;
    GlobalUnlock(block);
    SendMessageA(dlg, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}
std::string Replaced(std::string text, const std::vector<std::pair<std::string, std::string>>& changes) {
    for (const auto& c : changes) text.replace(text.find(c.first), c.first.size(), c.second);
    return text;
}
}  // namespace

TEST_F(Determinations, DialogRefusesEachBadFieldAndStornoChangesNothing) {
    Load(Symmetric());
    testui::ModalScript script;
    // clang-format off
    const std::vector<std::pair<int, std::string>> bad = {{IDC_DET_C, "0"}, {IDC_DET_TITER, "-1"}, {IDC_DET_M, "x"},
                                                           {IDC_DET_Z, "1/0"}, {IDC_DET_POINT, "0."}, {IDC_DET_BLANK, "-0,1"},
                                                           {IDC_DET_SAMPLE, ""}, {IDC_DET_DECIMALS, "11"}};
    // clang-format on
    script.call([&](HWND dlg) {
        for (const auto& field : {std::pair<int, std::string>{IDC_DET_C, "0,1"},
                                  {IDC_DET_M, "35,453"},
                                  {IDC_DET_SAMPLE, "10"},
                                  {IDC_DET_ANALYTE, "Cl-"}})
            testui::SetText(dlg, field.first, field.second);
        for (const auto& field : bad) {
            const std::string good = testui::ItemText(dlg, field.first);
            testui::SetText(dlg, field.first, field.second), testui::Press(dlg, IDOK);  // a message answers
            testui::SetText(dlg, field.first, good);
        }
        SendDlgItemMessageA(dlg, IDC_DET_MASS, BM_CLICK, 0, 0), testui::Press(dlg, IDOK);  // mg/l does not suit a mass
        testui::Press(dlg, IDCANCEL);
    });
    for (size_t k = 0; k <= bad.size(); ++k) script.press(IDOK);
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_DETERMINATION, 0);
    ASSERT_EQ(script.seen().size(), bad.size() + 2);
    const char* named[] = {"koncentrace titrantu c",
                           "titr t",
                           "molární hmotnost M",
                           "poměr z",
                           "bod ekvivalence",
                           "slepý pokus",
                           "vzorek",
                           "desetinná místa",
                           "Jednotka výsledku neodpovídá vzorku"};
    for (size_t k = 0; k <= bad.size(); ++k)
        EXPECT_NE(script.seen()[k + 1].text.find(named[k]), std::string::npos) << k;
    EXPECT_FALSE(document.determination || document.changed || *default_determination);
    EXPECT_EQ(Status(), "");
}

// 25 ml of 0,1 M strong acid by 0,1 M NaOH, the excess deciding the pH away from Ve = 25 ml: the
// Gran end point is 25 ml exactly, the result 0,1 · 25/25 mol/l · 36,46 g/mol = 3,646 g/l.
TEST_F(Determinations, GranEndPointIsTheResultAndShowsInDetails) {
    Points points;
    for (double v = 0; v <= 40; v += 0.5) {
        const double excess = 0.1 * (v - 25) / (25 + v);
        points.emplace_back(v, v == 25 ? 7 : v < 25 ? -std::log10(-excess) : 14 + std::log10(excess));
    }
    Load(points);
    Determination d;
    d.concentration = 0.1, d.molar_mass = 36.46, d.sample = 25, d.unit = ResultUnit::g_per_l, d.analyte = "HCl";
    d.point.kind = EndPointKind::gran;
    document.quantity = Quantity::ph, document.determination = d, StuffListView(main_window);
    EXPECT_EQ(Status().rfind("HCl: 3,65 g/l", 0), 0u) << Status();
    testui::ModalScript script;
    std::string calculation;
    script.call(
        [&](HWND dlg) { calculation = testui::ItemText(dlg, IDC_DETAIL_CALCULATION), testui::Press(dlg, IDOK); });
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_DETAILS, 0);
    EXPECT_NE(calculation.find("Granův bod ekvivalence: 25,0000 ± 0,0000 ml (za bodem ekvivalence"), std::string::npos)
        << calculation;
}

// n = 1 · 0,1 · 1 · (5 − 0)/1000 = 0,0005 mol in 10 ml: 0,05 mol/l · 35,453 g/mol = 1772,65 mg/l.
TEST_F(Determinations, ResultShowsInTheStatusBarAndDetailsAndBecomesTheDefault) {
    Load(Symmetric());
    document.determination = Determination(), document.determination->ratio = 0.123;
    testui::ModalScript script;
    script.call([](HWND dlg) {
        // with the decimal comma of the settings
        EXPECT_EQ(testui::ItemText(dlg, IDC_DET_Z), "0,123");
        // clang-format off
        for (const auto& field : {std::pair<int, std::string>{IDC_DET_C, "0,1"}, {IDC_DET_M, "35,453"}, {IDC_DET_SAMPLE, "10"},
                                  {IDC_DET_ANALYTE, "Cl-"}, {IDC_DET_TITRANT, "AgNO3"}, {IDC_DET_Z, "1"}})
            // clang-format on
            testui::SetText(dlg, field.first, field.second);
        testui::Press(dlg, IDOK);
    });
    std::string calculation;
    script.call(
        [&](HWND dlg) { calculation = testui::ItemText(dlg, IDC_DETAIL_CALCULATION), testui::Press(dlg, IDOK); });
    EXPECT_FALSE(Keys(main_window.list, {KeyDown('M', {VK_CONTROL})}));
    EXPECT_EQ(Status(), "Cl-: 1772,65 mg/l   (BE 1.: 5,0000 ml)");
    EXPECT_TRUE(document.changed);
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_DETAILS, 0);
    EXPECT_NE(calculation.find("n = z · c · t · (V − V(sl))/1000 = 1 · 0,1 · 1 · 5/1000 = 0,0005 mol\r\n"),
              std::string::npos)
        << calculation;
    // A second point the curve lacks, and a blank beyond the volume: no number, the reason.
    document.determination->point.point = 2;
    StuffListView(main_window);
    EXPECT_EQ(Status(), "Cl-: —   (chybí bod ekvivalence 2.)");
    document.determination->point.point = 1, document.determination->blank = 6;
    StuffListView(main_window);
    EXPECT_EQ(Status(), "Cl-: —   (V − V(sl) je záporné)");
    // A new document starts with the last determination used.
    document.changed = false;
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_NEW, 0);
    ASSERT_TRUE(document.determination.has_value());
    EXPECT_EQ(document.determination->analyte, "Cl-");
    EXPECT_EQ(document.determination->blank, 0.0);
    EXPECT_EQ(Status(), "Cl-: —   (žádný bod ekvivalence)");
    // Without a determination neither the document nor the next new one has one.
    testui::ModalScript none;
    none.press(IDC_DET_NONE);
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_DETERMINATION, 0);
    EXPECT_FALSE(document.determination || *default_determination);
    EXPECT_EQ(Status(), "");
}

// The default survives titrion2.ini (its lines joined by tabs) and leaves no key while unset.
TEST_F(Determinations, DefaultIsKeptInTheSettingsFileOnlyWhileSet) {
    Determination d;
    d.analyte = "Cl-", d.concentration = 0.1, d.molar_mass = 35.453, d.sample = 10, d.point = {2, 1};
    RememberDetermination(d);
    const std::string file = "det_test.ini", path = driver::ExeDir() + "\\" + file;
    SaveConfig(file.c_str(), config);
    EXPECT_NE(ReadFile(path).find("default_determination=# Stanovení.druh = obsah analytu\t# Stanovení.titrant =\t# "
                                  "Stanovení.c = 0,1 mol/l\t"),
              std::string::npos)
        << ReadFile(path);
    default_determination[0] = '\0';
    LoadConfig(file.c_str(), config);
    EXPECT_TRUE(DefaultDetermination() == d);
    default_determination[0] = '\0';
    SaveConfig(file.c_str(), config);
    EXPECT_EQ(ReadFile(path).find("default_determination"), std::string::npos);
    DeleteFileA(path.c_str());
}

// The four chloride replicates: 709,06 mg/l in the model; their equivalence volumes as the
// sample generator's own evaluation lists them, 7,9792, 10,0127, 10,0253 and 11,9814 ml, give
// 707,2, 710,0, 710,9 and 708,0 mg/l: mean 709,0 mg/l.
TEST_F(Determinations, SeriesAddsFilesFlagsAnOutlierAndExcludesIt) {
    ScratchDir dir;
    const std::string samples = driver::ExeDir() + "\\examples\\chloridy-agno3-";
    // 25 ml titrated as though it were 24 ml: 10,0127 · 0,05 · 35453/24 = 739,5 mg/l, Q = 28,6/32,3 = 0,89 > 0,710.
    std::ofstream(dir.path("odlehly.tid"), std::ios::binary)
        << Replaced(ReadFile(samples + "2.tid"), {{"vzorek = 25 ml", "vzorek = 24 ml"}});
    std::ofstream(dir.path("jiny.tid"), std::ios::binary)
        << Replaced(ReadFile(samples + "1.tid"), {{"jednotka = mg/l", "jednotka = g/l"}});
    testui::ModalScript script;
    std::vector<std::string> notes, stats;
    script.call([&](HWND dlg) {
        Drop(dlg, {samples + "1.tid", samples + "2.tid", samples + "3.tid", samples + "4.tid", dir.path("odlehly.tid"),
                   dir.path("jiny.tid"), dir.path("chybi.tid")});
        const HWND list = GetDlgItem(dlg, IDC_SERIES_LIST);
        for (int row = 0; row < Rows(list); ++row) notes.push_back(Cell(list, row, 4));
        stats.push_back(testui::ItemText(dlg, IDC_SERIES_STATS));
        ListView_SetCheckState(list, 4, FALSE);
        stats.push_back(testui::ItemText(dlg, IDC_SERIES_STATS));
        EXPECT_EQ(Cell(list, 0, 1) + "|" + Cell(list, 0, 3), "20 ml|707,2 mg/l");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDC_SERIES_USE_TITER)));
        RECT client, rc;  // the list spans the width with equal margins
        GetClientRect(dlg, &client), GetWindowRect(list, &rc), MapWindowPoints(nullptr, dlg, LPPOINT(&rc), 2);
        EXPECT_EQ(rc.left, client.right - rc.right);
        ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
        testui::Press(dlg, IDC_SERIES_REMOVE);  // the first row too
        EXPECT_EQ(Cell(list, 0, 0), "chloridy-agno3-2.tid");
        testui::Press(dlg, IDCANCEL);
    });
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_SERIES, 0);
    ASSERT_EQ(notes.size(), 7u);
    EXPECT_EQ(notes[0] + notes[1] + notes[2] + notes[3], "");
    EXPECT_NE(notes[4].find("odlehlá hodnota"), std::string::npos);
    EXPECT_NE(notes[5].find("nelze míchat"), std::string::npos);
    EXPECT_EQ(notes[6], "soubor nelze přečíst");
    ASSERT_EQ(stats.size(), 2u);
    EXPECT_EQ(stats[0].substr(0, 5), "n = 5");
    EXPECT_EQ(stats[1].rfind("n = 4    průměr = 709,0 mg/l", 0), 0u) << stats[1];
    EXPECT_EQ(series_entries.size(), 6u);
}

// A titer from 0,023315 g NaCl (M 58,44: 3,98956e-4 mol) on 7,979155 ml of 0,05 M AgNO3:
// t = 3,98956e-4 / (0,05 · 7,979155/1000) = 1,00000; with 0,2 % more salt 1,00200; mean 1,00100.
TEST_F(Determinations, TiterSeriesStoresItsMeanInTheDefaultDetermination) {
    ScratchDir dir;
    const std::string sample = ReadFile(driver::ExeDir() + "\\examples\\chloridy-agno3-1.tid");
    for (const char* mass : {"0,023315", "0,02336163"})
        std::ofstream(dir.path(std::string("titr") + mass + ".tid"), std::ios::binary)
            << Replaced(sample, {{"obsah analytu", "stanovení titru"},
                                 {"vzorek = 20 ml", "vzorek = " + std::string(mass) + " g"},
                                 {"35,453", "58,44"}});
    testui::ModalScript script;
    script
        .call([&](HWND dlg) {
            Drop(dlg, {dir.path("titr0,023315.tid"), dir.path("titr0,02336163.tid")});
            testui::Press(dlg, IDC_SERIES_USE_TITER);
            testui::Press(dlg, IDCANCEL);
        })
        .press(IDOK);
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_SERIES, 0);
    const std::optional<Determination> d = DefaultDetermination();
    ASSERT_TRUE(d.has_value());
    EXPECT_NEAR(d->titer, 1.0010, 0.0002);
    EXPECT_EQ(d->titrant, "AgNO3");
    EXPECT_EQ(d->kind, DeterminationKind::content);
    EXPECT_EQ(std::strlen(default_titer_date), 10u);
    ASSERT_EQ(script.seen().size(), 2u);
    EXPECT_NE(script.seen()[1].text.find("1,0010"), std::string::npos);
}
}  // namespace apptest
