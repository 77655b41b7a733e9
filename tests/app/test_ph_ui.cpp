// A document in pH: the determination dialog switches the quantity, and every label follows;
// the set values get their rows in the result list, and Details the half-neutralisation pKa.
#include <cstdio>
#include "app/graph_window.h"
#include "app/lists.h"
#include "export/csv_export.h"
#include "resources/resource.h"
#include "settings/config.h"
#include "tests/app/app_test.h"
#include "tests/support/testui.h"
namespace apptest {
namespace {
struct PhDocument : AppTest {
    void SetUp() override { AppTest::SetUp(), Forget(); }
    void TearDown() override { Forget(), AppTest::TearDown(); }
    static void Forget() { document.determination.reset(), default_determination[0] = '\0'; }
    // The determination dialog with its numbers filled, the quantity and the set values given.
    static void Determine(bool ph, const char* set_values) {
        testui::ModalScript script;
        script.call([=](HWND dlg) {
            for (const auto& [id, text] : {std::pair<int, std::string>{IDC_DET_C, "0,1"},
                                           {IDC_DET_M, "1"},
                                           {IDC_DET_SAMPLE, "10"},
                                           {IDC_DET_SET_VALUES, set_values}})
                testui::SetText(dlg, id, text);
            SendDlgItemMessageA(dlg, ph ? IDC_DET_PH : IDC_DET_MV, BM_CLICK, 0, 0);
            testui::Press(dlg, IDOK);
        });
        SendMessageA(main_window.dialog, WM_COMMAND, IDM_DETERMINATION, 0);
    }
    // The pictures of the headers of E, E' and E''.
    static std::string Pictures() {
        std::string pictures;
        for (int column = 2; column <= 4; ++column) {
            LVCOLUMNA item = {};
            item.mask = LVCF_IMAGE;
            ListView_GetColumn(main_window.list, column, &item);
            pictures += std::to_string(item.iImage);
        }
        return pictures;
    }
    // Whether the point dialog's E field shows the picture E/pH.
    static bool PhPicture() {
        bool ph = false;
        testui::ModalScript script;
        script.call([&](HWND dlg) {
            const LRESULT shown = SendDlgItemMessageA(dlg, IDC_E_ICON, STM_GETICON, 0, 0);
            ph = shown == reinterpret_cast<LRESULT>(LoadIconA(main_window.instance, MAKEINTRESOURCEA(IDI_E_PH)));
            testui::Press(dlg, IDCANCEL);
        });
        SendMessageA(main_window.dialog, WM_COMMAND, IDM_ADD, 0);
        return ph;
    }
    static std::string GraphTitles() {
        graph_view = 0;
        OnCommand(IDM_GRAPH, 0);
        if (!og) return "no graph";
        std::string titles = std::string(og->x_title) + " " + og->y_title;
        for (int i = document.derived.results.size(); i < og->marks.size(); ++i)  // the set values' marks
            titles += " " + std::to_string(og->marks[i]->value);
        SendMessageA(og->window->GetWindow(), WM_CHAR, '3', 0);
        titles += std::string(" ") + og->y_title;
        return SendMessageA(og->window->GetWindow(), WM_CLOSE, 0, 0), titles;
    }
};
// A pH curve by hand: pH 7 lies on the point at 5 ml, pH 3,5 halfway between 3 ml (3,0) and
// 4 ml (4,0), pH 13 beyond the last point (12,0).
// clang-format off
const Points kCurve = {{0, 2.0}, {1, 2.2}, {2, 2.5}, {3, 3.0}, {4, 4.0}, {5, 7.0},
                       {6, 10.0}, {7, 11.0}, {8, 11.5}, {9, 11.8}, {10, 12.0}};
// clang-format on
}  // namespace

TEST_F(PhDocument, QuantitySwitchRenamesEveryLabelAndSetValuesGetRows) {
    Load(kCurve);
    EXPECT_EQ(Pictures(), "234");
    EXPECT_NE(SendMessageA(ListView_GetHeader(main_window.list), HDM_GETIMAGELIST, 0, 0), 0);  // the pictures are shown
    Determine(true, "3,5; 7; 13");
    EXPECT_TRUE(document.quantity == Quantity::ph && document.changed);
    EXPECT_EQ(Pictures(), "567");  // the pictures of E/pH, E'/pH.ml-1, E''/pH.ml-2
    EXPECT_EQ(GraphTitles(), "Vb/ml E/pH 3.500000 5.000000 E''/pH.ml-2");
    EXPECT_TRUE(PhPicture());
    const int inflections = document.derived.results.size();
    ASSERT_EQ(Rows(main_window.results), inflections + 3);
    const char* rows[] = {"pH 3,5: 3,5000", "pH 7: 5,0000", "pH 13: nedosaženo"};
    for (int k = 0; k < 3; ++k) EXPECT_EQ(Cell(main_window.results, inflections + k, 0), rows[k]);
    // pH 7's pKa: midway after pH 3,5, at 4,25 ml: 4,0 + 0,25 · 3,0 = 4,75.
    ListView_SetItemState(main_window.results, inflections + 1, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    std::string pka, label;
    bool shown = false;
    testui::ModalScript details;
    details.call([&](HWND dlg) {
        pka = testui::ItemText(dlg, IDC_DETAIL_PKA), label = testui::ItemText(dlg, IDC_DETAIL_STEEPNESS);
        label += " " + testui::ItemText(dlg, IDC_DETAIL_X1);  // no bracketing points: undefined
        shown = GetWindowLongA(GetDlgItem(dlg, IDC_DETAIL_PKA), GWL_STYLE) & WS_VISIBLE;
        testui::Press(dlg, IDOK);
    });
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_DETAILS, 0);
    EXPECT_EQ(std::tuple(pka, label, shown), std::tuple("4,75", "pH 7 *", true));
    ScratchDir dir;
    ASSERT_TRUE(internal_export_csv(document, dir.path("ph.csv").c_str()));
    const std::string csv = ReadFile(dir.path("ph.csv"));
    EXPECT_EQ(csv.substr(0, csv.find('\r')), "\xEF\xBB\xBFn;Vb/ml;E/pH;E'/pH.ml-1;E''/pH.ml-2");
    EXPECT_NE(csv.find("\r\n3,5;pH 3,5\r\n5;pH 7\r\n;pH 13;nedosaženo\r\n"), std::string::npos) << csv;
    // Back in mV: the labels are the ones they always were.
    Determine(false, "");
    EXPECT_EQ(document.quantity, Quantity::mv);
    EXPECT_EQ(Pictures(), "234");
    EXPECT_EQ(GraphTitles(), "Vb/ml E/mV E''/mV.ml-2");
    EXPECT_FALSE(PhPicture());
    EXPECT_EQ(Rows(main_window.results), inflections);
}
}  // namespace apptest
