// OrtogonalGraph on a hidden vexplot window: geometry, colours, labels, repaint rules,
// checked on the window's off-screen picture.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "graph/ograph.h"
#include "tests/vexplot/vexplot_test_util.h"

namespace {

// The default background, axes, labels and line colours, and two of our own.
const COLORREF kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
const COLORREF kGrey = RGB(100, 100, 100), kMarker = RGB(12, 34, 56);

constexpr int W = 320;
constexpr int H = 240;

struct WindowDeleter {
    void operator()(VexGraphWindow* w) const { delete w; }
};
using WindowPtr = std::unique_ptr<VexGraphWindow, WindowDeleter>;

// A hidden window whose picture is W x H; never shown, so only our own drawing reaches it.
WindowPtr NewWindow() {
    return WindowPtr(new VexGraphWindow(GetModuleHandleA(nullptr), nullptr, nullptr, WS_POPUP, 0,
                                        "ograph", 0, 0, W, H, 0, nullptr));
}

int Count(VexGraphWindow* w, COLORREF c, int x0 = 0, int y0 = 0, int x1 = W, int y1 = H) {
    return vt::CountPixels(w, x0, y0, x1, y1, c);
}

// Compares a rectangle of two pictures pixel by pixel.
bool SameRegion(VexGraphWindow* a, VexGraphWindow* b, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (a->GetPixel(x, y) != b->GetPixel(x, y)) return false;
    return true;
}

HFONT LabelFont() { return static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT)); }

class Ograph : public ::testing::Test {
protected:
    void SetUp() override {
        win = NewWindow();
        ASSERT_NE(win->GetWindow(), nullptr);
        ASSERT_EQ(win->GetMaxX(), W - 1);
        ASSERT_EQ(win->GetMaxY(), H - 1);
        og.reset(new OrtogonalGraph(win.get(), 0.0, 0.0, 1.0, 1.0, true, true, GM_LINES));
    }
    // A pixel that only a repaint (which clears the picture first) removes.
    void Mark() { win->SetPixel(5, 5, kMarker); }
    bool Repainted() { return win->GetPixel(5, 5) != kMarker; }

    WindowPtr win;
    std::unique_ptr<OrtogonalGraph> og;
};

TEST_F(Ograph, PointsAreKeptInXOrderWithTheLatestOfEqualXFirst) {
    Mark();
    og->AddPoint(2.0, 20.0, ext_float(2.0), 4);
    og->AddPoint(1.0, 10.0, ext_float(1.0), 4);
    og->AddPoint(2.0, 21.0, ext_float(2.5), 5);
    og->AddPoint(0.5, 5.0, ext_float(0.5), 4);
    EXPECT_FALSE(Repainted());  // adding never repaints
    ASSERT_EQ(og->points.size(), 4);
    EXPECT_EQ(og->points[0]->x, 0.5);
    EXPECT_EQ(og->points[1]->x, 1.0);
    EXPECT_EQ(og->points[2]->y, 21.0);  // added later, comes first
    EXPECT_EQ(og->points[3]->y, 20.0);
    EXPECT_EQ(og->points[2]->color, 5);
    EXPECT_TRUE(og->points[2]->visible);
    EXPECT_TRUE(og->points[2]->show_label);
    // More points than the first block holds.
    for (int i = 0; i < 50; ++i) og->AddPoint(100.0 - i, i, ext_float(i), 0);
    ASSERT_EQ(og->points.size(), 54);
    for (int i = 1; i < og->points.size(); ++i) EXPECT_LE(og->points[i - 1]->x, og->points[i]->x);
}

TEST_F(Ograph, MappingTruncatesTowardZeroAndPutsYUpwards) {
    og->center_x = 10.0;
    og->center_y = -5.0;
    og->zoom_x = 2.0;
    og->zoom_y = 4.0;
    EXPECT_EQ(og->RealToScreenX(10.0), 0);
    EXPECT_EQ(og->RealToScreenX(11.49), 2);   // 2.98
    EXPECT_EQ(og->RealToScreenX(9.7), 0);     // -0.6 truncates to 0, not -1
    EXPECT_EQ(og->RealToScreenX(8.0), -4);
    EXPECT_EQ(og->RealToScreenY(-5.0), H - 1);
    EXPECT_EQ(og->RealToScreenY(-4.0), H - 5);
    EXPECT_EQ(og->RealToScreenY(-5.1), H - 1);  // -0.4 truncates to 0
    EXPECT_EQ(og->RealToScreenY(-5.0 + H / 4.0), -1);
    // Values far beyond any screen stay in GDI's range instead of overflowing int.
    EXPECT_EQ(og->RealToScreenX(1e300), 1 << 27);
    EXPECT_EQ(og->RealToScreenX(-1e300), -(1 << 27));
    EXPECT_EQ(og->RealToScreenX(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(og->RealToScreenY(-1e300), H - 1 + (1 << 27));
}

TEST_F(Ograph, EmptyGraphPaintsOnlyTheBackground) {
    og->SetColor(0, kGrey);
    og->center_x = -100;  // zero inside both ranges: axes would show if there were points
    og->center_y = -100;
    og->AutoZoom();       // no points: nothing changes
    EXPECT_EQ(og->center_x, -100.0);
    EXPECT_EQ(og->zoom_x, 1.0);
    Mark();
    og->Paint();
    EXPECT_EQ(Count(win.get(), kGrey), W * H);
}

TEST_F(Ograph, SinglePointIsCentredWithItsLabelAndNoLine) {
    og->AddPoint(0.5, 5.0, ext_float(0.5), 4);
    og->AutoZoom();
    EXPECT_EQ(og->center_x, -0.5);
    EXPECT_EQ(og->center_y, 4.0);
    EXPECT_EQ(og->zoom_x, W / 2.0);
    EXPECT_EQ(og->zoom_y, H / 2.0);
    EXPECT_EQ(og->RealToScreenX(0.5), W / 2);
    EXPECT_EQ(og->RealToScreenY(5.0), H - 1 - H / 2);
    og->Paint();
    // x range [-0.5, 1.5] holds zero: the vertical axis at column 80; y range [4, 6] does not.
    EXPECT_EQ(win->GetPixel(80, 10), kRed);
    EXPECT_EQ(Count(win.get(), kRed), H);
    EXPECT_EQ(Count(win.get(), kBlue), 0);
    // The label sits with its top-left corner on the point.
    EXPECT_GT(Count(win.get(), kGreen, W / 2, H / 2 - 1, W / 2 + 40, H / 2 + 20), 0);
    EXPECT_EQ(Count(win.get(), kGreen, 0, 0, W / 2, H), 0);

    // At x = 1 the widened range starts exactly at zero: no axis.
    og->Flush();
    og->AddPoint(1.0, 5.0, ext_float(1.0), 4);
    og->AutoZoom();
    og->Paint();
    EXPECT_EQ(og->center_x, 0.0);
    EXPECT_EQ(Count(win.get(), kRed), 0);
}

TEST_F(Ograph, AxesAppearOnlyWhereTheDataHaveBothSigns) {
    og->SetFlags(true, false);
    og->AddPoint(1.0, 2.0, ext_float(1.0), 4);
    og->AddPoint(2.0, 3.0, ext_float(2.0), 4);
    og->AddPoint(3.0, 4.0, ext_float(3.0), 4);
    og->AutoZoom();
    og->Paint();
    EXPECT_EQ(Count(win.get(), kRed), 0);

    og->Flush();
    og->AddPoint(-1.0, 2.0, ext_float(-1.0), 4);
    og->AddPoint(3.0, -6.0, ext_float(3.0), 4);
    og->AutoZoom();
    og->Paint();
    const int sx = og->RealToScreenX(0.0);  // 80
    const int sy = og->RealToScreenY(0.0);  // 239 - 180 = 59
    EXPECT_EQ(sx, 80);
    EXPECT_EQ(sy, 59);
    EXPECT_EQ(win->GetPixel(sx, 3), kRed);
    EXPECT_EQ(win->GetPixel(sx, H - 3), kRed);
    EXPECT_EQ(win->GetPixel(3, sy), kRed);
    EXPECT_EQ(win->GetPixel(W - 3, sy), kRed);

    // Switched off, they go at once.
    og->SetFlags(false, false);
    EXPECT_EQ(Count(win.get(), kRed), 0);
}

TEST_F(Ograph, InvisiblePointsAreSkippedByTheLine) {
    og->SetFlags(false, false);
    og->AddPoint(0.0, 0.0, ext_float(0.0), 4);
    og->AddPoint(1.0, 10.0, ext_float(1.0), 4);
    og->AddPoint(2.0, 0.0, ext_float(2.0), 4);
    og->AutoZoom();  // the outer points on the bottom row, the middle one on row -1
    og->Paint();
    EXPECT_NE(win->GetPixel(W / 2, H - 1), kBlue);
    EXPECT_GT(Count(win.get(), kBlue, W / 2 - 3, 0, W / 2 + 3, 10), 0);

    og->points[1]->visible = false;
    og->Paint();
    EXPECT_EQ(win->GetPixel(W / 2, H - 1), kBlue);
    EXPECT_EQ(Count(win.get(), kBlue, 0, 0, W, H - 1), 0);

    // The first point is the line's start whatever its flag.
    og->points[0]->visible = false;
    og->Paint();
    EXPECT_EQ(win->GetPixel(1, H - 1), kBlue);
}

TEST_F(Ograph, ColourSlotsWrapAndPixelModeUsesThePointsSlotModuloSix) {
    og->SetColor(7, kGrey);
    EXPECT_EQ(og->colors[1], kGrey);
    og->SetColor(12, RGB(9, 9, 9));
    EXPECT_EQ(og->colors[0], RGB(9, 9, 9));
    const COLORREF before[6] = {og->colors[0], og->colors[1], og->colors[2],
                                og->colors[3], og->colors[4], og->colors[5]};
    og->SetColor(-1, kMarker);
    og->SetColor(-6, kMarker);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(og->colors[i], before[i]);
    Mark();
    og->SetColor(2, kMarker);
    EXPECT_FALSE(Repainted());

    og->SetMode(GM_PIXELS);
    og->SetFlags(false, false);
    og->SetColor(0, RGB(1, 2, 3));
    og->SetColor(4, kGrey);
    og->AddPoint(0.0, 0.0, ext_float(0.0), 4);    // bottom-left corner
    og->AddPoint(1.0, 0.25, ext_float(1.0), 6);   // slot 0: the background itself
    og->AddPoint(1.5, 0.5, ext_float(1.5), 10);   // slot 4
    og->AddPoint(2.0, 0.75, ext_float(2.0), 4);   // hidden below
    og->AddPoint(2.5, 0.5, ext_float(2.5), -1);   // no slot: not drawn
    og->AddPoint(3.0, 1.0, ext_float(3.0), 4);    // on column W, outside the picture
    og->points[3]->visible = false;
    og->AutoZoom();
    og->Paint();
    EXPECT_EQ(win->GetPixel(0, H - 1), kGrey);
    EXPECT_EQ(win->GetPixel(og->RealToScreenX(1.5), og->RealToScreenY(0.5)), kGrey);
    EXPECT_EQ(Count(win.get(), kGrey), 2);
    EXPECT_EQ(Count(win.get(), RGB(1, 2, 3)), W * H - 2);
}

TEST_F(Ograph, RepaintRules) {
    og->AddPoint(1.0, 1.0, ext_float(1.0), 4);
    og->AddPoint(2.0, 3.0, ext_float(2.0), 4);

    Mark();
    og->SetMode(GM_LINES);  // unchanged: no repaint
    EXPECT_FALSE(Repainted());
    og->SetMode(GM_NONE);
    EXPECT_TRUE(Repainted());
    EXPECT_EQ(og->GetMode(), GM_NONE);

    Mark();
    og->SetFlags(true, true);  // same values: repaints all the same
    EXPECT_TRUE(Repainted());

    Mark();
    og->SetFormat(1, false);
    og->AutoZoom();
    EXPECT_FALSE(Repainted());
    Mark();
    og->SetCenter(0.5, 0.5);
    EXPECT_TRUE(Repainted());
    double cx = 0, cy = 0;
    og->GetCenter(cx, cy);
    EXPECT_EQ(cx, 0.5);
    EXPECT_EQ(cy, 0.5);
    Mark();
    og->SetZoom(10.0, 20.0);
    EXPECT_TRUE(Repainted());
    EXPECT_EQ(og->zoom_y, 20.0);
}

TEST_F(Ograph, RemovePointTakesTheFirstPointNotLeftOfX) {
    og->AddPoint(1.0, 1.0, ext_float(1.0), 4);
    og->AddPoint(2.0, 2.0, ext_float(2.0), 4);
    og->AddPoint(3.0, 3.0, ext_float(3.0), 4);

    Mark();
    EXPECT_TRUE(og->RemovePoint(3.5, 0.0));  // beyond the last x: nothing, no repaint
    EXPECT_EQ(og->points.size(), 3);
    EXPECT_FALSE(Repainted());

    EXPECT_TRUE(og->RemovePoint(1.5, 99.0));  // y is not consulted
    EXPECT_TRUE(Repainted());
    ASSERT_EQ(og->points.size(), 2);
    EXPECT_EQ(og->points[0]->x, 1.0);
    EXPECT_EQ(og->points[1]->x, 3.0);

    Mark();
    og->Flush();
    EXPECT_TRUE(Repainted());
    EXPECT_TRUE(og->points.is_empty());
    Mark();
    og->Flush();  // already empty: nothing happens
    EXPECT_FALSE(Repainted());
    // The emptied graph takes points again.
    og->AddPoint(4.0, 4.0, ext_float(4.0), 4);
    EXPECT_EQ(og->points.size(), 1);
}

// The label pixels equal those of the expected text drawn by the window itself.
class OgraphLabels : public Ograph {
protected:
    void ExpectLabel(const ext_float& value, const char* expected) {
        og->Flush();
        og->SetFlags(false, true);
        og->SetMode(GM_NONE);
        og->AddPoint(0.0, 0.0, value, 4);
        og->center_x = -1.0;  // the point at (W/2, H/2 - 1)
        og->center_y = -1.0;
        og->zoom_x = W / 2.0;
        og->zoom_y = H / 2.0;
        og->Paint();
        WindowPtr reference = NewWindow();
        reference->Clear(kBlack);
        reference->DrawLabel(og->RealToScreenX(0.0), og->RealToScreenY(0.0), LabelFont(), expected, kGreen);
        // Something was drawn (the font may smooth small glyphs, so not all of it pure green).
        EXPECT_LT(Count(reference.get(), kBlack), W * H) << expected;
        EXPECT_TRUE(SameRegion(win.get(), reference.get(), 0, 0, W, H)) << expected;
    }
};

TEST_F(OgraphLabels, LabelsUseTheGraphsPrecisionAndSeparator) {
    ExpectLabel(ext_float(12.5), "12,500");
    og->SetFormat(4, true);
    ExpectLabel(ext_float(1.25), "1,2500");
    og->SetFormat(2, false);
    ExpectLabel(ext_float(-3.14159), "-3.14");
    og->SetFormat(0, true);
    ExpectLabel(ext_float(7.0), "7");
    ExpectLabel(ext_float(0.0, true), "*");
}

TEST_F(OgraphLabels, AnAstronomicalLabelIsCutToTheBuffer) {
    og->SetFormat(50, false);
    std::string full(300, '\0');
    std::snprintf(&full[0], full.size(), "%.50f", 1e200);
    full.resize(std::strlen(full.c_str()));
    ASSERT_GT(full.size(), 200u);
    ExpectLabel(ext_float(1e200), full.substr(0, OG_LABEL_TEXT - 1).c_str());
}

TEST_F(Ograph, HiddenLabelsAreNotDrawn) {
    og->AddPoint(0.0, 0.0, ext_float(1.0), 4);
    og->AddPoint(1.0, 1.0, ext_float(2.0), 4);
    og->AutoZoom();
    og->SetMode(GM_NONE);
    og->SetFlags(false, true);
    EXPECT_GT(Count(win.get(), kGreen), 0);
    og->points[0]->show_label = false;
    og->points[1]->show_label = false;
    og->Paint();
    EXPECT_EQ(Count(win.get(), kGreen), 0);
    og->points[1]->show_label = true;
    og->SetFlags(false, false);
    EXPECT_EQ(Count(win.get(), kGreen), 0);
}

}  // namespace
