// The application's graph window inside the test process: what it plots in each view, how it refits,
// its options dialog, and that every way of closing it gives the main window back.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include "app/graph_window.h"
#include "app/lists.h"
#include "controls/ClrSel.h"
#include "core/calc.h"
#include "core/file_io.h"
#include "core/gran.h"
#include "settings/config.h"
#include "tests/app/app_test.h"
#include "tests/support/testui.h"
#include "tests/vexplot/vexplot_test_util.h"
namespace {
const COLORREF kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
const apptest::Points kCurve = {{0, 0}, {1, 1}, {2, 3}, {3, 4}, {4, 4}, {5, 5}};  // E'' 1, -1, -1, 1 at 1 .. 4
struct GraphWindow : apptest::AppTest {
    void SetUp() override {
        AppTest::SetUp(), graph_bkg = kBlack, graph_axes = kRed, graph_line = kBlue, graph_labels = kGreen;
        graph_show_axes = graph_show_labels = true, graph_show_scale = false, graph_view = 2;
        main_window.document.quantity = Quantity::mv, main_window.document.determination.reset(),
        gran_options = GranOptions();
    }
    void Open() {
        ASSERT_NE((OnCommand(IDM_GRAPH, 0), og), nullptr);
        EXPECT_FALSE((graph = og->window->GetWindow(), IsWindowEnabled(main_window.dialog)));
    }
    int Count(COLORREF c, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) {
        return vt::CountPixels(og->window, x0, y0, x1 < 0 ? og->window->GetMaxX() + 1 : x1,
                               y1 < 0 ? og->window->GetMaxY() + 1 : y1, c);
    }
    // The options dialog from the graph window's menu, answered by `answer`.
    void Configure(testui::Action answer) {
        testui::ModalScript ui;
        SendMessageA(graph, WM_COMMAND, IDM_GRAPH_OPTIONS, (ui.call(std::move(answer)), 0));
        ASSERT_EQ(ui.seen().size(), 1u);
        EXPECT_EQ(ui.seen()[0].caption, "Možnosti grafu...");
    }
    HWND graph = nullptr;
};
TEST_F(GraphWindow, OpensOnceWithTheInnerPointsLabelledByVolume) {
    Load({{0, 0}, {1.25, 1}, {2, 4}}), Open();
    RECT client;
    MINMAXINFO info = {};
    SendMessageA(graph, WM_GETMINMAXINFO, 0, (GetClientRect(graph, &client), reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(std::tuple(testui::Text(graph), client.right, client.bottom), std::tuple("Titrionika", 320, 240));
    EXPECT_EQ(std::pair(info.ptMinTrackSize.x, info.ptMinTrackSize.y), std::pair(320L, 200L));
    EXPECT_EQ(GetWindowLongA(graph, GWL_STYLE) & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME),
              WS_MAXIMIZEBOX | WS_THICKFRAME);
    EXPECT_EQ(std::tuple(GetWindow(graph, GW_OWNER), apptest::MenuHas(GetMenu(graph), IDM_GRAPH_OPTIONS)),
              std::tuple(main_window.dialog, true));
    // One point, E'' of the middle one at its volume: the label "1,2500" in the centre.
    ASSERT_EQ(og->points.size(), 1);
    EXPECT_EQ(std::tuple(og->points[0]->y, og->points[0]->color), std::tuple(arr_d2e[0]->value, 4));
    VexGraphWindow reference(GetModuleHandleA(nullptr), nullptr, nullptr, WS_POPUP, 0, "ref", 0, 0, 320, 240, 0,
                             nullptr);
    reference.Clear(kBlack), reference.DrawLabel(160, 119, HFONT(GetStockObject(ANSI_VAR_FONT)), "1,2500", kGreen);
    for (int i = 0; i < 320 * 240; ++i)
        ASSERT_EQ(og->window->GetPixel(i % 320, i / 320), reference.GetPixel(i % 320, i / 320)) << i;
    OrtogonalGraph* first = og;
    EXPECT_EQ((OnCommand(IDM_GRAPH, 0), og), first);  // brings the open one forward
}
TEST_F(GraphWindow, ResizingRefitsAndEveryWayOfClosingGivesTheMainWindowBack) {
    Load(kCurve);
    const std::function<void()> ways[] = {
        [this] {
            RECT r;
            GetWindowRect(graph, &r);
            SetWindowPos(graph, nullptr, 0, 0, r.right - r.left + 180, r.bottom - r.top + 160, SWP_NOMOVE);
            EXPECT_EQ(std::pair(og->window->GetMaxX(), og->window->GetMaxY()), std::pair(499, 399));
            EXPECT_DOUBLE_EQ(og->zoom_x * og->zoom_y, 500 / 3.0 * 400 / 2.0);  // volumes 1 .. 4, E'' -1 .. 1
            ShowWindow(graph, SW_MAXIMIZE);
            EXPECT_DOUBLE_EQ(og->zoom_x, (og->window->GetMaxX() + 1) / 3.0);
            EXPECT_EQ(og->window->GetPixel(og->window->GetMaxX(), og->RealToScreenY(0.0)), kRed);
            SendMessageA(graph, WM_CLOSE, 0, 0);
        },
        [this] { SendMessageA(graph, WM_COMMAND, IDM_EXIT, 0), RunQueue(); },  // "&Zavřít"
        [this] { Keys(graph, {apptest::KeyDown(VK_F4, {VK_MENU})}); },         // through the message loop
        [] { DestroyWindow(main_window.dialog); },                             // takes the graph with it
    };
    for (const auto& close : ways)
        EXPECT_TRUE((Open(), close(),
                     og == nullptr && !IsWindow(graph) &&
                         (IsWindowEnabled(main_window.dialog) || !IsWindow(main_window.dialog))))
            << "graph object " << og << ", window " << IsWindow(graph) << ", main enabled "
            << IsWindowEnabled(main_window.dialog);
}
TEST_F(GraphWindow, OptionsShowTheSettingsAndOkAppliesThemAtOnce) {
    Load(kCurve), Open();
    const COLORREF paper = RGB(250, 250, 240), ink = RGB(1, 2, 250), axes = RGB(0, 128, 0), text = RGB(200, 0, 200);
    const auto check = [](HWND dlg, int id) { return SendDlgItemMessageA(dlg, id, BM_GETCHECK, 0, 0); };
    const auto set = [](HWND dlg, int id, LPARAM value, UINT msg = CLRSEL_SETCOLOR) {
        SendDlgItemMessageA(dlg, id, msg, value, 0);
    };
    Configure([&](HWND dlg) {
        EXPECT_EQ(std::tuple(check(dlg, IDC_SHOW_AXES), check(dlg, IDC_SHOW_LABELS), check(dlg, IDC_SHOW_SCALE)),
                  std::tuple(1, 1, 0));
        EXPECT_EQ(COLORREF(SendDlgItemMessageA(dlg, IDC_CLR_LINE, CLRSEL_GETCOLOR, 0, 0)), kBlue);
        set(dlg, IDC_SHOW_AXES, BST_UNCHECKED, BM_SETCHECK), set(dlg, IDC_CLR_BKG, paper), testui::Press(dlg, IDCANCEL);
    });
    EXPECT_EQ(std::tuple(graph_show_axes, graph_bkg, og->colors[0], Count(kRed) > 0),
              std::tuple(true, kBlack, kBlack, true));
    Configure([&](HWND dlg) {
        set(dlg, IDC_CLR_BKG, paper), set(dlg, IDC_CLR_LINE, ink), set(dlg, IDC_CLR_AXES, axes),
            set(dlg, IDC_CLR_LABELS, text), testui::Press(dlg, IDOK);
    });
    EXPECT_EQ(graph_bkg + graph_line + graph_axes + graph_labels, paper + ink + axes + text);
    EXPECT_GT(Count(paper), 320 * 240 / 2);
    EXPECT_TRUE(Count(ink) && Count(axes) && Count(text)) << Count(ink) << " " << Count(axes) << " " << Count(text);
    EXPECT_EQ(og->zoom_x, 320 / 3.0);  // not refitted
    Configure([&](HWND dlg) { set(dlg, IDC_SHOW_AXES, BST_UNCHECKED, BM_SETCHECK), testui::Press(dlg, IDOK); });
    EXPECT_EQ(std::tuple(graph_show_axes, graph_show_labels, Count(axes)), std::tuple(false, true, 0));
    SendMessageA(graph, WM_CLOSE, 0, 0), Open();  // starts without them, and the dialog shows so
    EXPECT_TRUE(Count(text) && !Count(axes)) << Count(text) << " " << Count(axes);
    LRESULT shown = -1;
    graph_show_labels = false;
    Configure(
        [&](HWND dlg) { shown = check(dlg, IDC_SHOW_AXES) + check(dlg, IDC_SHOW_LABELS), testui::Press(dlg, IDOK); });
    EXPECT_EQ(std::tuple(shown, graph_show_axes, graph_show_labels), std::tuple(2 * BST_UNCHECKED, false, false));
    Configure([&](HWND dlg) { set(dlg, IDC_SHOW_SCALE, BST_CHECKED, BM_SETCHECK), testui::Press(dlg, IDOK); });
    EXPECT_TRUE(graph_show_scale && og->show_scale && og->scale_left > 0 &&
                og->zoom_x < 320 / 3.0)  // refitted inside the scale
        << graph_show_scale << og->show_scale << " left " << og->scale_left << " zoom " << og->zoom_x;
}
// The carbonate sample: E'' without the scale as the graph window drew it before it had views and
// a scale (uhlicitan-d2e.bmp); then each view by its key or its menu item, with the scale.
TEST_F(GraphWindow, ViewsOfTheCarbonateSampleKeepTheirMarksScaleAndSetting) {
    ASSERT_TRUE(internal_read((driver::ExeDir() + "\\uhlicitan-hcl.tid").c_str(), arr_vb));
    graph_view = 7, recalc_arrays(), StuffListView(main_window), Open();  // an unknown view (from the file) shows E''
    HDC ref = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(ref, LoadImageA(nullptr, (driver::ExeDir() + "\\uhlicitan-d2e.bmp").c_str(),
                                               IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    for (int i = 0; i < 320 * 240; ++i)
        ASSERT_EQ(og->window->GetPixel(i % 320, i / 320), GetPixel(ref, i % 320, i / 320)) << i;
    DeleteObject(SelectObject(ref, old)), DeleteDC(ref);
    const int n = arr_vb.size();
    graph_show_scale = true, SendMessageA(graph, WM_CLOSE, 0, 0), Open();
    for (auto [key, view, points] : {std::tuple{'1', 0, n}, {'2', 1, n - 1}, {'3', 2, n - 2}, {0, 1, n - 1}}) {
        if (key)
            Keys(graph, {{WM_CHAR, WPARAM(key), 1, {}}});
        else
            SendMessageA(graph, WM_COMMAND, IDM_VIEW_DE, 0);
        EXPECT_EQ(std::tuple(graph_view, og->points.size(), og->marks.size()),
                  std::tuple(view, points, view == 2 ? 0 : 4));
        EXPECT_EQ(GetMenuState(GetMenu(graph), IDM_VIEW_E + view, 0) & MF_CHECKED, UINT(MF_CHECKED));
        // The curve; a red line across the plot at every result volume in E and E' only; the ticks outside the plot.
        const int bottom = og->window->GetMaxY() + 1 - og->scale_bottom, left = og->scale_left - 3;
        EXPECT_GT(Count(kBlue), 150);
        for (int r = 0; r < arr_res.size(); ++r) {
            const int x = og->RealToScreenX(arr_res[r]->key);
            EXPECT_EQ(Count(kRed, x, 0, x + 1) > bottom / 2, view != 2) << r;
        }
        EXPECT_GE(Count(kRed, left, 0, left + 1, bottom), 2) << "ticks on the y scale";
        EXPECT_GE(Count(kRed, og->scale_left, bottom + 2, 320, bottom + 3), 2) << "ticks on the x scale";
        EXPECT_LT(Count(kBlack, 0, bottom + 5, 320, 240), 320 * (235 - bottom) - 100);  // the numbers and title below
        // The library records the same drawing as a metafile.
        ENHMETAHEADER header = {};
        HENHMETAFILE metafile =
            (og->window->BeginRecordMetaFile(nullptr, nullptr), og->Paint(), og->window->EndRecordMetaFile(nullptr));
        EXPECT_GT(GetEnhMetaFileHeader(metafile, sizeof header, &header) ? header.nRecords : 0, 100u);
        DeleteEnhMetaFile(metafile);
    }
    SendMessageA(graph, WM_CLOSE, 0, 0), Open();  // opens in the last view
    EXPECT_EQ(std::tuple(og->points.size(), std::string(og->y_title)), std::tuple(n - 1, "E'/mV.ml-1"));
}
}  // namespace
// On a logger's noisy curve the derivative views draw the smoothed derivative the results rest
// on: the peak of E' is the model's steepest slope, 100 mV / 0.2 ml, not a spike of reading
// noise (the differences carry noise of 70 mV/ml there).
TEST_F(GraphWindow, NoisyDenseCurveShowsItsSmoothedDerivative) {
    apptest::Points curve;
    std::mt19937 random(1);
    std::normal_distribution<double> noise(0.0, 0.05);
    for (int k = 0; k < 4000; ++k)
        curve.push_back({k / 1000.0, 100 * std::tanh((k / 1000.0 - 2) / 0.2) + noise(random)});
    const COLORREF line = RGB(1, 2, 3), axes = RGB(4, 5, 6);  // the curve and the mark in the colours of the settings
    recognition = RECOGNIZE_STEEPEST, graph_view = 1, graph_line = line, graph_axes = axes;
    Load(curve), Open();
    EXPECT_TRUE(Count(line) > 100 && Count(axes) > 100) << Count(line) << " " << Count(axes);
    double peak = 0;
    for (int i = 0; i < og->points.size(); ++i) peak = std::max(peak, og->points[i]->y);
    recognition = RECOGNIZE_ALL;
    EXPECT_EQ(og->points.size(), 3999);
    EXPECT_EQ(og->points[0]->x, 0.0005);  // E' of the first pair at the middle of its volumes
    EXPECT_NEAR(500.0, peak, 25.0);
}
// The acetic acid sample (25 ml, Ve 25,00 ml by its model) in the Gran view, key 4: the points,
// the line in the labels' colour over them, the end point marked and noted; the same document in
// mV, or without V0, gets the message instead of a plot.
TEST_F(GraphWindow, GranViewDrawsTheLineAndEndPointOrSaysWhatIsMissing) {
    ASSERT_TRUE(internal_read((driver::ExeDir() + "\\octova-naoh.tid").c_str(), arr_vb));
    Determination d;
    d.sample = 25;
    main_window.document.quantity = Quantity::ph, main_window.document.determination = d;
    recalc_arrays(), StuffListView(main_window), Open();
    Keys(graph, {{WM_CHAR, WPARAM('4'), 1, {}}});
    ASSERT_EQ(std::tuple(graph_view, og->marks.size(), og->fit.shown), std::tuple(3, 1, true))
        << (og->note ? og->note : og->message);
    EXPECT_EQ(og->points.size(), arr_vb.size());
    EXPECT_EQ(GetMenuState(GetMenu(graph), IDM_VIEW_GRAN, 0) & MF_CHECKED, UINT(MF_CHECKED));
    EXPECT_NEAR(og->marks[0]->value, 25.0, 0.125);
    EXPECT_EQ(std::string(og->note).rfind("Granův bod ekvivalence: 25,0", 0), 0u) << og->note;
    const double middle = (og->fit.from + og->fit.to) / 2;
    EXPECT_EQ(
        og->window->GetPixel(og->RealToScreenX(middle), og->RealToScreenY(og->fit.intercept + og->fit.slope * middle)),
        kGreen);
    EXPECT_GT(Count(kBlue), 100);
    // Gran's second function from 5 to 20 ml, chosen in the options, redraws the view.
    Configure([](HWND dlg) {
        SendDlgItemMessageA(dlg, IDC_GRAN_FUNCTION, CB_SETCURSEL, 2, 0);
        testui::SetText(dlg, IDC_GRAN_FROM, "5"), testui::SetText(dlg, IDC_GRAN_TO, "20"), testui::Press(dlg, IDOK);
    });
    EXPECT_EQ(std::tuple(gran_options.function, gran_options.from, gran_options.to),
              std::tuple(GRAN_BEFORE_WEAK, 5.0, 20.0));
    EXPECT_TRUE(std::isnan(gran_options.celsius));
    EXPECT_NEAR(og->marks[0]->value, 25.0, 0.125);
    EXPECT_LT(og->fit.slope, 0);  // -Ka
    for (auto [quantity, v0, message] : {std::tuple{Quantity::mv, 25.0, "Granův graf potřebuje křivku v pH"},
                                         {Quantity::ph, 0.0, "Granův graf potřebuje počáteční objem V0"}}) {
        main_window.document.quantity = quantity, main_window.document.determination->sample = v0;
        SendMessageA(graph, WM_COMMAND, IDM_VIEW_GRAN, 0);
        ASSERT_NE(og->message, nullptr);
        EXPECT_EQ(std::string(og->message).rfind(message, 0), 0u) << og->message;
        EXPECT_TRUE(og->points.size() == 0 && Count(kBlue) == 0 && Count(kGreen) > 20);
    }
    // A determination on the Gran end point: a range of one point has no line, and the status says so.
    Determination& gran = *main_window.document.determination;
    main_window.document.quantity = Quantity::ph, gran.sample = 25, gran.concentration = 0.1, gran.molar_mass = 60.05;
    gran.point.kind = EndPointKind::gran;
    Configure([](HWND dlg) {
        testui::SetText(dlg, IDC_GRAN_FROM, "30"), testui::SetText(dlg, IDC_GRAN_TO, "30,1"), testui::Press(dlg, IDOK);
    });
    EXPECT_NE(driver::Text(main_window.status).find("Granovou přímku nelze v rozsahu proložit"), std::string::npos)
        << driver::Text(main_window.status);
    Keys(graph, {{WM_CHAR, WPARAM('1'), 1, {}}});  // the other views lose the Gran drawing
    EXPECT_TRUE(og->message == nullptr && og->note == nullptr && !og->fit.shown && og->points.size() == arr_vb.size());
}
