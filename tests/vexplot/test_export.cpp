// Handing the picture out: metafile recording and the clipboard.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/vexplot/vexplot_test_util.h"

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);

using WindowPtr = std::unique_ptr<VexGraphWindow>;

// The colour of pixel (x, y) of a metafile played onto a white w x h picture.
COLORREF PlayedPixel(HENHMETAFILE metafile, int w, int h, int x, int y)
{
    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(NULL, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    PlayEnhMetaFile(dc, metafile, &all);
    COLORREF c = ::GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return c;
}

// Pixels of a bitmap read without selecting it anywhere (the clipboard owns it).
std::vector<COLORREF> ReadBitmap(HBITMAP bitmap, int w, int h)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> raw(static_cast<size_t>(w) * h);
    HDC screen = GetDC(NULL);
    int rows = GetDIBits(screen, bitmap, 0, h, raw.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    std::vector<COLORREF> out;
    if (rows != h)
        return out;
    for (DWORD px : raw)
        out.push_back(RGB((px >> 16) & 0xff, (px >> 8) & 0xff, px & 0xff));
    return out;
}

void PutTextOnClipboard(const char* text)
{
    ASSERT_TRUE(OpenClipboard(NULL));
    EmptyClipboard();
    size_t n = strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n);
    memcpy(GlobalLock(block), text, n);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

std::string ClipboardText()
{
    std::string text;
    if (!OpenClipboard(NULL))
        return text;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

TEST(VexExport, RecordingRedirectsDrawingIntoTheMetafile)
{
    WindowPtr w(vt::NewWindow(320, 240));
    HDC memory = w->GetDC();
    w->SetPixel(5, 5, kGreen);

    ASSERT_EQ(w->BeginRecordMetaFile(NULL, "vexplot\0test\0"), 1);
    EXPECT_NE(w->GetDC(), memory);
    EXPECT_EQ(GetObjectType(w->GetDC()), static_cast<DWORD>(OBJ_ENHMETADC));
    EXPECT_EQ(GetMapMode(w->GetDC()), MM_ANISOTROPIC);
    w->Clear(kBlue);
    w->Line(0, 120, 320, 120, kRed);
    // The bitmap is untouched while recording; GetPixel reads the bitmap.
    EXPECT_EQ(::GetPixel(memory, 5, 5), kGreen);
    EXPECT_EQ(::GetPixel(memory, 100, 100), kBlack);
    EXPECT_EQ(w->GetPixel(5, 5), kGreen);

    METAFILEPICT pict;
    memset(&pict, 0xAB, sizeof pict);
    HENHMETAFILE metafile = w->EndRecordMetaFile(&pict);
    ASSERT_NE(metafile, nullptr);
    EXPECT_EQ(w->GetDC(), memory);

    // Extents in 0.01 mm of the bitmap on the reference device (the memory DC).
    long long expected_x = 100LL * GetDeviceCaps(memory, HORZSIZE) * 320 / GetDeviceCaps(memory, HORZRES);
    long long expected_y = 100LL * GetDeviceCaps(memory, VERTSIZE) * 240 / GetDeviceCaps(memory, VERTRES);
    EXPECT_EQ(pict.mm, MM_ANISOTROPIC);
    EXPECT_EQ(pict.xExt, expected_x);
    EXPECT_EQ(pict.yExt, expected_y);
    EXPECT_EQ(pict.hMF, nullptr);

    ENHMETAHEADER header;
    ASSERT_TRUE(GetEnhMetaFileHeader(metafile, sizeof header, &header));
    EXPECT_EQ(header.rclFrame.left, 0);
    EXPECT_NEAR(header.rclFrame.right, expected_x, 1);
    EXPECT_NEAR(header.rclFrame.bottom, expected_y, 1);

    // Played back, the metafile holds the recorded picture.
    EXPECT_EQ(PlayedPixel(metafile, 320, 240, 50, 50), kBlue);
    EXPECT_EQ(PlayedPixel(metafile, 320, 240, 50, 120), kRed);
    DeleteEnhMetaFile(metafile);

    // Drawing goes to the bitmap again.
    w->SetPixel(7, 7, kRed);
    EXPECT_EQ(::GetPixel(memory, 7, 7), kRed);
    // Nothing to end now.
    EXPECT_EQ(w->EndRecordMetaFile(&pict), nullptr);
}

TEST(VexExport, TheExtentFormulaUsesTheDeviceSizeInMillimetres)
{
    // 320 x 240 on a device of 320 mm x 1024 px and 240 mm x 768 px gives 10000 x 7500;
    // here the formula runs on whatever device this machine has, for a width at which
    // millimetres x pixels x 100 no longer fits 32 bits.
    WindowPtr w(vt::NewWindow(70000, 2));
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

TEST(VexExport, ASecondBeginEndsTheRunningRecording)
{
    int gdi_before = vt::GdiObjectCount();
    {
        WindowPtr w(vt::NewWindow(50, 50));
        HDC memory = w->GetDC();
        ASSERT_EQ(w->BeginRecordMetaFile(NULL, NULL), 1);
        HDC first = w->GetDC();
        ASSERT_EQ(w->BeginRecordMetaFile(NULL, NULL), 1);
        EXPECT_EQ(GetObjectType(first), 0u);  // closed and gone
        HENHMETAFILE metafile = w->EndRecordMetaFile(NULL);
        ASSERT_NE(metafile, nullptr);
        EXPECT_EQ(w->GetDC(), memory);
        DeleteEnhMetaFile(metafile);
        // A recording still running when the object goes is closed and deleted with it.
        ASSERT_EQ(w->BeginRecordMetaFile(NULL, NULL), 1);
        w->Clear(kRed);
    }
    EXPECT_EQ(vt::GdiObjectCount(), gdi_before);
}

TEST(VexExport, WhileRecordingThePictureIsStillTheBitmap)
{
    WindowPtr w(vt::NewWindow(100, 80));
    w->Clear(kGreen);
    ASSERT_EQ(w->BeginRecordMetaFile(NULL, NULL), 1);
    HDC metafile_dc = w->GetDC();

    // Painting the window and copying out use the bitmap, not the metafile DC.
    HDC screen = GetDC(NULL);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP target_bitmap = CreateCompatibleBitmap(screen, 120, 100);
    ReleaseDC(NULL, screen);
    HGDIOBJ old = SelectObject(target, target_bitmap);
    w->Draw(target, NULL);
    EXPECT_EQ(::GetPixel(target, 50, 50), kGreen);
    SelectObject(target, old);
    DeleteObject(target_bitmap);
    DeleteDC(target);

    // Resizing replaces the bitmap behind the recording and leaves the recording alone.
    w->Resize(60, 40, VEX_RESIZE_COPY, 0);
    EXPECT_EQ(w->GetDC(), metafile_dc);
    EXPECT_EQ(w->GetMaxX(), 59);
    EXPECT_EQ(w->GetPixel(30, 30), kGreen);
    w->Clear(kBlue);
    HENHMETAFILE metafile = w->EndRecordMetaFile(NULL);
    ASSERT_NE(metafile, nullptr);
    // Played at the size the recording started with, the new 60 x 40 picture is blue.
    EXPECT_EQ(PlayedPixel(metafile, 100, 80, 30, 20), kBlue);
    DeleteEnhMetaFile(metafile);

    EXPECT_EQ(GetObjectType(w->GetDC()), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_EQ(GetCurrentObject(w->GetDC(), OBJ_BITMAP), w->GetBitmap());
    EXPECT_EQ(w->GetPixel(30, 30), kGreen);
    w->SetPixel(59, 39, kRed);
    EXPECT_EQ(w->GetPixel(59, 39), kRed);
}

TEST(VexExport, CopyAsBitmapPutsACopyOnTheClipboard)
{
    WindowPtr w(vt::NewWindow(64, 48));
    w->Clear(kBlue);
    w->Line(0, 10, 64, 10, kRed);
    ASSERT_EQ(w->CopyAsBitmap(), 1);
    // Changing the picture afterwards does not change the copy.
    w->Clear(kGreen);

    ASSERT_TRUE(OpenClipboard(NULL));
    HBITMAP copy = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, w->GetBitmap());
    BITMAP info;
    ASSERT_TRUE(GetObjectA(copy, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 64);
    EXPECT_EQ(info.bmHeight, 48);
    std::vector<COLORREF> px = ReadBitmap(copy, 64, 48);
    CloseClipboard();
    ASSERT_EQ(px.size(), 64u * 48u);
    EXPECT_EQ(px[0], kBlue);
    EXPECT_EQ(px[10 * 64 + 30], kRed);
    EXPECT_EQ(px[47 * 64 + 63], kBlue);
}

TEST(VexExport, CopyAsBitmapFailsWhenTheClipboardIsHeldElsewhere)
{
    WindowPtr w(vt::NewWindow(20, 20));
    PutTextOnClipboard("kept");
    HWND holder = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(OpenClipboard(holder));
    int gdi_before = vt::GdiObjectCount();
    // Open for another window: opening it for no window fails.
    EXPECT_EQ(w->CopyAsBitmap(), 0);
    EXPECT_EQ(vt::GdiObjectCount(), gdi_before);  // the copy was deleted
    CloseClipboard();
    DestroyWindow(holder);
    EXPECT_EQ(ClipboardText(), "kept");
}

TEST(VexExport, UnsupportedMembersReturnZeroAndChangeNothing)
{
    WindowPtr w(vt::NewWindow(20, 20));
    PutTextOnClipboard("unchanged");
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string bmp = std::string(dir) + "vexplot_unsupported.bmp";
    std::string emf = std::string(dir) + "vexplot_unsupported.emf";
    DeleteFileA(bmp.c_str());
    DeleteFileA(emf.c_str());

    EXPECT_EQ(w->CopyAsMetaFile(), 0);
    EXPECT_EQ(w->SaveAsBitmap(bmp.c_str()), 0);
    EXPECT_EQ(w->SaveAsMetaFile(emf.c_str(), "x\0y\0"), 0);
    EXPECT_EQ(ClipboardText(), "unchanged");
    EXPECT_EQ(GetFileAttributesA(bmp.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA(emf.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
