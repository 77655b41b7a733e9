// Drawing into the off-screen picture: primitives, labels, copying out, resizing and the
// object whose bitmap could not be made.
#include <gtest/gtest.h>

#include <memory>

#include "tests/vexplot/vexplot_test_util.h"

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);

using WindowPtr = std::unique_ptr<VexGraphWindow>;

WindowPtr MakeWindow(int w = 200, int h = 150, DWORD style = WS_OVERLAPPEDWINDOW)
{
    return WindowPtr(vt::NewWindow(w, h, style));
}

// A plain memory DC with its own 24-bit picture, for copying the window's picture into.
struct Target {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    Target(int w, int h, COLORREF fill)
    {
        HDC screen = ::GetDC(NULL);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(NULL, screen);
        old = SelectObject(dc, bitmap);
        RECT all = {0, 0, w, h};
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }
    ~Target()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(dc, x, y); }
};

POINT CurrentPosition(VexGraphWindow* w)
{
    POINT p = {-1, -1};
    GetCurrentPositionEx(w->GetDC(), &p);
    return p;
}

TEST(VexDrawing, GeometryMatchesTheBitmapAndTheClientArea)
{
    WindowPtr w = MakeWindow(200, 150);
    EXPECT_EQ(w->GetMaxX(), 199);
    EXPECT_EQ(w->GetMaxY(), 149);
    RECT r;
    w->GetRect(&r);
    RECT expected = {0, 0, 199, 149};
    EXPECT_TRUE(vt::SameRect(r, expected));

    BITMAP info;
    ASSERT_TRUE(GetObjectA(w->GetBitmap(), sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 200);
    EXPECT_EQ(info.bmHeight, 150);
    EXPECT_EQ(GetCurrentObject(w->GetDC(), OBJ_BITMAP), w->GetBitmap());

    SIZE client = vt::ClientSize(w->GetWindow());
    EXPECT_EQ(client.cx, 200);
    EXPECT_EQ(client.cy, 150);
    // A new picture is the background colour, black.
    EXPECT_EQ(vt::CountPixels(w.get(), 0, 0, 200, 150, kBlack), 200 * 150);
}

TEST(VexDrawing, ShrinkWindowFitsTheClientAreaUnderAWrappingMenu)
{
    // In the window created 0 wide the menu bar wraps into several rows.
    HMENU menu = CreateMenu();
    for (int i = 0; i < 6; ++i)
        AppendMenuA(menu, MF_STRING, 500 + i, "&Menu item");
    WindowPtr w(vt::NewWindow(420, 100, WS_OVERLAPPEDWINDOW, vt::CountingRedraw, 0, menu));
    SIZE client = vt::ClientSize(w->GetWindow());
    EXPECT_EQ(client.cx, 420);
    EXPECT_EQ(client.cy, 100);
}

TEST(VexDrawing, ClearFillsAndSetBkColorOnlyStoresTheColour)
{
    WindowPtr w = MakeWindow(60, 40);
    w->Clear(kBlue);
    EXPECT_EQ(vt::CountPixels(w.get(), 0, 0, 60, 40, kBlue), 60 * 40);
    EXPECT_EQ(GetBkColor(w->GetDC()), kBlue);

    w->SetBkColor(kRed);
    EXPECT_EQ(GetBkColor(w->GetDC()), kRed);
    EXPECT_EQ(vt::CountPixels(w.get(), 0, 0, 60, 40, kBlue), 60 * 40);
    w->Clear();
    EXPECT_EQ(vt::CountPixels(w.get(), 0, 0, 60, 40, kRed), 60 * 40);

    w->SetPixel(5, 6, kGreen);
    EXPECT_EQ(w->GetPixel(5, 6), kGreen);
    EXPECT_EQ(w->GetPixel(6, 6), kRed);
    EXPECT_EQ(w->GetPixel(60, 6), CLR_INVALID);
}

TEST(VexDrawing, LineKeepsTheCurrentPositionAndLineToMovesIt)
{
    WindowPtr w = MakeWindow();
    w->MoveTo(10, 10);
    w->Line(50, 20, 50, 80, kRed);
    POINT p = CurrentPosition(w.get());
    EXPECT_EQ(p.x, 10);
    EXPECT_EQ(p.y, 10);
    EXPECT_EQ(vt::CountPixels(w.get(), 50, 20, 51, 80, kRed), 60);
    EXPECT_EQ(w->GetPixel(50, 80), kBlack);  // the end point is not drawn

    // The next LineTo starts where MoveTo left the position, not at the end of Line.
    w->LineTo(40, 10, kGreen);
    EXPECT_EQ(vt::CountPixels(w.get(), 10, 10, 40, 11, kGreen), 30);
    p = CurrentPosition(w.get());
    EXPECT_EQ(p.x, 40);
    EXPECT_EQ(p.y, 10);

    // Joined segments: each LineTo runs on from the previous end.
    w->MoveTo(100, 100);
    w->LineTo(150, 100, kBlue);
    w->LineTo(150, 140, kBlue);
    w->LineTo(100, 140, kBlue);
    EXPECT_EQ(vt::CountPixels(w.get(), 100, 100, 151, 101, kBlue), 51);
    EXPECT_EQ(vt::CountPixels(w.get(), 150, 100, 151, 141, kBlue), 41);
    EXPECT_EQ(vt::CountPixels(w.get(), 101, 140, 151, 141, kBlue), 50);
}

TEST(VexDrawing, LineStyleAndPolyline)
{
    WindowPtr w = MakeWindow();
    w->SetLineStyle(PS_SOLID, 5);
    w->Line(20, 50, 120, 50, kRed);
    // A 5-pixel pen covers two rows on either side of the line.
    EXPECT_EQ(w->GetPixel(70, 48), kRed);
    EXPECT_EQ(w->GetPixel(70, 52), kRed);
    EXPECT_EQ(w->GetPixel(70, 55), kBlack);

    w->SetLineStyle(PS_SOLID, 0);
    w->MoveTo(3, 4);
    POINT points[] = {{10, 100}, {60, 100}, {60, 140}};
    w->Polyline(points, 3, kGreen);
    EXPECT_EQ(vt::CountPixels(w.get(), 10, 100, 60, 101, kGreen), 50);
    EXPECT_EQ(vt::CountPixels(w.get(), 60, 100, 61, 140, kGreen), 40);
    POINT p = CurrentPosition(w.get());
    EXPECT_EQ(p.x, 3);
    EXPECT_EQ(p.y, 4);
}

TEST(VexDrawing, DrawLabelIsMovedInsideTheRightAndBottomEdges)
{
    WindowPtr w = MakeWindow(200, 150);
    w->SetBkColor(kWhite);
    w->Clear();
    w->SetTextColor(kBlue);
    HFONT font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    const char* text = "12,5000";
    SIZE extent;
    HGDIOBJ old = SelectObject(w->GetDC(), font);
    GetTextExtentPoint32A(w->GetDC(), text, 7, &extent);
    SelectObject(w->GetDC(), old);
    ASSERT_GT(extent.cx, 10);

    w->DrawLabel(195, 148, font, text, kRed);
    int left = 200 - extent.cx;
    int top = 150 - extent.cy;
    EXPECT_GT(vt::CountPixels(w.get(), left, top, 200, 150, kRed), 0);
    // Nothing left of or above the box that ends exactly at the corner.
    EXPECT_EQ(vt::CountPixels(w.get(), 0, 0, 200, top, kRed), 0);
    EXPECT_EQ(vt::CountPixels(w.get(), 0, 0, left, 150, kRed), 0);
    // The text colour set by the client is back.
    EXPECT_EQ(GetTextColor(w->GetDC()), kBlue);

    // A label at negative coordinates is cut, not moved.
    w->Clear();
    w->DrawLabel(-extent.cx / 2, 20, font, text, kRed);
    EXPECT_GT(vt::CountPixels(w.get(), 0, 20, extent.cx / 2, 20 + extent.cy, kRed), 0);
    EXPECT_EQ(vt::CountPixels(w.get(), extent.cx / 2 + 1, 0, 200, 150, kRed), 0);
}

TEST(VexDrawing, TextOutUsesTheSetFontTheDcColourAndBackgroundMode)
{
    WindowPtr w = MakeWindow(200, 60);
    w->SetBkColor(kBlue);  // the DC's background colour only; the picture stays black
    w->SetTextColor(kGreen);
    w->SetFont(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    HFONT before = static_cast<HFONT>(GetCurrentObject(w->GetDC(), OBJ_FONT));
    w->SetBkMode(TRANSPARENT);
    w->TextOutA(5, 5, "WWW");
    EXPECT_GT(vt::CountPixels(w.get(), 5, 5, 60, 30, kGreen), 0);
    EXPECT_EQ(vt::CountPixels(w.get(), 0, 0, 200, 60, kBlue), 0);
    EXPECT_EQ(GetCurrentObject(w->GetDC(), OBJ_FONT), before);

    w->SetBkMode(OPAQUE);
    w->TextOutA(100, 5, "WWW");
    EXPECT_GT(vt::CountPixels(w.get(), 100, 5, 200, 30, kBlue), 0);
    EXPECT_EQ(vt::CountPixels(w.get(), 0, 0, 100, 60, kBlue), 0);

    w->SetTextAlign(TA_RIGHT | TA_TOP);
    w->TextOutA(199, 35, "WWW");
    EXPECT_GT(vt::CountPixels(w.get(), 150, 35, 200, 60, kGreen), 0);
}

TEST(VexDrawing, DrawCopiesARectangleInPlaceOrTheWholePictureAtTwoTwo)
{
    WindowPtr w = MakeWindow(100, 80);
    w->Clear(kGreen);
    {
        Target t(200, 200, kWhite);
        w->Draw(t.dc, NULL);
        EXPECT_EQ(t.At(1, 1), kWhite);
        EXPECT_EQ(t.At(2, 1), kWhite);
        EXPECT_EQ(t.At(2, 2), kGreen);
        EXPECT_EQ(t.At(101, 81), kGreen);
        EXPECT_EQ(t.At(102, 81), kWhite);
        EXPECT_EQ(t.At(101, 82), kWhite);
    }
    {
        Target t(200, 200, kWhite);
        RECT r = {10, 20, 30, 40};
        w->Draw(t.dc, &r);
        EXPECT_EQ(t.At(9, 20), kWhite);
        EXPECT_EQ(t.At(10, 20), kGreen);
        EXPECT_EQ(t.At(29, 39), kGreen);
        EXPECT_EQ(t.At(30, 39), kWhite);
        EXPECT_EQ(t.At(29, 40), kWhite);
    }
}

// A picture with a red left half and a blue right half on a 200 x 150 bitmap.
WindowPtr TwoHalves()
{
    // Visible, so that invalidation can be seen.
    WindowPtr w = MakeWindow(200, 150, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    w->Clear(kBlue);
    HBRUSH red = CreateSolidBrush(kRed);
    RECT left = {0, 0, 100, 150};
    FillRect(w->GetDC(), &left, red);
    DeleteObject(red);
    // New bitmaps start in this colour.
    w->SetBkColor(kGreen);
    return w;
}

TEST(VexDrawing, ResizeToTheSameSizeDoesNothing)
{
    WindowPtr w = TwoHalves();
    HBITMAP before = w->GetBitmap();
    ValidateRect(w->GetWindow(), NULL);
    w->Resize(200, 150, VEX_RESIZE_STRETCH, 1);
    EXPECT_EQ(w->GetBitmap(), before);
    EXPECT_EQ(w->GetPixel(10, 10), kRed);
    EXPECT_FALSE(GetUpdateRect(w->GetWindow(), NULL, FALSE));
}

TEST(VexDrawing, ResizeCopiesStretchesOrDiscardsByFlags)
{
    {
        // 0x10: the old picture unscaled at the top-left, background beyond it.
        WindowPtr w = TwoHalves();
        w->Resize(300, 200, VEX_RESIZE_COPY, 0);
        EXPECT_EQ(w->GetMaxX(), 299);
        EXPECT_EQ(w->GetMaxY(), 199);
        EXPECT_EQ(w->GetPixel(99, 149), kRed);
        EXPECT_EQ(w->GetPixel(100, 149), kBlue);
        EXPECT_EQ(w->GetPixel(199, 149), kBlue);
        EXPECT_EQ(w->GetPixel(200, 10), kGreen);
        EXPECT_EQ(w->GetPixel(10, 150), kGreen);
        // The window is invalidated for the new picture.
        EXPECT_TRUE(GetUpdateRect(w->GetWindow(), NULL, FALSE));
    }
    {
        // 0x10 to a smaller size cuts the picture.
        WindowPtr w = TwoHalves();
        w->Resize(120, 50, VEX_RESIZE_COPY, 0);
        EXPECT_EQ(vt::CountPixels(w.get(), 0, 0, 100, 50, kRed), 100 * 50);
        EXPECT_EQ(vt::CountPixels(w.get(), 100, 0, 120, 50, kBlue), 20 * 50);
    }
    {
        // 0x20: stretched over the whole new size.
        WindowPtr w = TwoHalves();
        w->Resize(400, 300, VEX_RESIZE_STRETCH, 0);
        EXPECT_EQ(w->GetPixel(0, 0), kRed);
        EXPECT_EQ(w->GetPixel(195, 299), kRed);
        EXPECT_EQ(w->GetPixel(205, 0), kBlue);
        EXPECT_EQ(w->GetPixel(399, 299), kBlue);
        EXPECT_EQ(vt::CountPixels(w.get(), 0, 0, 400, 300, kGreen), 0);
    }
    {
        // 0x30: the copy wins.
        WindowPtr w = TwoHalves();
        w->Resize(400, 300, VEX_RESIZE_COPY | VEX_RESIZE_STRETCH, 0);
        EXPECT_EQ(w->GetPixel(150, 10), kBlue);
        EXPECT_EQ(w->GetPixel(250, 10), kGreen);
    }
    // Any of the low bits wins over everything; no flag copies nothing either.
    for (unsigned flags : {0x01u | 0x30u, 0x02u, 0x04u | 0x10u, 0x08u | 0x20u, 0x00u}) {
        WindowPtr w = TwoHalves();
        w->Resize(300, 200, flags, 0);
        EXPECT_EQ(vt::CountPixels(w.get(), 0, 0, 300, 200, kGreen), 300 * 200) << flags;
    }
}

TEST(VexDrawing, ResizeWithShrinkSizesTheWindowAndKeepsTheTextColour)
{
    WindowPtr w = TwoHalves();
    w->SetTextColor(kRed);
    w->Resize(260, 90, 0, 1);
    SIZE client = vt::ClientSize(w->GetWindow());
    EXPECT_EQ(client.cx, 260);
    EXPECT_EQ(client.cy, 90);
    EXPECT_EQ(GetTextColor(w->GetDC()), kRed);
    EXPECT_EQ(GetBkColor(w->GetDC()), kGreen);
    EXPECT_EQ(GetCurrentObject(w->GetDC(), OBJ_BITMAP), w->GetBitmap());
}

TEST(VexDrawing, ResizeThatCannotMakeTheBitmapKeepsTheOldPicture)
{
    WindowPtr w = TwoHalves();
    HBITMAP before = w->GetBitmap();
    HDC dc = w->GetDC();
    for (int side : {100000, 0, -5}) {
        w->Resize(side, side, VEX_RESIZE_COPY, 1);
        EXPECT_EQ(w->GetBitmap(), before);
        EXPECT_EQ(w->GetDC(), dc);
        EXPECT_EQ(w->GetMaxX(), 199);
        EXPECT_EQ(w->GetMaxY(), 149);
        EXPECT_EQ(w->GetPixel(10, 10), kRed);
        EXPECT_EQ(w->GetPixel(150, 10), kBlue);
    }
    SIZE client = vt::ClientSize(w->GetWindow());
    EXPECT_EQ(client.cx, 200);
    EXPECT_EQ(client.cy, 150);
}

TEST(VexDrawing, AnObjectWithoutABitmapDrawsNothingUntilAResizeSucceeds)
{
    int gdi_before = vt::GdiObjectCount();
    WindowPtr w = MakeWindow(100000, 100000);
    EXPECT_EQ(w->GetBitmap(), nullptr);
    EXPECT_EQ(w->GetDC(), nullptr);
    EXPECT_EQ(w->GetMaxX(), -1);
    EXPECT_EQ(w->GetMaxY(), -1);
    ASSERT_NE(w->GetWindow(), nullptr);

    // None of these may touch a bitmap; they simply do nothing.
    HFONT font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    POINT points[] = {{0, 0}, {10, 10}};
    w->Clear(kRed);
    w->Clear();
    w->SetPixel(1, 1, kRed);
    w->MoveTo(1, 1);
    w->LineTo(5, 5, kRed);
    w->Line(0, 0, 9, 9, kRed);
    w->Polyline(points, 2, kRed);
    w->DrawLabel(0, 0, font, "x", kRed);
    w->TextOutA(0, 0, "x");
    w->SetTextColor(kRed);
    w->SetTextAlign(TA_BASELINE);
    w->SetBkMode(TRANSPARENT);
    w->Zoom(1, 1, 2, 1, 2, 1);
    w->Scroll(3, 3);
    w->ForceRedraw();
    EXPECT_EQ(w->GetPixel(1, 1), CLR_INVALID);
    EXPECT_EQ(w->CopyAsBitmap(), 0);
    EXPECT_EQ(w->BeginRecordMetaFile(NULL, NULL), 0);
    EXPECT_EQ(w->EndRecordMetaFile(NULL), nullptr);
    {
        Target t(20, 20, kWhite);
        w->Draw(t.dc, NULL);
        RECT r = {0, 0, 20, 20};
        w->Draw(t.dc, &r);
        EXPECT_EQ(t.At(5, 5), kWhite);
    }

    // A size it can make brings the object to life.
    w->Resize(40, 30, VEX_RESIZE_COPY, 0);
    ASSERT_NE(w->GetBitmap(), nullptr);
    EXPECT_EQ(w->GetMaxX(), 39);
    // Cleared to red above, so new bitmaps start red.
    EXPECT_EQ(vt::CountPixels(w.get(), 0, 0, 40, 30, kRed), 40 * 30);
    w->SetPixel(3, 4, kGreen);
    EXPECT_EQ(w->GetPixel(3, 4), kGreen);
    w.reset();
    EXPECT_EQ(vt::GdiObjectCount(), gdi_before);
}

TEST(VexDrawing, ZoomAndScrollMoveTheViewport)
{
    WindowPtr w = MakeWindow(100, 100);
    w->Scroll(10, 20);
    w->SetPixel(0, 0, kRed);
    EXPECT_EQ(::GetPixel(w->GetDC(), 0, 0), kRed);  // in logical coordinates
    SetViewportOrgEx(w->GetDC(), 0, 0, NULL);
    EXPECT_EQ(w->GetPixel(10, 20), kRed);

    SetMapMode(w->GetDC(), MM_ANISOTROPIC);
    w->Zoom(5, 5, 2, 1, 3, 1);
    POINT origin;
    SIZE extent;
    GetViewportOrgEx(w->GetDC(), &origin);
    GetViewportExtEx(w->GetDC(), &extent);
    EXPECT_EQ(origin.x, 5);
    EXPECT_EQ(origin.y, 5);
    EXPECT_EQ(extent.cx, 2);
    EXPECT_EQ(extent.cy, 3);
}

}  // namespace
