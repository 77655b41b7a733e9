// OrtogonalGraph on a hidden window, checked on the window's off-screen picture.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>
#include "graph/ograph.h"
#include "tests/vexplot/vexplot_test_util.h"
namespace {
const COLORREF kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
               kGrey = RGB(100, 100, 100), kLight = RGB(200, 200, 200), kMarker = RGB(12, 34, 56);
constexpr int W = 320, H = 240;
const HFONT kFont = HFONT(GetStockObject(ANSI_VAR_FONT));
using Points = std::initializer_list<std::pair<double, double>>;
auto NewWindow() {
    return std::make_unique<VexGraphWindow>(GetModuleHandleA(nullptr), nullptr, nullptr, WS_POPUP, 0, "og", 0, 0, W, H,
                                            0, nullptr);
}
struct Ograph : ::testing::Test {
    void Add(Points points, int color = 4) {
        for (auto p : points) og.AddPoint(p.first, p.second, ext_float(p.first), color);
    }
    int Fit(Points points) { return og.Flush(), Add(points), og.AutoZoom(), og.Paint(), Count(kRed); }
    int Count(COLORREF c, int x0 = 0, int y0 = 0, int x1 = W, int y1 = H) {
        return vt::CountPixels(win.get(), x0, y0, x1, y1, c);
    }
    // Whether a repaint (which clears the picture first) removed the marker pixel since the last call.
    bool Repainted() { return win->GetPixel(5, 5) != kMarker && (win->SetPixel(5, 5, kMarker), true); }
    // Whether `text`, drawn by the window itself, stands whole at the place of one of the graph's texts.
    bool Shows(const char* text) {
        auto ref = NewWindow();
        SIZE size{};
        SelectObject(ref->GetDC(), GetStockObject(ANSI_VAR_FONT)),
            GetTextExtentPoint32A(ref->GetDC(), text, int(strlen(text)), &size);
        for (const RECT& r : Rects()) {
            bool same = r.right - r.left == size.cx &&
                        (ref->Clear(kBlack), ref->DrawLabel(r.left, r.top, kFont, text, kGreen), true);
            for (int i = 0; same && i < size.cx * size.cy; ++i) {
                const int x = r.left + i % size.cx, y = r.top + i / size.cx;
                same = win->GetPixel(x, y) == ref->GetPixel(x, y);
            }
            if (same) return true;
        }
        return false;
    }
    std::vector<RECT> Rects() {
        return std::vector<RECT>(og.label_rects.items, og.label_rects.items + og.label_rects.size());
    }
    std::unique_ptr<VexGraphWindow> win = NewWindow();
    OrtogonalGraph og{win.get(), 0.0, 0.0, 1.0, 1.0, true, true, GM_LINES};
};
TEST_F(Ograph, MapsTruncatingTowardZeroWithYUpwardsWithinGdisRange) {
    double cx = 0, cy = 0;
    EXPECT_EQ((og.SetCenter(10.0, -5.0), og.SetZoom(2.0, 4.0), og.GetCenter(cx, cy), cx * cy), -50.0);
    for (auto [x, sx] :
         {std::pair{10.0, 0}, {11.49, 2}, {9.7, 0}, {8.0, -4}, {1e300, 1 << 27}, {-1e300, -(1 << 27)}, {NAN, 0}})
        EXPECT_EQ(og.RealToScreenX(x), sx) << x;
    for (auto [y, sy] :
         {std::pair{-5.0, H - 1}, {-4.0, H - 5}, {-5.1, H - 1}, {-5.0 + H / 4.0, -1}, {-1e300, H - 1 + (1 << 27)}})
        EXPECT_EQ(og.RealToScreenY(y), sy) << y;
}
TEST_F(Ograph, KeepsPointsInXOrderAndRepaintsOnlyWhenItMust) {
    og.SetColor(0, kGrey), og.SetColor(-6, kMarker), og.SetColor(13, kMarker), og.AutoZoom(),
        og.Paint();  // no points: no zoom
    EXPECT_EQ(std::tuple(Count(kGrey), og.colors[1], og.zoom_x), std::tuple(W * H, kMarker, 1.0));
    EXPECT_TRUE(Repainted());
    og.SetMode(GM_LINES), Add({{2, 20}, {1, 10}, {2, 21}, {3, 30}});
    for (int i = 0; i < 30; ++i) Add({{100.0 - i, i}});  // beyond the first block
    EXPECT_FALSE(Repainted()) << "adding";
    EXPECT_FALSE((og.RemovePoint(101.0, 0.0), Repainted())) << "removing beyond the last x";
    ASSERT_EQ(std::pair(og.points.size(), og.points[1]->y), std::pair(34, 21.0));  // the later of equal x first
    for (int i = 1; i < og.points.size(); ++i) EXPECT_LE(og.points[i - 1]->x, og.points[i]->x);
    EXPECT_TRUE(og.RemovePoint(1.5, 99.0)) << "y is not consulted";
    EXPECT_TRUE(Repainted());  // one point only
    EXPECT_EQ(og.points[1]->y + og.points.size(), 20.0 + 33);
    for (auto change : std::initializer_list<std::function<void()>>{
             [&] { og.SetCenter(0, 0); }, [&] { og.SetZoom(1, 1); }, [&] { og.SetMode(GM_NONE); },
             [&] { og.SetFlags(true, true); }, [&] { og.Flush(); }})
        EXPECT_TRUE((change(), Repainted()));
    EXPECT_EQ(std::tuple(og.points.size(), og.GetMode()), std::tuple(0, GM_NONE));
    EXPECT_FALSE((og.Flush(), Repainted())) << "Flush when empty: nothing";
}
// In the default colours; an axis only where zero lies strictly inside the range.
TEST_F(Ograph, AxesWhereTheDataHaveBothSignsAndALineThatSkipsInvisiblePoints) {
    og.SetMode(GM_NONE), og.SetFlags(true, false), Fit({{-1, 2}, {3, -6}});
    EXPECT_EQ(std::pair(og.RealToScreenX(0.0), og.RealToScreenY(0.0)), std::pair(80, 59));
    EXPECT_EQ(std::tuple(Count(kRed, 80, 0, 81, H), Count(kRed, 0, 59, W, 60), Count(kBlack)),
              std::tuple(H, W, W * H - W - H + 1));
    EXPECT_EQ((og.marks.append(-0.99), og.Paint(), og.marks.flush(), Count(kRed, 0, 0, 1, H)), H);  // a mark at x 0
    for (Points points : {Points{{1, 1}, {3, 5}}, {{0, 0}, {2, 3}}, {{-3, -1}, {-1, -3}}, {{1, 5}}})
        EXPECT_EQ(Fit(points), 0);
    EXPECT_EQ(og.center_x * og.zoom_x + og.center_y * og.zoom_y, 4 * H / 2.0);  // one point: widened by 1 each way
    EXPECT_EQ(Fit({{0.5, 5}}), H);
    og.show_scale = true, Fit({{1, 0.5}, {3, 5}});  // zero below the plot, among the scale's numbers: no axis
    EXPECT_EQ(Count(kRed, 0, H - og.scale_bottom + 5, W, H), 0) << og.scale_bottom;
    og.show_scale = false;
    og.SetMode(GM_LINES), og.SetFlags(false, false), Fit({{0, 0}, {1, 10}, {2, 0}});  // the middle point on row -1
    EXPECT_NE(win->GetPixel(W / 2, H - 1), kBlue);
    EXPECT_GT(Count(kBlue, W / 2 - 3, 0, W / 2 + 3, 10), 0);
    EXPECT_EQ((og.points[1]->visible = false, og.Paint(), Count(kBlue, 0, H - 1, W, H)), W);
    EXPECT_EQ(Count(kBlue), W);
    EXPECT_EQ((og.points[0]->visible = false, og.Paint(), win->GetPixel(1, H - 1)),
              kBlue);  // still where the line starts
}
TEST_F(Ograph, PixelsOfVisiblePointsInTheirSlotModuloSixAndLabelsInTheFormat) {
    og.SetMode(GM_PIXELS), og.SetFlags(true, false);
    Add({{-1, -1}, {3, 3}}, -1);  // no slot: not drawn, but they span the range
    Add({{0, 1}, {2, 0}}, 0), Add({{1, 1}, {0.5, 2}, {1.5, 2}}, 4), Add({{0.25, 2.5}}, 11);  // slot 0 over the axes
    og.points[5]->visible = false, og.AutoZoom(), og.Paint();                                // (1.5, 2)
    EXPECT_EQ(std::tuple(Count(kRed), Count(kGrey), Count(kLight)), std::tuple(W + H - 3, 2, 1));
    EXPECT_EQ(win->GetPixel(og.RealToScreenX(0.25), og.RealToScreenY(2.5)), kLight);
    // Labels: the pixels of the text drawn by the window itself, with the point at its top left.
    og.SetMode(GM_NONE), og.SetFlags(false, true), og.Flush(), og.AddPoint(0, 0, ext_float(12.5), 4),
        og.SetCenter(-1.0, -1.0);
    for (const char* text : {"12,500", "-3.14"}) {
        auto reference = NewWindow();
        reference->Clear(kBlack),
            reference->DrawLabel(W / 2, H / 2 - 1, HFONT(GetStockObject(ANSI_VAR_FONT)), text, kGreen);
        ASSERT_LT(vt::CountPixels(reference.get(), 0, 0, W, H, kBlack), W * H);  // smoothed, not all green
        og.SetZoom(W / 2.0, H / 2.0);
        for (int i = 0; i < W * H; ++i)
            ASSERT_EQ(win->GetPixel(i % W, i / W), reference->GetPixel(i % W, i / W)) << text;
        og.points[0]->label = ext_float(-3.14159), og.SetFormat(2, false);
    }
    EXPECT_EQ((og.points[0]->show_label = false, og.Paint(), Count(kBlack)), W * H);
    EXPECT_EQ((og.points[0]->show_label = true, og.SetFlags(false, false), Count(kBlack)), W * H);
    // Labels that would need more room than the picture go only where they overlap none drawn before:
    // of 0 .. 1999 on one row, "0" stands alone at the left edge.
    og.SetFlags(false, true), og.Flush(), og.SetFormat(0, false);
    for (int i = 0; i < 2000; ++i) og.AddPoint(i, 0, ext_float(i), 4);
    auto alone = NewWindow();
    const int y = (og.AutoZoom(), og.Paint(), og.RealToScreenY(0));
    alone->Clear(kBlack), alone->DrawLabel(0, y, HFONT(GetStockObject(ANSI_VAR_FONT)), "0", kGreen);
    for (int i = 0; i < 5 * 20; ++i) ASSERT_EQ(win->GetPixel(i % 5, y + i / 5), alone->GetPixel(i % 5, y + i / 5)) << i;
}
// Cut to four points a pixel column, the curve keeps the pixels of the line through every point: dense (zigzags,
// runs of equal x, an invisible point, 60 points on the last column) and sparse.
TEST_F(Ograph, CurveHasThePixelsOfTheLineThroughEveryPointAtAnyDensity) {
    og.SetFlags(false, false);
    for (int n : {5000, 40}) {
        og.Flush();
        for (unsigned i = 0, seed = 1; int(i) < n; ++i, seed = seed * 1103515245u + 12345u)
            Add({{std::min<int>(i / 3, (n - 60) / 3) * 7.0 / n, std::sin(i * 0.01) * 50 + (seed >> 16) % 40}});
        og.points[n / 2]->visible = false, og.AutoZoom(), og.Paint();
        auto ref = NewWindow();
        ref->Clear(kBlack), ref->MoveTo(og.RealToScreenX(og.points[0]->x), og.RealToScreenY(og.points[0]->y));
        for (int i = 1; i < n; ++i)
            if (og.points[i]->visible)
                ref->LineTo(og.RealToScreenX(og.points[i]->x), og.RealToScreenY(og.points[i]->y), kBlue);
        ASSERT_GT(Count(kBlue), 200);
        for (int i = 0; i < W * H; ++i)
            ASSERT_EQ(win->GetPixel(i % W, i / W), ref->GetPixel(i % W, i / W)) << n << " " << i;
    }
}
// 100,000 and 100 labels, thinned with the scale and without (they would pile up), and a sparse graph: a mark's label
// is drawn whole (the next mark's line and the points' labels give way); thinned, no two texts come nearer than half a
// digit, and every pixel of a text lies in its rectangle.
TEST_F(Ograph, LabelsKeepAGapAndTheMarksLabelIsDrawnWhole) {
    SIZE digit{};
    const int gap =
        (SelectObject(win->GetDC(), kFont), GetTextExtentPoint32A(win->GetDC(), "0", 1, &digit), digit.cx + 1) / 2;
    og.SetMode(GM_NONE), og.SetFormat(4, true), og.marks.append(10.0), og.marks.append(12.0);
    for (auto [n, scale] : {std::pair{100000, true}, {100000, false}, {100, false}, {5, false}}) {
        og.Flush(), og.show_scale = scale;
        for (double i = 0, x = 1; i < n; ++i, x = 1 + 50 * i / n) og.AddPoint(x, -(x - 10) * (x - 10), ext_float(x), 4);
        og.AutoZoom(), og.Paint();
        EXPECT_TRUE(Shows("10,0000") && Shows("12,0000")) << n << scale << ": " << Shows("10,0000") << Shows("12,0000");
        const std::vector<RECT> r = Rects();
        for (size_t i = 0; n > 5 && i < r.size(); ++i)
            for (size_t j = i + 1; j < r.size(); ++j)
                ASSERT_FALSE(r[i].left - gap < r[j].right && r[j].left < r[i].right + gap &&
                             r[i].top - gap < r[j].bottom && r[j].top < r[i].bottom + gap)
                    << "labels " << i << " and " << j << " nearer than the gap";
        for (int p = 0; p < W * H; ++p) {
            const COLORREF c = win->GetPixel(p % W, p / W);
            const POINT at = {p % W, p / W};
            ASSERT_TRUE(c == kBlack || c == kRed ||
                        std::any_of(r.begin(), r.end(), [&](const RECT& x) { return PtInRect(&x, at); }))
                << "colour " << c << " outside every label at " << at.x << "," << at.y;
        }
    }
    // The ticks carry the decimals of their step, the points' labels the graph's precision.
    og.Flush(), og.marks.flush(), og.show_scale = true, Add({{0, 0}, {0.4, 5000}, {1, 10000}}), og.AutoZoom(),
                                  og.Paint();
    for (const char* text : {"0", "0,5", "10000", "0,4000"}) EXPECT_TRUE(Shows(text)) << text;
    for (const char* text : {"0,5000", "10000,0000"}) EXPECT_FALSE(Shows(text)) << text;
    // The axis titles stand whole inside the picture: the volume's at the right end, the potential's top left.
    og.x_title = "Vb/ml", og.y_title = "E/mV", og.Paint();
    EXPECT_TRUE(Shows("Vb/ml") && Shows("E/mV")) << Shows("Vb/ml") << Shows("E/mV");
    const std::vector<RECT> r = Rects();
    EXPECT_EQ(std::count_if(r.begin(), r.end(), [](const RECT& t) { return t.right == W - 3 && t.bottom == H; }), 1);
    EXPECT_EQ(std::count_if(r.begin(), r.end(), [](const RECT& t) { return t.left == 3 && t.top == 0; }), 1);
}
}  // namespace
