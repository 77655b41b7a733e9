// The application's graph window inside the test process: what it plots, how it refits,
// its options dialog, and that every way of closing it gives the main window back.
#include <gtest/gtest.h>

#include <string>

#include "core/calc.h"
#include "graph/graph.h"
#include "resources/resource.h"
#include "settings/config.h"
#include "tests/app/app_test.h"
#include "tests/support/testui.h"
#include "tests/vexplot/vexplot_test_util.h"

namespace {

using apptest::AppTest;

const COLORREF kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

VexGraphWindow* Window() { return og ? og->window : nullptr; }
HWND GraphHwnd() { return og ? og->window->GetWindow() : nullptr; }

int Count(VexGraphWindow* w, COLORREF c) { return vt::CountPixels(w, 0, 0, w->GetMaxX() + 1, w->GetMaxY() + 1, c); }

BOOL CALLBACK CountGraphWindow(HWND w, LPARAM count) {
    char cls[64] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (std::string(cls) == "VexGraphV2WClass") ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int GraphWindowsOfThisThread() {
    int n = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountGraphWindow, reinterpret_cast<LPARAM>(&n));
    return n;
}

class GraphWindow : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        graph_bkg = RGB(0, 0, 0);
        graph_axes = RGB(255, 0, 0);
        graph_line = RGB(0, 0, 255);
        graph_labels = RGB(0, 255, 0);
        graph_show_axes = true;
        graph_show_labels = true;
        graph_precis = 4;
    }
    void TearDown() override {
        if (HWND g = GraphHwnd()) SendMessageA(g, WM_CLOSE, 0, 0);
        AppTest::TearDown();
    }
    // Opens the graph as the menu command does and checks the open state.
    void Open() {
        OnCommand(IDM_GRAPH, 0);
        ASSERT_NE(og, nullptr);
        ASSERT_TRUE(IsWindow(GraphHwnd()));
        EXPECT_FALSE(IsWindowEnabled(hwndMain));
    }
    void ExpectClosed() {
        EXPECT_EQ(og, nullptr);
        EXPECT_TRUE(IsWindowEnabled(hwndMain));
        EXPECT_EQ(GraphWindowsOfThisThread(), 0);
    }
    SIZE Client() {
        RECT r;
        GetClientRect(GraphHwnd(), &r);
        return {r.right, r.bottom};
    }
};

TEST_F(GraphWindow, FewerThanThreePointsGiveTheBareBackground) {
    graph_bkg = RGB(20, 40, 60);
    const apptest::Points documents[] = {{}, {{1, 100}}, {{1, 100}, {2, 150}}};
    for (const auto& points : documents) {
        Load(points);
        Open();
        EXPECT_EQ(og->points.size(), 0);
        EXPECT_EQ(Count(Window(), RGB(20, 40, 60)), 320 * 240);
        SendMessageA(GraphHwnd(), WM_CLOSE, 0, 0);
        ExpectClosed();
    }
}

TEST_F(GraphWindow, OpensTitledWithTheGivenSizeAndStyleOnceOnly) {
    Load({{0, 0}, {1, 1}, {2, 4}});
    graph_precis = 1;
    use_comma = false;
    Open();
    EXPECT_EQ(og->precision, 1);
    EXPECT_FALSE(og->use_comma);
    char text[64] = "";
    GetWindowTextA(GraphHwnd(), text, sizeof text);
    EXPECT_STREQ(text, "Titrionika");
    const SIZE client = Client();
    EXPECT_EQ(client.cx, 320);
    EXPECT_EQ(client.cy, 240);
    const LONG style = GetWindowLongA(GraphHwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_EQ(GetWindow(GraphHwnd(), GW_OWNER), hwndMain);
    HMENU menu = GetMenu(GraphHwnd());
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(apptest::MenuHas(menu, IDM_GRAPH_OPTIONS));
    EXPECT_TRUE(apptest::MenuHas(menu, IDM_EXIT));
    MINMAXINFO info = {};
    SendMessageA(GraphHwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 320);
    EXPECT_EQ(info.ptMinTrackSize.y, 200);

    // Ctrl+G reaches the main window's accelerators while the graph has the focus, and like
    // the command brings the open window forward instead of a second one.
    OrtogonalGraph* first = og;
    Keys(GraphHwnd(), {apptest::KeyDown('G', {VK_CONTROL})});
    OnCommand(IDM_GRAPH, 0);
    EXPECT_EQ(og, first);
    EXPECT_EQ(GraphWindowsOfThisThread(), 1);
    EXPECT_FALSE(IsWindowEnabled(hwndMain));
}

TEST_F(GraphWindow, ThreePointsGiveOneLabelledPointInTheCentre) {
    Load({{0, 0}, {1.25, 1}, {2, 4}});
    Open();
    ASSERT_EQ(og->points.size(), 1);
    EXPECT_EQ(og->points[0]->x, 1.25);
    EXPECT_EQ(og->points[0]->y, arr_d2e[0]->value);
    EXPECT_EQ(og->points[0]->color, 4);
    EXPECT_EQ(og->RealToScreenX(1.25), 160);
    EXPECT_EQ(og->RealToScreenY(og->points[0]->y), 119);
    EXPECT_EQ(Count(Window(), kBlue), 0);  // no line from a single point
    EXPECT_EQ(Count(Window(), kRed), 0);   // E'' > 1: zero is outside the widened range

    // The label is "1,2500": the same pixels as that text drawn by the window itself.
    VexGraphWindow reference(GetModuleHandleA(nullptr), nullptr, nullptr, WS_POPUP, 0, "ref", 0,
                             0, 320, 240, 0, nullptr);
    reference.Clear(kBlack);
    reference.DrawLabel(160, 119, static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT)), "1,2500",
                        graph_labels);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_EQ(Window()->GetPixel(x, y), reference.GetPixel(x, y)) << x << "," << y;
}

TEST_F(GraphWindow, CurveCrossesTheAxisBetweenTheVolumesOfEachResult) {
    // E'' = 1, -1, -1, 1 at Vb 1 .. 4: results at 1.5 and 3.5.
    Load({{0, 0}, {1, 1}, {2, 3}, {3, 4}, {4, 4}, {5, 5}});
    ASSERT_EQ(arr_res.size(), 2);
    Open();
    ASSERT_EQ(og->points.size(), 4);
    const int sy = og->RealToScreenY(0.0);
    ASSERT_GT(sy, 0);
    ASSERT_LT(sy, 239);
    // No volume is negative: no vertical axis; the horizontal one spans the picture.
    EXPECT_EQ(Window()->GetPixel(0, sy), kRed);
    EXPECT_EQ(Window()->GetPixel(319, sy), kRed);
    for (int r = 0; r < arr_res.size(); ++r) {
        const int x1 = og->RealToScreenX(arr_res[r]->data.x1.value);
        const int x2 = og->RealToScreenX(arr_res[r]->data.x2.value);
        const int key = og->RealToScreenX(arr_res[r]->key.value);
        int blue_on_axis = 0;
        for (int x = x1 + 1; x < x2; ++x)
            if (Window()->GetPixel(x, sy) == kBlue) {
                ++blue_on_axis;
                EXPECT_NEAR(x, key, 2);
            }
        EXPECT_GT(blue_on_axis, 0) << "result " << r;
    }
}

TEST_F(GraphWindow, ResizingAndMaximizingRefitTheGraph) {
    Load({{0, 0}, {1, 1}, {2, 3}, {3, 4}, {4, 4}, {5, 5}});
    Open();
    RECT outer;
    GetWindowRect(GraphHwnd(), &outer);
    const int frame_w = outer.right - outer.left - 320;
    const int frame_h = outer.bottom - outer.top - 240;
    SetWindowPos(GraphHwnd(), nullptr, 0, 0, 500 + frame_w, 400 + frame_h, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Client().cx, 500);
    EXPECT_EQ(Window()->GetMaxX(), 499);
    EXPECT_EQ(Window()->GetMaxY(), 399);
    // Refitted: the volumes 1 .. 4 span the new width, E'' -1 .. 1 the new height.
    EXPECT_DOUBLE_EQ(og->zoom_x, 500 / 3.0);
    EXPECT_DOUBLE_EQ(og->zoom_y, 400 / 2.0);
    EXPECT_EQ(Window()->GetPixel(0, og->RealToScreenY(0.0)), kRed);

    ShowWindow(GraphHwnd(), SW_MAXIMIZE);
    const SIZE max = Client();
    EXPECT_GT(max.cx, 500);
    EXPECT_EQ(Window()->GetMaxX() + 1, max.cx);
    EXPECT_EQ(Window()->GetMaxY() + 1, max.cy);
    EXPECT_DOUBLE_EQ(og->zoom_x, max.cx / 3.0);
    EXPECT_EQ(Window()->GetPixel(max.cx - 1, og->RealToScreenY(0.0)), kRed);
}

TEST_F(GraphWindow, EveryWayOfClosingGivesTheMainWindowBack) {
    Load({{0, 0}, {1, 1}, {2, 4}});
    // The close box and Alt+F4 come as the system's close command.
    Open();
    SendMessageA(GraphHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ExpectClosed();

    Open();
    SendMessageA(GraphHwnd(), WM_CLOSE, 0, 0);
    ExpectClosed();

    // "&Zavřít" posts the close message.
    Open();
    SendMessageA(GraphHwnd(), WM_COMMAND, IDM_EXIT, 0);
    EXPECT_NE(og, nullptr);
    RunQueue();
    ExpectClosed();

    // Alt+F4 typed into the graph window, through the program's message loop.
    Open();
    Keys(GraphHwnd(), {apptest::KeyDown(VK_F4, {VK_MENU})});
    ExpectClosed();

    // The owner destroyed takes the graph window with it, without WM_CLOSE.
    Open();
    DestroyWindow(hwndMain);
    EXPECT_EQ(og, nullptr);
    EXPECT_EQ(GraphWindowsOfThisThread(), 0);
}

// The graph options dialog (121), opened from the graph window's menu.
class GraphOptions : public GraphWindow {
protected:
    // Runs the dialog through the graph window's menu command with `answer`.
    void Configure(testui::Action answer) {
        testui::ModalScript ui;
        ui.call(std::move(answer));
        SendMessageA(GraphHwnd(), WM_COMMAND, IDM_GRAPH_OPTIONS, 0);
        ASSERT_EQ(ui.seen().size(), 1u);
        EXPECT_EQ(ui.seen()[0].caption, "Možnosti grafu...");
        EXPECT_EQ(ui.unexpected(), 0);
    }
};

TEST_F(GraphOptions, ShowsTheSettingsAndUncheckingAxesRemovesThemAtOnce) {
    Load({{0, 0}, {1, 1}, {2, 3}, {3, 4}, {4, 4}, {5, 5}});
    graph_line = RGB(1, 2, 250);
    Open();
    ASSERT_GT(Count(Window(), kRed), 0);
    Configure([](HWND dlg) {
        EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_SHOW_AXES, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_SHOW_LABELS, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(static_cast<COLORREF>(SendDlgItemMessageA(dlg, IDC_CLR_LINE, WM_USER + 1, 0, 0)), RGB(1, 2, 250));
        EXPECT_EQ(static_cast<COLORREF>(SendDlgItemMessageA(dlg, IDC_CLR_AXES, WM_USER + 1, 0, 0)), kRed);
        SendDlgItemMessageA(dlg, IDC_SHOW_AXES, BM_SETCHECK, BST_UNCHECKED, 0);
        testui::Press(dlg, IDOK);
    });
    EXPECT_FALSE(graph_show_axes);
    EXPECT_TRUE(graph_show_labels);
    EXPECT_EQ(Count(Window(), kRed), 0);
    // The next graph window starts without them.
    SendMessageA(GraphHwnd(), WM_CLOSE, 0, 0);
    Open();
    EXPECT_FALSE(og->show_axes);
    EXPECT_EQ(Count(Window(), kRed), 0);
}

TEST_F(GraphOptions, NewColoursShowAtOnceAndStorno) {
    Load({{0, 0}, {1, 1}, {2, 3}, {3, 4}, {4, 4}, {5, 5}});
    Open();
    const COLORREF paper = RGB(250, 250, 240);
    // Colours picked, then Storno: nothing changes.
    Configure([paper](HWND dlg) {
        SendDlgItemMessageA(dlg, IDC_CLR_BKG, WM_USER + 0, paper, 0);
        SendDlgItemMessageA(dlg, IDC_SHOW_LABELS, BM_SETCHECK, BST_UNCHECKED, 0);
        testui::Press(dlg, IDCANCEL);
    });
    EXPECT_EQ(graph_bkg, kBlack);
    EXPECT_TRUE(graph_show_labels);
    EXPECT_EQ(og->colors[0], kBlack);
    EXPECT_EQ(Count(Window(), paper), 0);

    Configure([paper](HWND dlg) {
        SendDlgItemMessageA(dlg, IDC_CLR_BKG, WM_USER + 0, paper, 0);
        SendDlgItemMessageA(dlg, IDC_CLR_AXES, WM_USER + 0, RGB(0, 128, 0), 0);
        testui::Press(dlg, IDOK);
    });
    EXPECT_EQ(graph_bkg, paper);
    EXPECT_EQ(graph_axes, RGB(0, 128, 0));
    EXPECT_GT(Count(Window(), paper), 320 * 240 / 2);
    EXPECT_EQ(Window()->GetPixel(0, og->RealToScreenY(0.0)), RGB(0, 128, 0));
    // The zoom is not recomputed by the dialog.
    EXPECT_DOUBLE_EQ(og->zoom_x, 320 / 3.0);
}

}  // namespace
