// vexplot3.dll: the off-screen picture, its window, recording and export, and who frees what.
#include <gtest/gtest.h>
#include <memory>
#include <tuple>
#include <vector>
#include "tests/support/testui.h"
#include "tests/vexplot/vexplot_test_util.h"

using namespace vt;

namespace {
using WindowPtr = std::unique_ptr<VexGraphWindow>;
const DWORD kVisible = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
// A white 32-bit memory picture to copy or play the window's picture into.
struct Canvas {
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP bitmap;
    RECT all;
    Canvas(int w, int h) : bitmap(CreateBitmap(w, h, 1, 32, NULL)), all{0, 0, w, h} {
        SelectObject(dc, bitmap), PatBlt(dc, 0, 0, w, h, WHITENESS);
    }
    ~Canvas() { DeleteDC(dc), DeleteObject(bitmap); }
};
void SetClientSize(HWND hwnd, int w, int h) {
    RECT outer, client;
    GetWindowRect(hwnd, &outer), GetClientRect(hwnd, &client);
    SetWindowPos(hwnd, NULL, 0, 0, outer.right - outer.left - client.right + w,
                 outer.bottom - outer.top - client.bottom + h, SWP_NOMOVE | SWP_NOZORDER);
}
// Runs first: nothing in this program has touched the class before.
TEST(VexWindowClass, RegisterOnceForTheProgramAndTheControlsForTheLibrary) {
    HINSTANCE me = GetModuleHandleA(NULL);
    EXPECT_EQ(VexGraphWindow::usage, 0);
    EXPECT_GE(VexGraphWindow::Register(me), 0xC000) << "the class atom";
    EXPECT_EQ(VexGraphWindow::Register(me), 1) << "registered already";
    WNDCLASSA wc;
    ASSERT_TRUE(GetClassInfoA(me, "VexGraphV2WClass", &wc));
    EXPECT_TRUE(wc.style == CS_OWNDC && wc.hIcon) << wc.style << " " << wc.hIcon;  // icon 101 of this program
    HMODULE dll = GetModuleHandleA("vexplot3.dll");  // with the library's own copies of the controls
    for (const char* cls : {"VexClrText", "VexHyperLink"}) EXPECT_TRUE(GetClassInfoA(dll, cls, &wc)) << cls;
    EXPECT_FALSE(GetClassInfoA(me, "VexClrText", &wc)) << "in the program too";
    WindowPtr w(NewWindow(30, 20));
    EXPECT_EQ(std::tuple(VexGraphWindow::usage, VexGraphWindow::GetThis(w->GetWindow())), std::tuple(1, w.get()));
}
TEST(VexDrawing, PixelsLinesLabelsAndCopies) {
    WindowPtr w(NewWindow(200, 150));
    RECT r, expected = {0, 0, 199, 149};
    w->GetRect(&r), w->SetBkColor(kRed);  // only stored for Clear()
    EXPECT_TRUE(EqualRect(&r, &expected)) << r.right << "x" << r.bottom;
    EXPECT_EQ(ClientSize(w->GetWindow()), std::pair(200, 150));
    EXPECT_TRUE(Filled(w.get(), 0, 0, 200, 150, kBlack));
    w->Clear(), w->SetPixel(5, 6, kGreen);
    EXPECT_EQ(CountPixels(w.get(), 0, 0, 200, 150, kRed), 200 * 150 - 1);
    EXPECT_EQ(std::tuple(w->GetPixel(5, 6), w->GetPixel(200, 6)), std::tuple(kGreen, COLORREF(CLR_INVALID)));
    w->Clear(kBlack), w->MoveTo(10, 10), w->Line(50, 20, 50, 80, kRed);  // Line leaves the position where it was
    EXPECT_EQ(CountPixels(w.get(), 50, 20, 51, 81, kRed), 60);           // not the end point
    w->LineTo(40, 10, kGreen);                                           // from there
    EXPECT_EQ(CountPixels(w.get(), 10, 10, 41, 11, kGreen), 30);
    const POINT corner[] = {{100, 100}, {150, 100}, {150, 140}};
    w->SetLineStyle(PS_SOLID, 3), w->Polyline(corner, 3, kBlue);
    EXPECT_EQ(CountPixels(w.get(), 100, 99, 151, 102, kBlue), 3 * 51);
    SIZE ext;
    w->Clear(kWhite), w->SetTextColor(kBlue), GetTextExtentPoint32A(w->GetDC(), "12,5000", 7, &ext);
    w->DrawLabel(195, 148, NULL, "12,5000",
                 kRed);  // moved inside the right and bottom edges, then the text colour again
    EXPECT_GT(CountPixels(w.get(), 200 - ext.cx, 150 - ext.cy, 200, 150, kRed), 0);
    EXPECT_EQ(GetTextColor(w->GetDC()), kBlue);
    EXPECT_EQ(CountPixels(w.get(), 0, 0, 200, 150 - ext.cy, kRed) + CountPixels(w.get(), 0, 0, 200 - ext.cx, 150, kRed),
              0);
    w->Clear(kGreen);
    Canvas whole(250, 200), part(250, 200);
    RECT rect = {10, 20, 30, 40};
    // all of it at (2, 2); a part in place
    w->Draw(whole.dc, NULL), w->Draw(part.dc, &rect);
    // clang-format off
    for (auto [dc, x, y, color] : {std::tuple{whole.dc, 2, 1, kWhite}, {whole.dc, 1, 2, kWhite}, {whole.dc, 2, 2, kGreen},
                                   {whole.dc, 201, 151, kGreen}, {whole.dc, 202, 151, kWhite}, {whole.dc, 201, 152, kWhite},
                                   {part.dc, 9, 20, kWhite}, {part.dc, 10, 20, kGreen}, {part.dc, 29, 39, kGreen},
                                   {part.dc, 30, 40, kWhite}})
        // clang-format on
        EXPECT_EQ(::GetPixel(dc, x, y), color) << x << "," << y;
}
TEST(VexResize, FlagsChooseTheCopyAndABitmapThatCannotBeMadeKeepsTheOldPicture) {
    struct Area {
        int x0, y0, x1, y1;
        COLORREF color;
    };
    const std::vector<Area> all_green = {{0, 0, 300, 200, kGreen}};
    // clang-format off
    const struct { unsigned flags; int w, h; std::vector<Area> areas; } cases[] = {
        // Unscaled at the top-left on background, or cut; the copy wins over the stretch.
        {VEX_RESIZE_COPY, 300, 200, {{0, 0, 100, 150, kRed}, {100, 0, 200, 150, kBlue}, {200, 0, 300, 200, kGreen}, {0, 150, 200, 200, kGreen}}},
        {VEX_RESIZE_COPY, 120, 50, {{0, 0, 100, 50, kRed}, {100, 0, 120, 50, kBlue}}},
        {VEX_RESIZE_STRETCH, 400, 300, {{0, 0, 196, 300, kRed}, {204, 0, 400, 300, kBlue}}},
        {VEX_RESIZE_COPY | VEX_RESIZE_STRETCH, 400, 300, {{0, 0, 100, 150, kRed}, {200, 0, 400, 300, kGreen}}},
        // Any of the low bits wins over everything; no flag keeps nothing either.
        {0x01 | 0x30, 300, 200, all_green}, {0x08 | 0x20, 300, 200, all_green}, {0x00, 300, 200, all_green},
        {VEX_RESIZE_COPY, 100000, 100000, {}}, {0, 0, 0, {}}, {0, -5, -5, {}}};  // a bitmap that cannot be made
    // clang-format on
    for (const auto& c : cases) {
        WindowPtr w(NewWindow(200, 150, kVisible));  // the left half red, the rest blue
        w->Clear(kBlue), w->SetTextColor(kRed);
        for (int y = 0; y < 150; ++y) w->Line(0, y, 100, y, kRed);
        w->SetBkColor(kGreen);  // the colour of a new picture
        HBITMAP before = w->GetBitmap();
        ValidateRect(w->GetWindow(), NULL);
        w->Resize(c.w, c.h, c.flags, 1);
        const bool made = !c.areas.empty();  // else the old picture, size and window stay
        EXPECT_EQ(PictureSize(w.get()), made ? std::pair(c.w, c.h) : std::pair(200, 150)) << c.flags;
        EXPECT_EQ(ClientSize(w->GetWindow()), PictureSize(w.get())) << c.flags;
        EXPECT_EQ(std::tuple(GetUpdateRect(w->GetWindow(), NULL, FALSE) != 0, w->GetBitmap() != before),
                  std::tuple(made, made))
            << "update pending, new bitmap; flags " << c.flags;
        EXPECT_TRUE(made || w->GetPixel(10, 10) == kRed) << "the old picture stays; flags " << c.flags;
        EXPECT_EQ(std::tuple(GetTextColor(w->GetDC()), GetBkColor(w->GetDC())), std::tuple(kRed, kGreen)) << c.flags;
        for (const Area& a : c.areas)
            EXPECT_TRUE(Filled(w.get(), a.x0, a.y0, a.x1, a.y1, a.color)) << c.flags << " at " << a.x0;
    }
}
TEST(VexExport, RecordingTakesTheDrawingWhilePaintingReadingAndResizingUseTheBitmap) {
    const int gdi_before = GdiObjectCount();
    WindowPtr w(NewWindow(320, 240));
    HDC memory = w->GetDC();
    w->SetPixel(5, 5, kGreen);
    ASSERT_EQ(w->BeginRecordMetaFile(NULL, NULL), 1);
    HDC first = w->GetDC();
    ASSERT_EQ(w->BeginRecordMetaFile(NULL, "vexplot\0test\0"), 1);  // closes the first
    EXPECT_EQ(std::tuple(GetObjectType(first), GetObjectType(w->GetDC()), GetMapMode(w->GetDC())),
              std::tuple(0ul, DWORD(OBJ_ENHMETADC), MM_ANISOTROPIC));
    w->Clear(kBlue), w->Line(0, 120, 320, 120, kRed);
    Canvas copy(330, 250), played(320, 240);
    w->Draw(copy.dc, NULL);
    EXPECT_EQ(std::tuple(::GetPixel(memory, 100, 100), w->GetPixel(5, 5), ::GetPixel(copy.dc, 7, 7)),
              std::tuple(kBlack, kGreen, kGreen));
    METAFILEPICT pict;
    HENHMETAFILE metafile = w->EndRecordMetaFile(&pict);
    EXPECT_EQ(std::tuple(w->GetDC(), pict.mm, pict.hMF), std::tuple(memory, LONG(MM_ANISOTROPIC), HMETAFILE(NULL)));
    EXPECT_FALSE(w->EndRecordMetaFile(&pict)) << "nothing recorded any more";
    // 0.01 mm of the bitmap on the reference device (the memory DC).
    EXPECT_EQ(pict.xExt, 100LL * GetDeviceCaps(memory, HORZSIZE) * 320 / GetDeviceCaps(memory, HORZRES));
    EXPECT_EQ(pict.yExt, 100LL * GetDeviceCaps(memory, VERTSIZE) * 240 / GetDeviceCaps(memory, VERTRES));
    PlayEnhMetaFile(played.dc, metafile, &played.all), DeleteEnhMetaFile(metafile);
    EXPECT_EQ(::GetPixel(played.dc, 50, 50) + ::GetPixel(played.dc, 50, 120), kBlue + kRed);
    ASSERT_EQ(w->BeginRecordMetaFile(NULL, NULL), 1);
    HDC metafile_dc = w->GetDC();
    w->Resize(60, 40, VEX_RESIZE_COPY, 0);  // the bitmap behind the recording
    EXPECT_EQ(std::tuple(w->GetDC(), w->GetPixel(5, 5)), std::tuple(metafile_dc, kGreen));
    ASSERT_EQ(w->CopyAsBitmap(), 1);  // from the bitmap too, and a copy
    HDC dc = CreateCompatibleDC(NULL);
    ASSERT_TRUE(OpenClipboard(NULL));
    SelectObject(dc, GetClipboardData(CF_BITMAP)), BitBlt(copy.dc, 0, 0, 60, 40, dc, 0, 0, SRCCOPY), DeleteDC(dc),
        EmptyClipboard(), CloseClipboard();
    EXPECT_EQ(::GetPixel(copy.dc, 5, 5) + ::GetPixel(copy.dc, 59, 39), kGreen + kBlack);
    w.reset();                                    // with the recording running
    EXPECT_EQ(GdiObjectCount(), gdi_before + 4);  // the canvases
}
// One life of an auto-freed window that is drawn on, resized, recorded and closed.
void OneAutoFreedWindow() {
    VexGraphWindow* w = NewWindow(160, 120, kVisible, 1);
    HWND hwnd = w->GetWindow();
    w->DrawLabel(150, 110, static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT)), "1,2500", kRed);
    w->Resize(200, 150, VEX_RESIZE_STRETCH, 1);
    w->BeginRecordMetaFile(NULL, NULL), w->SetRefresh(1000), UpdateWindow(hwnd);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
}
// The program allocates the objects and the library deletes auto-freed ones at WM_DESTROY,
// so both must use the same heap; nothing may be leaked or freed twice.
TEST(VexLifecycle, AutoFreedObjectsGoBackToTheProgramsHeapAndOthersOutliveTheirWindow) {
    OneAutoFreedWindow();  // the first window may leave lasting objects in the system
    const size_t heap_before = HeapInUse();
    const int gdi_before = GdiObjectCount();
    for (int i = 0; i < 20; ++i) OneAutoFreedWindow();
    VexGraphWindow* w = NewWindow(80, 60, kVisible);
    SendMessageA(w->GetWindow(), WM_CLOSE, 0, 0), w->Clear(kRed), w->FullScreen(1, 0),
        w->Resize(40, 30, VEX_RESIZE_COPY, 1);
    // It outlives the window and forgets the handle.
    EXPECT_EQ(std::tuple(w->GetWindow(), w->GetPixel(2, 2), w->IsFullScreen()), std::tuple(HWND(nullptr), kRed, 0));
    delete w;
    delete NewWindow(50, 40, kVisible, 1);  // an auto-freed object deleted with its window open: freed once
    HWND plain =
        CreateWindowExA(0, "VexGraphV2WClass", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(w = VexGraphWindow::GetThis(plain)) << "made without an object: given an auto-freed one";
    EXPECT_EQ(w->GetWindow(), plain);
    EXPECT_EQ(std::tuple(PictureSize(w), w->GetPixel(0, 0), w->AutoFree(1)), std::tuple(ClientSize(plain), kBlack, 1));
    DestroyWindow(plain);
    EXPECT_EQ(HeapInUse(), heap_before);
    EXPECT_EQ(GdiObjectCount(), gdi_before);
}
TEST(VexWindow, SizeChangesRebuildThroughTheRedrawProcedureOrStretchAndTheTimerRedraws) {
    redraw_calls = 0;
    WindowPtr w(NewWindow(200, 150, kVisible));
    HWND hwnd = w->GetWindow();
    EXPECT_EQ(redraw_calls, 0);  // the size messages of the creation are ignored
    ShowWindow(hwnd, SW_MAXIMIZE);
    EXPECT_GT(ClientSize(hwnd).first, 201);
    EXPECT_EQ(std::tuple(PictureSize(w.get()), w->GetPixel(w->GetMaxX(), w->GetMaxY())),
              std::tuple(ClientSize(hwnd), kRedrawColor));
    ShowWindow(hwnd, SW_RESTORE), w->Clear(kBlue), ShowWindow(hwnd, SW_MINIMIZE), ShowWindow(hwnd, SW_RESTORE);
    EXPECT_EQ(std::tuple(w->GetPixel(0, 0), PictureSize(w.get()), redraw_calls),
              std::tuple(kBlue, std::pair(200, 150), 2));
    SetClientSize(hwnd, 240, 170);  // dragging the frame rebuilds too, and shows it at once
    EXPECT_EQ(std::tuple(redraw_calls, PictureSize(w.get()), GetUpdateRect(hwnd, NULL, FALSE)),
              std::tuple(3, std::pair(240, 170), FALSE));
    SendMessageA(hwnd, WM_TIMER, 2, 0), SendMessageA(hwnd, WM_TIMER, VEX_REFRESH_TIMER, 0);  // another timer, then ours
    EXPECT_EQ(std::tuple(redraw_calls, GetUpdateRect(hwnd, NULL, FALSE)), std::tuple(4, TRUE));
    const bool stopped = (w->SetRefresh(10), w->StopRefresh(),
                          !KillTimer(hwnd, VEX_REFRESH_TIMER));  // which members leave timer 1 running
    EXPECT_TRUE(stopped) << "StopRefresh";
    EXPECT_FALSE((w->SetRefresh(25), w->AutoRefresh(0), KillTimer(hwnd, VEX_REFRESH_TIMER))) << "AutoRefresh(0)";
    EXPECT_TRUE((w->AutoRefresh(25), KillTimer(hwnd, VEX_REFRESH_TIMER))) << "AutoRefresh(25)";
    w->SetRedrawProc(NULL), w->Clear(kBlue),
        w->SetPixel(0, 169, kRed);  // then the picture stretches and ForceRedraw clears it
    SetClientSize(hwnd, 480, 340);
    EXPECT_EQ(std::pair(w->GetPixel(1, 339), w->GetPixel(210, 0)), std::pair(kRed, kBlue));
    SendMessageA(hwnd, WM_TIMER, VEX_REFRESH_TIMER, 0), w->SetBkColor(kGreen), w->ForceRedraw();
    EXPECT_TRUE(Filled(w.get(), 0, 0, 480, 340, kGreen));
    w->SetRedrawProc(CountingRedraw), w->ForceRedraw();
    EXPECT_EQ(std::tuple(redraw_calls, w->GetPixel(5, 5)), std::tuple(5, kRedrawColor));
}
TEST(VexWindow, AltEnterTogglesFullScreenAndEscapeRestoresStyleMenuAndRectangle) {
    HMENU menu = CreateMenu();
    for (int i = 0; i < 6; ++i) AppendMenuA(menu, MF_STRING, 500 + i, "&Menu item");
    WindowPtr w(NewWindow(420, 100, kVisible, 0, menu));
    HWND hwnd = w->GetWindow();
    EXPECT_EQ(ClientSize(hwnd), std::pair(420, 100));  // though the menu wrapped at the creation
    const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
    RECT rect, now;
    GetWindowRect(hwnd, &rect);
    auto alt_enter = [](HWND h) { SendMessageA(h, WM_SYSKEYDOWN, VK_RETURN, 0x20000001); };
    auto expect_restored = [&] {
        EXPECT_EQ(std::tuple(w->IsFullScreen(), GetWindowLongPtrA(hwnd, GWL_STYLE), GetMenu(hwnd)),
                  std::tuple(0, style, menu));
        GetWindowRect(hwnd, &now);
        EXPECT_TRUE(EqualRect(&now, &rect)) << now.left << "," << now.top << " " << now.right << "," << now.bottom;
        EXPECT_EQ(PictureSize(w.get()), std::pair(420, 100));
    };
    alt_enter(hwnd);
    EXPECT_EQ(w->IsFullScreen(), 1);  // no frame, no menu, the whole screen
    EXPECT_EQ((GetWindowLongPtrA(hwnd, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_POPUP)) | (LONG_PTR)GetMenu(hwnd),
              0);
    EXPECT_EQ(PictureSize(w.get()), std::pair(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    SendMessageA(hwnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001), expect_restored();
    alt_enter(hwnd), alt_enter(hwnd),
        expect_restored();  // leaves too, although the full-screen style has no maximize box
    SendMessageA(hwnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);  // outside the mode: nothing
    w->FullScreen(1, 1);
    EXPECT_EQ(std::tuple(GetMenu(hwnd), w->IsFullScreen()), std::tuple(menu, 1));
    w->FullScreen(0, 0), expect_restored();
    testui::BeepCounter beeps({"vexplot3.dll"});  // without a maximize box it only beeps
    WindowPtr plain(NewWindow(120, 90, WS_POPUP | WS_CAPTION | WS_VISIBLE));
    alt_enter(plain->GetWindow());
    EXPECT_EQ(std::tuple(beeps.exclamations(), beeps.total(), plain->IsFullScreen()), std::tuple(1, 1, 0));
}
TEST(VexWindow, TheSystemMenuItemOpensTheAboutBoxWhoseFontAndBrushGoWithIt) {
    WindowPtr w(NewWindow(100, 80, kVisible));
    EXPECT_NE(GetMenuState(GetSystemMenu(w->GetWindow(), FALSE), VEX_IDM_ABOUT, MF_BYCOMMAND), (UINT)-1);
    std::string seen;
    HGDIOBJ brush = NULL, font = NULL;
    testui::ModalScript ui;
    ui.call([&](HWND dlg) {
        HDC dc = CreateCompatibleDC(NULL);
        brush = (HGDIOBJ)SendMessageA(dlg, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)GetDlgItem(dlg, 1000)),
        font = (HGDIOBJ)SendDlgItemMessageA(dlg, 1000, WM_GETFONT, 0, 0);
        seen = testui::ItemText(dlg, 1000) + " " + std::to_string(GetTextColor(dc)), DeleteDC(dc),
        testui::Press(dlg, IDOK);
    });
    SendMessageA(w->GetWindow(), WM_SYSCOMMAND, VEX_IDM_ABOUT, 0);
    EXPECT_EQ(seen, "VexGraphWindowV2 for Win32 255");  // the title in red
    ASSERT_TRUE(brush && font) << brush << " " << font;
    EXPECT_EQ(std::tuple(GetObjectType(brush), GetObjectType(font)), std::tuple(0ul, 0ul));  // gone with the box
}
}  // namespace
