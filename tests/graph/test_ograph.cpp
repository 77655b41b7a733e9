// OrtogonalGraph on a hidden window, checked on the window's off-screen picture.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "graph/ograph.h"
#include "tests/vexplot/vexplot_test_util.h"

namespace {

const COLORREF kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
const COLORREF kGrey = RGB(100, 100, 100), kMarker = RGB(12, 34, 56);
constexpr int W = 320, H = 240;

std::unique_ptr<VexGraphWindow> NewWindow() {
    return std::make_unique<VexGraphWindow>(GetModuleHandleA(nullptr), nullptr, nullptr, WS_POPUP, 0, "og", 0, 0,
                                            W, H, 0, nullptr);
}

class Ograph : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(win->GetMaxY(), H - 1); }
    void Add(std::initializer_list<std::pair<double, double>> points, int color = 4) {
        for (auto p : points) og.AddPoint(p.first, p.second, ext_float(p.first), color);
    }
    void Fit(std::initializer_list<std::pair<double, double>> points) {
        og.Flush();
        Add(points);
        og.AutoZoom();
        og.Paint();
    }
    int Count(COLORREF c, int x0 = 0, int y0 = 0, int x1 = W, int y1 = H) {
        return vt::CountPixels(win.get(), x0, y0, x1, y1, c);
    }
    // A pixel that only a repaint (which clears the picture first) removes.
    void Mark() { win->SetPixel(5, 5, kMarker); }
    bool Repainted() { return win->GetPixel(5, 5) != kMarker; }
    // The picture equals the background with `text` drawn by the window itself at the point.
    void ExpectOnlyLabel(double x, double y, const char* text) {
        auto reference = NewWindow();
        reference->Clear(kBlack);
        reference->DrawLabel(og.RealToScreenX(x), og.RealToScreenY(y), HFONT(GetStockObject(ANSI_VAR_FONT)), text, kGreen);
        ASSERT_LT(vt::CountPixels(reference.get(), 0, 0, W, H, kBlack), W * H);  // smoothed, not all green
        for (int i = 0; i < W * H; ++i) ASSERT_EQ(win->GetPixel(i % W, i / W), reference->GetPixel(i % W, i / W)) << text;
    }
    std::unique_ptr<VexGraphWindow> win = NewWindow();
    OrtogonalGraph og{win.get(), 0.0, 0.0, 1.0, 1.0, true, true, GM_LINES};
};

TEST_F(Ograph, MapsTruncatingTowardZeroWithYUpwardsWithinGdisRange) {
    Mark();
    og.SetCenter(10.0, -5.0);
    EXPECT_TRUE(Repainted());
    Mark();
    og.SetZoom(2.0, 4.0);
    EXPECT_TRUE(Repainted());
    double cx = 0, cy = 0;
    og.GetCenter(cx, cy);
    EXPECT_EQ(cx * cy, -50.0);
    for (auto [x, sx] : {std::pair{10.0, 0}, {11.49, 2}, {9.7, 0}, {8.0, -4}, {1e300, 1 << 27}, {-1e300, -(1 << 27)}, {NAN, 0}})
        EXPECT_EQ(og.RealToScreenX(x), sx) << x;
    for (auto [y, sy] : {std::pair{-5.0, H - 1}, {-4.0, H - 5}, {-5.1, H - 1}, {-5.0 + H / 4.0, -1}, {-1e300, H - 1 + (1 << 27)}})
        EXPECT_EQ(og.RealToScreenY(y), sy) << y;
}

TEST_F(Ograph, KeepsPointsInXOrderAndRemovesTheFirstNotLeftOfX) {
    Mark();
    Add({{2, 20}, {1, 10}, {2, 21}, {3, 30}});
    for (int i = 0; i < 30; ++i) Add({{100.0 - i, i}});  // beyond the first block
    EXPECT_FALSE(Repainted());
    ASSERT_EQ(og.points.size(), 34);
    EXPECT_EQ(og.points[1]->y, 21.0);  // the later of equal x first
    EXPECT_TRUE(og.points[1]->visible && og.points[1]->show_label && og.points[1]->color == 4);
    for (int i = 1; i < og.points.size(); ++i) EXPECT_LE(og.points[i - 1]->x, og.points[i]->x);
    EXPECT_TRUE(og.RemovePoint(101.0, 0.0));  // beyond the last x: nothing, no repaint
    EXPECT_FALSE(Repainted());
    EXPECT_TRUE(og.RemovePoint(1.5, 99.0));  // y is not consulted; one point only
    EXPECT_TRUE(Repainted());
    ASSERT_EQ(og.points.size(), 33);
    EXPECT_EQ(og.points[1]->y, 20.0);
    Mark();
    og.Flush();
    EXPECT_TRUE(Repainted() && og.points.is_empty());
    Mark();
    og.Flush();  // already empty: nothing happens
    EXPECT_FALSE(Repainted());
}

TEST_F(Ograph, EmptyGraphShowsTheBackgroundAndColourSlotsWrap) {
    og.SetColor(6, kGrey);
    og.SetColor(-6, kMarker);  // ignored
    og.SetColor(13, kMarker);
    EXPECT_EQ(og.colors[1], kMarker);
    og.SetCenter(-100, -100);  // zero inside both ranges: axes would show if there were points
    og.AutoZoom();             // without points nothing changes
    EXPECT_EQ(og.center_x + og.zoom_x, -99.0);
    og.Paint();
    EXPECT_EQ(Count(kGrey), W * H);
}

// Both axes with default colours; an axis only where zero lies strictly inside the range.
TEST_F(Ograph, AxesOnlyWhereTheDataHaveBothSigns) {
    og.SetMode(GM_NONE);
    og.SetFlags(true, false);
    Fit({{-1, 2}, {3, -6}});
    EXPECT_EQ(og.RealToScreenX(0.0), 80);
    EXPECT_EQ(og.RealToScreenY(0.0), 59);
    EXPECT_EQ(Count(kRed, 80, 0, 81, H) + Count(kRed, 0, 59, W, 60), W + H);
    EXPECT_EQ(Count(kRed), W + H - 1);
    EXPECT_EQ(Count(kBlack), W * H - W - H + 1);
    for (auto points : {std::initializer_list<std::pair<double, double>>{{1, 1}, {3, 5}}, {{0, 0}, {2, 3}}, {{-3, -1}, {-1, -3}}}) {
        Fit(points);
        EXPECT_EQ(Count(kRed), 0);
    }
    Fit({{1, 5}});  // one point: the range widened by 1 each way, x from 0 on
    EXPECT_EQ(og.center_x * og.zoom_x + og.center_y * og.zoom_y, 0 + 4 * H / 2.0);
    EXPECT_EQ(Count(kRed), 0);
    Fit({{0.5, 5}});
    EXPECT_EQ(Count(kRed), H);
    og.SetFlags(false, false);  // at once
    EXPECT_EQ(Count(kRed), 0);
}

TEST_F(Ograph, TheLineSkipsInvisiblePointsButStartsAtTheFirst) {
    og.SetFlags(false, false);
    Fit({{0, 0}, {1, 10}, {2, 0}});  // the outer points on the bottom row, the middle one on row -1
    EXPECT_NE(win->GetPixel(W / 2, H - 1), kBlue);
    EXPECT_GT(Count(kBlue, W / 2 - 3, 0, W / 2 + 3, 10), 0);
    og.points[1]->visible = false;
    og.Paint();
    EXPECT_EQ(Count(kBlue, 0, H - 1, W, H), W);
    EXPECT_EQ(Count(kBlue), W);
    og.points[0]->visible = false;
    og.Paint();
    EXPECT_EQ(win->GetPixel(1, H - 1), kBlue);
}

TEST_F(Ograph, PixelModeDrawsVisiblePointsInTheirSlotModuloSix) {
    Mark();
    og.SetMode(GM_LINES);  // unchanged: no repaint
    EXPECT_FALSE(Repainted());
    og.SetMode(GM_PIXELS);
    EXPECT_TRUE(Repainted() && og.GetMode() == GM_PIXELS);
    og.SetFlags(true, false);
    Add({{-1, -1}, {3, 3}}, -1);                // no slot: not drawn, but they span the range
    Add({{0, 1}, {2, 0}}, 0);                   // slot 0 over the axes
    Add({{1, 1}, {0.5, 2}, {1.5, 2}}, 4);       // the middle one hidden below
    Add({{0.25, 2.5}}, 11);
    og.points[5]->visible = false;  // (1.5, 2)
    og.AutoZoom();
    Mark();
    og.SetColor(3, kMarker);  // no repaint
    EXPECT_FALSE(Repainted());
    og.Paint();
    EXPECT_EQ(win->GetPixel(og.RealToScreenX(0), og.RealToScreenY(1)), kBlack);
    EXPECT_EQ(Count(kRed), W + H - 3);
    EXPECT_EQ(Count(kGrey), 2);
    EXPECT_EQ(Count(RGB(200, 200, 200)), 1);
    EXPECT_EQ(win->GetPixel(og.RealToScreenX(0.25), og.RealToScreenY(2.5)), RGB(200, 200, 200));
}

TEST_F(Ograph, LabelsUseTheFormatAndTheirFlags) {
    og.SetMode(GM_NONE);
    og.SetFlags(false, true);
    Mark();
    og.SetFormat(2, false);
    EXPECT_FALSE(Repainted());
    og.SetFormat(3, true);
    Add({{0, 0}});
    og.SetCenter(-1.0, -1.0);
    og.SetZoom(W / 2.0, H / 2.0);
    ExpectOnlyLabel(0, 0, "0,000");
    og.Flush();
    og.AddPoint(0, 0, ext_float(-3.14159), 4);
    og.SetFormat(2, false);
    og.Paint();
    ExpectOnlyLabel(0, 0, "-3.14");
    og.points[0]->show_label = false;
    og.Paint();
    EXPECT_EQ(Count(kBlack), W * H);
    og.points[0]->show_label = true;
    og.SetFlags(false, false);
    EXPECT_EQ(Count(kBlack), W * H);
}

}  // namespace
