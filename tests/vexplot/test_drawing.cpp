// The off-screen picture: drawing, copying out, resizing, an object whose bitmap could not
// be made, metafile recording and the clipboard.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/vexplot/vexplot_test_util.h"

using namespace vt;

namespace {

using WindowPtr = std::unique_ptr<VexGraphWindow>;

// A white memory picture to copy or play the window's picture into.
struct Canvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    RECT all;
    Canvas(int w, int h) : all{0, 0, w, h}
    {
        HDC screen = ::GetDC(NULL);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(NULL, screen);
        old = SelectObject(dc, bitmap);
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(dc, x, y); }
};

void ExpectPosition(VexGraphWindow* w, int x, int y)
{
    POINT p = {-1, -1};
    GetCurrentPositionEx(w->GetDC(), &p);
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
}

TEST(VexDrawing, GeometryColoursAndLines)
{
    WindowPtr w(NewWindow(200, 150));
    EXPECT_EQ(w->GetMaxX(), 199);
    EXPECT_EQ(w->GetMaxY(), 149);
    RECT r, expected = {0, 0, 199, 149};
    w->GetRect(&r);
    EXPECT_TRUE(EqualRect(&r, &expected));
    EXPECT_EQ(ClientSize(w->GetWindow()), (SIZE{200, 150}));
    EXPECT_TRUE(Filled(w.get(), 0, 0, 200, 150, kBlack));
    // SetBkColor only stores the colour for Clear().
    w->SetBkColor(kRed);
    EXPECT_EQ(w->GetPixel(5, 5), kBlack);
    w->Clear();
    EXPECT_TRUE(Filled(w.get(), 0, 0, 200, 150, kRed));
    w->SetPixel(5, 6, kGreen);
    EXPECT_EQ(w->GetPixel(5, 6), kGreen);
    EXPECT_EQ(w->GetPixel(200, 6), CLR_INVALID);

    w->Clear(kBlack);
    w->MoveTo(10, 10);
    w->Line(50, 20, 50, 80, kRed);
    ExpectPosition(w.get(), 10, 10);
    EXPECT_EQ(CountPixels(w.get(), 50, 20, 51, 81, kRed), 60);  // not the end point
    // LineTo starts where MoveTo left the position, not at the end of Line.
    w->LineTo(40, 10, kGreen);
    EXPECT_EQ(CountPixels(w.get(), 10, 10, 41, 11, kGreen), 30);
    ExpectPosition(w.get(), 40, 10);
    w->MoveTo(100, 100);
    w->LineTo(150, 100, kBlue);
    w->LineTo(150, 140, kBlue);
    w->LineTo(100, 140, kBlue);
    EXPECT_EQ(CountPixels(w.get(), 100, 100, 151, 101, kBlue), 51);
    EXPECT_EQ(CountPixels(w.get(), 150, 100, 151, 141, kBlue), 41);
    EXPECT_EQ(CountPixels(w.get(), 101, 140, 151, 141, kBlue), 50);
}

TEST(VexDrawing, ShrinkWindowFitsTheClientAreaUnderAWrappingMenu)
{
    // Created 0 wide, the window's menu bar wraps into several rows.
    HMENU menu = CreateMenu();
    for (int i = 0; i < 6; ++i)
        AppendMenuA(menu, MF_STRING, 500 + i, "&Menu item");
    WindowPtr w(NewWindow(420, 100, WS_OVERLAPPEDWINDOW, 0, menu));
    EXPECT_EQ(ClientSize(w->GetWindow()), (SIZE{420, 100}));
}

TEST(VexDrawing, DrawLabelIsMovedInsideTheRightAndBottomEdges)
{
    WindowPtr w(NewWindow(200, 150));
    w->Clear(kWhite);
    w->SetTextColor(kBlue);
    HFONT font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    SIZE ext;
    HGDIOBJ old = SelectObject(w->GetDC(), font);
    GetTextExtentPoint32A(w->GetDC(), "12,5000", 7, &ext);
    SelectObject(w->GetDC(), old);
    ASSERT_GT(ext.cx, 10);

    w->DrawLabel(195, 148, font, "12,5000", kRed);
    EXPECT_GT(CountPixels(w.get(), 200 - ext.cx, 150 - ext.cy, 200, 150, kRed), 0);
    EXPECT_EQ(CountPixels(w.get(), 0, 0, 200, 150 - ext.cy, kRed), 0);
    EXPECT_EQ(CountPixels(w.get(), 0, 0, 200 - ext.cx, 150, kRed), 0);
    EXPECT_EQ(GetTextColor(w->GetDC()), kBlue);
}

TEST(VexDrawing, DrawCopiesARectangleInPlaceOrTheWholePictureAtTwoTwo)
{
    WindowPtr w(NewWindow(100, 80));
    w->Clear(kGreen);
    Canvas whole(200, 200);
    w->Draw(whole.dc, NULL);
    EXPECT_EQ(whole.At(1, 1), kWhite);
    EXPECT_EQ(whole.At(2, 1), kWhite);
    EXPECT_EQ(whole.At(2, 2), kGreen);
    EXPECT_EQ(whole.At(101, 81), kGreen);
    EXPECT_EQ(whole.At(102, 81), kWhite);
    EXPECT_EQ(whole.At(101, 82), kWhite);
    Canvas part(200, 200);
    RECT r = {10, 20, 30, 40};
    w->Draw(part.dc, &r);
    EXPECT_EQ(part.At(9, 20), kWhite);
    EXPECT_EQ(part.At(10, 20), kGreen);
    EXPECT_EQ(part.At(29, 39), kGreen);
    EXPECT_EQ(part.At(30, 40), kWhite);
}

// Visible, so that invalidation can be seen; new bitmaps start green.
WindowPtr Halves()
{
    WindowPtr w(NewWindow(200, 150, kVisible));
    PaintHalves(w.get());
    w->SetBkColor(kGreen);
    return w;
}

TEST(VexResize, SameSizeDoesNothingShrinkFollowsAndFlagsChooseTheCopy)
{
    {
        WindowPtr w = Halves();
        HBITMAP before = w->GetBitmap();
        ValidateRect(w->GetWindow(), NULL);
        w->Resize(200, 150, VEX_RESIZE_STRETCH, 1);
        EXPECT_EQ(w->GetBitmap(), before);
        EXPECT_EQ(w->GetPixel(10, 10), kRed);
        EXPECT_FALSE(GetUpdateRect(w->GetWindow(), NULL, FALSE));
        w->SetTextColor(kRed);
        w->Resize(260, 90, 0, 1);
        EXPECT_EQ(ClientSize(w->GetWindow()), (SIZE{260, 90}));
        EXPECT_EQ(GetTextColor(w->GetDC()), kRed);
        EXPECT_EQ(GetBkColor(w->GetDC()), kGreen);
        EXPECT_EQ(GetCurrentObject(w->GetDC(), OBJ_BITMAP), w->GetBitmap());
    }
    struct Area { int x0, y0, x1, y1; COLORREF color; };
    struct Case { unsigned flags; int w, h; std::vector<Area> areas; };
    const std::vector<Area> all_green = {{0, 0, 300, 200, kGreen}};
    const Case cases[] = {
        // Unscaled at the top-left on background, or cut.
        {VEX_RESIZE_COPY, 300, 200,
         {{0, 0, 100, 150, kRed}, {100, 0, 200, 150, kBlue}, {200, 0, 300, 200, kGreen}, {0, 150, 200, 200, kGreen}}},
        {VEX_RESIZE_COPY, 120, 50, {{0, 0, 100, 50, kRed}, {100, 0, 120, 50, kBlue}}},
        {VEX_RESIZE_STRETCH, 400, 300, {{0, 0, 196, 300, kRed}, {204, 0, 400, 300, kBlue}}},
        // The copy wins over the stretch.
        {VEX_RESIZE_COPY | VEX_RESIZE_STRETCH, 400, 300,
         {{0, 0, 100, 150, kRed}, {100, 0, 200, 150, kBlue}, {200, 0, 400, 300, kGreen}}},
        // Any of the low bits wins over everything; no flag keeps nothing either.
        {0x01 | 0x30, 300, 200, all_green}, {0x02, 300, 200, all_green}, {0x04 | 0x10, 300, 200, all_green},
        {0x08 | 0x20, 300, 200, all_green}, {0x00, 300, 200, all_green},
    };
    for (const Case& c : cases) {
        WindowPtr w = Halves();
        ValidateRect(w->GetWindow(), NULL);
        w->Resize(c.w, c.h, c.flags, 0);
        EXPECT_EQ(PictureSize(w.get()), (SIZE{c.w, c.h})) << c.flags;
        EXPECT_TRUE(GetUpdateRect(w->GetWindow(), NULL, FALSE)) << c.flags;
        for (const Area& a : c.areas)
            EXPECT_TRUE(Filled(w.get(), a.x0, a.y0, a.x1, a.y1, a.color)) << c.flags << " at " << a.x0 << "," << a.y0;
    }
}

TEST(VexResize, ABitmapThatCannotBeMadeKeepsTheOldPicture)
{
    WindowPtr w = Halves();
    HBITMAP before = w->GetBitmap();
    HDC dc = w->GetDC();
    for (int side : {100000, 0, -5}) {
        w->Resize(side, side, VEX_RESIZE_COPY, 1);
        EXPECT_EQ(w->GetBitmap(), before);
        EXPECT_EQ(w->GetDC(), dc);
        EXPECT_EQ(PictureSize(w.get()), (SIZE{200, 150}));
        EXPECT_EQ(w->GetPixel(10, 10), kRed);
        EXPECT_EQ(w->GetPixel(150, 10), kBlue);
    }
    EXPECT_EQ(ClientSize(w->GetWindow()), (SIZE{200, 150}));
}

TEST(VexResize, AnObjectWithoutABitmapDrawsNothingUntilAResizeSucceeds)
{
    int gdi_before = GdiObjectCount();
    WindowPtr w(NewWindow(100000, 100000));
    ASSERT_NE(w->GetWindow(), nullptr);
    EXPECT_EQ(w->GetBitmap(), nullptr);
    EXPECT_EQ(w->GetDC(), nullptr);
    EXPECT_EQ(PictureSize(w.get()), (SIZE{0, 0}));
    // None of these may touch a bitmap.
    POINT points[] = {{0, 0}, {10, 10}};
    w->Clear(kRed);
    w->Clear();
    w->SetPixel(1, 1, kRed);
    w->MoveTo(1, 1);
    w->LineTo(5, 5, kRed);
    w->Line(0, 0, 9, 9, kRed);
    w->Polyline(points, 2, kRed);
    w->DrawLabel(0, 0, static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT)), "x", kRed);
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
        Canvas c(20, 20);
        w->Draw(c.dc, NULL);
        w->Draw(c.dc, &c.all);
        EXPECT_EQ(c.At(5, 5), kWhite);
    }
    // A size it can make brings the object to life, starting in the colour cleared to above.
    w->Resize(40, 30, VEX_RESIZE_COPY, 0);
    ASSERT_NE(w->GetBitmap(), nullptr);
    EXPECT_EQ(w->GetMaxX(), 39);
    EXPECT_TRUE(Filled(w.get(), 0, 0, 40, 30, kRed));
    w.reset();
    EXPECT_EQ(GdiObjectCount(), gdi_before);
}

TEST(VexExport, RecordingRedirectsDrawingIntoTheMetafile)
{
    WindowPtr w(NewWindow(320, 240));
    HDC memory = w->GetDC();
    w->SetPixel(5, 5, kGreen);
    ASSERT_EQ(w->BeginRecordMetaFile(NULL, "vexplot\0test\0"), 1);
    EXPECT_EQ(GetObjectType(w->GetDC()), static_cast<DWORD>(OBJ_ENHMETADC));
    EXPECT_EQ(GetMapMode(w->GetDC()), MM_ANISOTROPIC);
    w->Clear(kBlue);
    w->Line(0, 120, 320, 120, kRed);
    EXPECT_EQ(::GetPixel(memory, 5, 5), kGreen);
    EXPECT_EQ(::GetPixel(memory, 100, 100), kBlack);
    EXPECT_EQ(w->GetPixel(5, 5), kGreen);  // reads the bitmap

    METAFILEPICT pict;
    memset(&pict, 0xAB, sizeof pict);
    HENHMETAFILE metafile = w->EndRecordMetaFile(&pict);
    ASSERT_NE(metafile, nullptr);
    EXPECT_EQ(w->GetDC(), memory);
    // 0.01 mm of the bitmap on the reference device (the memory DC).
    long long ext_x = 100LL * GetDeviceCaps(memory, HORZSIZE) * 320 / GetDeviceCaps(memory, HORZRES);
    long long ext_y = 100LL * GetDeviceCaps(memory, VERTSIZE) * 240 / GetDeviceCaps(memory, VERTRES);
    EXPECT_EQ(pict.mm, MM_ANISOTROPIC);
    EXPECT_EQ(pict.xExt, ext_x);
    EXPECT_EQ(pict.yExt, ext_y);
    EXPECT_EQ(pict.hMF, nullptr);
    Canvas played(320, 240);
    PlayEnhMetaFile(played.dc, metafile, &played.all);
    EXPECT_EQ(played.At(50, 50), kBlue);
    EXPECT_EQ(played.At(50, 120), kRed);
    DeleteEnhMetaFile(metafile);

    w->SetPixel(7, 7, kRed);
    EXPECT_EQ(::GetPixel(memory, 7, 7), kRed);
    EXPECT_EQ(w->EndRecordMetaFile(&pict), nullptr);
}

TEST(VexExport, ExtentsOfAPictureTooWideFor32BitIntermediates)
{
    WindowPtr w(NewWindow(70000, 2));
    ASSERT_NE(w->GetBitmap(), nullptr);
    HDC memory = w->GetDC();
    ASSERT_EQ(w->BeginRecordMetaFile(NULL, NULL), 1);
    METAFILEPICT pict;
    HENHMETAFILE metafile = w->EndRecordMetaFile(&pict);
    ASSERT_NE(metafile, nullptr);
    ASSERT_GT(100LL * GetDeviceCaps(memory, HORZSIZE) * 70000, 0x7FFFFFFFLL);
    EXPECT_EQ(pict.xExt, 100LL * GetDeviceCaps(memory, HORZSIZE) * 70000 / GetDeviceCaps(memory, HORZRES));
    EXPECT_EQ(pict.yExt, 100LL * GetDeviceCaps(memory, VERTSIZE) * 2 / GetDeviceCaps(memory, VERTRES));
    DeleteEnhMetaFile(metafile);
}

TEST(VexExport, ASecondBeginOrTheObjectsEndClosesTheRunningRecording)
{
    int gdi_before = GdiObjectCount();
    {
        WindowPtr w(NewWindow(50, 50));
        HDC memory = w->GetDC();
        ASSERT_EQ(w->BeginRecordMetaFile(NULL, NULL), 1);
        HDC first = w->GetDC();
        ASSERT_EQ(w->BeginRecordMetaFile(NULL, NULL), 1);
        EXPECT_EQ(GetObjectType(first), 0u);
        HENHMETAFILE metafile = w->EndRecordMetaFile(NULL);
        ASSERT_NE(metafile, nullptr);
        EXPECT_EQ(w->GetDC(), memory);
        DeleteEnhMetaFile(metafile);
        ASSERT_EQ(w->BeginRecordMetaFile(NULL, NULL), 1);
        w->Clear(kRed);
    }
    EXPECT_EQ(GdiObjectCount(), gdi_before);
}

TEST(VexExport, WhileRecordingPaintingCopyingAndResizingUseTheBitmap)
{
    WindowPtr w(NewWindow(100, 80));
    w->Clear(kGreen);
    ASSERT_EQ(w->BeginRecordMetaFile(NULL, NULL), 1);
    HDC metafile_dc = w->GetDC();
    Canvas copy(120, 100);
    w->Draw(copy.dc, NULL);
    EXPECT_EQ(copy.At(50, 50), kGreen);
    // Resizing replaces the bitmap behind the recording and leaves the recording alone.
    w->Resize(60, 40, VEX_RESIZE_COPY, 0);
    EXPECT_EQ(w->GetDC(), metafile_dc);
    EXPECT_EQ(w->GetMaxX(), 59);
    EXPECT_EQ(w->GetPixel(30, 30), kGreen);
    w->Clear(kBlue);
    HENHMETAFILE metafile = w->EndRecordMetaFile(NULL);
    ASSERT_NE(metafile, nullptr);
    Canvas played(100, 80);
    PlayEnhMetaFile(played.dc, metafile, &played.all);
    EXPECT_EQ(played.At(30, 20), kBlue);
    DeleteEnhMetaFile(metafile);
    EXPECT_EQ(GetCurrentObject(w->GetDC(), OBJ_BITMAP), w->GetBitmap());
    EXPECT_EQ(w->GetPixel(30, 30), kGreen);
    w->SetPixel(59, 39, kRed);
    EXPECT_EQ(w->GetPixel(59, 39), kRed);
}

TEST(VexExport, CopyAsBitmapPutsACopyOnTheClipboardAndTheOthersDoNothing)
{
    WindowPtr w(NewWindow(64, 48));
    w->Clear(kBlue);
    w->Line(0, 10, 64, 10, kRed);
    ASSERT_EQ(w->CopyAsBitmap(), 1);
    w->Clear(kGreen);  // the copy stays as it was
    ASSERT_TRUE(OpenClipboard(NULL));
    HBITMAP copy = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, w->GetBitmap());
    BITMAP info;
    ASSERT_TRUE(GetObjectA(copy, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 64);
    EXPECT_EQ(info.bmHeight, 48);
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, copy);
    EXPECT_EQ(::GetPixel(dc, 0, 0), kBlue);
    EXPECT_EQ(::GetPixel(dc, 30, 10), kRed);
    EXPECT_EQ(::GetPixel(dc, 63, 47), kBlue);
    SelectObject(dc, old);
    DeleteDC(dc);
    CloseClipboard();

    // Unsupported members and a clipboard held by another window change nothing.
    DWORD sequence = GetClipboardSequenceNumber();
    EXPECT_EQ(w->CopyAsMetaFile(), 0);
    EXPECT_EQ(w->SaveAsBitmap("vexplot_unsupported.bmp"), 0);
    EXPECT_EQ(w->SaveAsMetaFile("vexplot_unsupported.emf", "x\0y\0"), 0);
    EXPECT_EQ(GetFileAttributesA("vexplot_unsupported.bmp"), INVALID_FILE_ATTRIBUTES);
    HWND holder = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(OpenClipboard(holder));
    int gdi_before = GdiObjectCount();
    EXPECT_EQ(w->CopyAsBitmap(), 0);
    EXPECT_EQ(GdiObjectCount(), gdi_before);  // the copy was deleted
    CloseClipboard();
    DestroyWindow(holder);
    EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
}

}  // namespace
