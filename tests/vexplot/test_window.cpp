// The window side: class registration, size changes, the refresh timer, full-screen mode,
// windows made without an object, the About box and the library's resources.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/testui.h"
#include "tests/vexplot/vexplot_test_util.h"

using namespace vt;

namespace {

using WindowPtr = std::unique_ptr<VexGraphWindow>;
const char kClass[] = "VexGraphV2WClass";

void SetClientSize(HWND hwnd, int w, int h)
{
    RECT outer = WindowRect(hwnd);
    SIZE client = ClientSize(hwnd);
    SetWindowPos(hwnd, NULL, 0, 0, outer.right - outer.left - client.cx + w,
                 outer.bottom - outer.top - client.cy + h, SWP_NOMOVE | SWP_NOZORDER);
}

void PressAltEnter(HWND hwnd) { SendMessageA(hwnd, WM_SYSKEYDOWN, VK_RETURN, 0x20000001); }
void PressEscape(HWND hwnd) { SendMessageA(hwnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001); }

// Runs first: nothing in this program has touched the class before.
TEST(VexWindowClass, RegisterOnceThenReportsOne)
{
    HINSTANCE me = GetModuleHandleA(NULL);
    EXPECT_EQ(VexGraphWindow::usage, 0);
    EXPECT_GE(VexGraphWindow::Register(me), 0xC000);
    EXPECT_EQ(VexGraphWindow::Register(me), 1);
    WNDCLASSA wc;
    ASSERT_TRUE(GetClassInfoA(me, kClass, &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_OWNDC));
    EXPECT_EQ(wc.cbWndExtra, static_cast<int>(3 * sizeof(LONG_PTR)));
    EXPECT_EQ(wc.hbrBackground, GetStockObject(NULL_BRUSH));
    EXPECT_NE(wc.hIcon, nullptr);  // icon 101 of this program
    // The library's own copies of the two controls, for the library's module.
    HMODULE dll = GetModuleHandleA("vexplot3.dll");
    EXPECT_TRUE(GetClassInfoA(dll, "VexClrText", &wc));
    EXPECT_TRUE(GetClassInfoA(dll, "VexHyperLink", &wc));
    EXPECT_FALSE(GetClassInfoA(me, "VexClrText", &wc));
    WindowPtr w(NewWindow(30, 20));
    EXPECT_EQ(VexGraphWindow::usage, 1);
    EXPECT_EQ(VexGraphWindow::GetThis(w->GetWindow()), w.get());
}

TEST(VexWindowSize, MaximizeAndRestoreRebuildMinimizeAndSameSizeDoNot)
{
    redraw_log = RedrawLog();
    WindowPtr w(NewWindow(200, 150, kVisible));
    HWND hwnd = w->GetWindow();
    EXPECT_EQ(redraw_log.calls, 0);  // the size messages of the creation are ignored
    ShowWindow(hwnd, SW_MAXIMIZE);
    SIZE client = ClientSize(hwnd);
    ASSERT_GT(client.cx, 200);
    EXPECT_EQ(redraw_log.calls, 1);
    EXPECT_EQ(redraw_log.hwnd, hwnd);
    EXPECT_EQ(redraw_log.dc, w->GetDC());
    EXPECT_EQ(redraw_log.size, client);
    EXPECT_EQ(PictureSize(w.get()), client);
    EXPECT_EQ(w->GetPixel(client.cx - 1, client.cy - 1), kRedrawColor);
    ShowWindow(hwnd, SW_RESTORE);
    EXPECT_EQ(redraw_log.calls, 2);
    EXPECT_EQ(PictureSize(w.get()), (SIZE{200, 150}));

    w->Clear(kBlue);
    HBITMAP bitmap = w->GetBitmap();
    ShowWindow(hwnd, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(hwnd));
    ShowWindow(hwnd, SW_RESTORE);
    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 150));
    SendMessageA(hwnd, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(300, 300));
    SendMessageA(hwnd, WM_SIZE, SIZE_MAXHIDE, MAKELPARAM(300, 300));
    EXPECT_EQ(redraw_log.calls, 2);
    EXPECT_EQ(w->GetBitmap(), bitmap);
    EXPECT_EQ(w->GetPixel(0, 0), kBlue);

    // Dragging the frame rebuilds too, and shows the picture at once.
    SetClientSize(hwnd, 240, 170);
    EXPECT_EQ(redraw_log.calls, 3);
    EXPECT_EQ(PictureSize(w.get()), (SIZE{240, 170}));
    EXPECT_FALSE(GetUpdateRect(hwnd, NULL, FALSE));
}

TEST(VexWindowSize, WithoutARedrawProcedureSizeChangesStretchAndForceRedrawClears)
{
    redraw_log = RedrawLog();
    WindowPtr w(NewWindow(200, 150, kVisible));
    HWND hwnd = w->GetWindow();
    w->SetRedrawProc(NULL);
    PaintHalves(w.get());
    SetClientSize(hwnd, 400, 300);
    EXPECT_EQ(w->GetMaxX(), 399);
    EXPECT_EQ(w->GetPixel(190, 299), kRed);
    EXPECT_EQ(w->GetPixel(210, 0), kBlue);
    SendMessageA(hwnd, WM_TIMER, VEX_REFRESH_TIMER, 0);  // nothing to call
    EXPECT_EQ(w->GetPixel(190, 299), kRed);
    w->SetBkColor(kGreen);
    w->ForceRedraw();
    EXPECT_TRUE(Filled(w.get(), 0, 0, 400, 300, kGreen));
    EXPECT_EQ(redraw_log.calls, 0);
    w->SetRedrawProc(CountingRedraw);
    w->ForceRedraw();
    EXPECT_EQ(redraw_log.calls, 1);
    EXPECT_EQ(w->GetPixel(5, 5), kRedrawColor);
}

TEST(VexWindowTimer, TheRefreshTimerCallsTheRedrawProcedure)
{
    redraw_log = RedrawLog();
    WindowPtr w(NewWindow(50, 40, kVisible));
    HWND hwnd = w->GetWindow();
    SendMessageA(hwnd, WM_TIMER, 2, 0);  // not ours
    EXPECT_EQ(redraw_log.calls, 0);
    ValidateRect(hwnd, NULL);
    SendMessageA(hwnd, WM_TIMER, VEX_REFRESH_TIMER, 0);
    EXPECT_EQ(redraw_log.calls, 1);
    EXPECT_TRUE(GetUpdateRect(hwnd, NULL, FALSE));
    // Which of the members leave timer 1 running.
    w->SetRefresh(10);
    w->StopRefresh();
    EXPECT_FALSE(KillTimer(hwnd, VEX_REFRESH_TIMER));
    w->AutoRefresh(25);
    EXPECT_TRUE(KillTimer(hwnd, VEX_REFRESH_TIMER));
    w->SetRefresh(25);
    w->AutoRefresh(0);
    EXPECT_FALSE(KillTimer(hwnd, VEX_REFRESH_TIMER));
    w->SetRefresh(25);
    EXPECT_TRUE(KillTimer(hwnd, VEX_REFRESH_TIMER));
}

TEST(VexFullScreen, AltEnterEntersAndEscapeRestoresStyleMenuAndRectangle)
{
    redraw_log = RedrawLog();
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, 40001, "&Close");
    WindowPtr w(NewWindow(200, 150, kVisible, 0, menu));
    HWND hwnd = w->GetWindow();
    LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
    RECT rect = WindowRect(hwnd);
    auto expect_restored = [&] {
        EXPECT_EQ(w->IsFullScreen(), 0);
        EXPECT_EQ(GetWindowLongPtrA(hwnd, GWL_STYLE), style);
        EXPECT_EQ(GetMenu(hwnd), menu);
        RECT now = WindowRect(hwnd);
        EXPECT_TRUE(EqualRect(&now, &rect));
        EXPECT_EQ(PictureSize(w.get()), (SIZE{200, 150}));
    };
    PressAltEnter(hwnd);
    EXPECT_EQ(w->IsFullScreen(), 1);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_POPUP), 0);
    EXPECT_EQ(GetMenu(hwnd), nullptr);
    SIZE screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_EQ(ClientSize(hwnd), screen);
    EXPECT_EQ(PictureSize(w.get()), screen);
    EXPECT_EQ(redraw_log.size, screen);
    PressEscape(hwnd);
    expect_restored();
    // Alt+Enter leaves the mode too, although the full-screen style has no maximize box.
    PressAltEnter(hwnd);
    EXPECT_EQ(w->IsFullScreen(), 1);
    PressAltEnter(hwnd);
    expect_restored();
    PressEscape(hwnd);  // outside the mode: nothing
    expect_restored();
    // Kept menu.
    w->FullScreen(1, 1);
    EXPECT_EQ(GetMenu(hwnd), menu);
    EXPECT_EQ(PictureSize(w.get()), ClientSize(hwnd));
    w->FullScreen(0, 0);
    expect_restored();
}

TEST(VexFullScreen, WithoutAMaximizeBoxAltEnterOnlyBeeps)
{
    testui::BeepCounter beeps({"vexplot3.dll"});
    ASSERT_GT(beeps.patched(), 0);
    WindowPtr w(NewWindow(120, 90, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE));
    RECT rect = WindowRect(w->GetWindow());
    PressAltEnter(w->GetWindow());
    EXPECT_EQ(beeps.exclamations(), 1);
    EXPECT_EQ(beeps.total(), 1);
    EXPECT_EQ(w->IsFullScreen(), 0);
    RECT now = WindowRect(w->GetWindow());
    EXPECT_TRUE(EqualRect(&now, &rect));
}

TEST(VexWrapping, AWindowMadeWithoutAnObjectGetsAnAutoFreedOne)
{
    redraw_log = RedrawLog();
    size_t heap_before = HeapInUse();
    HWND hwnd = CreateWindowExA(0, kClass, "plain", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, NULL,
                                NULL, GetModuleHandleA(NULL), NULL);
    VexGraphWindow* w = VexGraphWindow::GetThis(hwnd);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->GetWindow(), hwnd);
    SIZE client = ClientSize(hwnd);
    EXPECT_EQ(PictureSize(w), client);  // and the window keeps its size
    EXPECT_EQ(w->GetPixel(0, 0), kBlack);
    char text[64] = "";
    EXPECT_GT(GetMenuStringA(GetSystemMenu(hwnd, FALSE), VEX_IDM_ABOUT, text, sizeof text, MF_BYCOMMAND), 0);
    // Size changes are ignored until a redraw procedure is set.
    SetClientSize(hwnd, client.cx + 40, client.cy + 30);
    EXPECT_EQ(PictureSize(w), client);
    w->SetRedrawProc(CountingRedraw);
    SetClientSize(hwnd, client.cx + 50, client.cy + 30);
    EXPECT_EQ(PictureSize(w), (SIZE{client.cx + 50, client.cy + 30}));
    EXPECT_EQ(redraw_log.calls, 1);
    EXPECT_EQ(w->AutoFree(1), 1);
    DestroyWindow(hwnd);
    EXPECT_EQ(HeapInUse(), heap_before);
}

TEST(VexAbout, TheSystemMenuItemOpensTheAboutBox)
{
    WindowPtr w(NewWindow(100, 80, kVisible));
    HMENU system = GetSystemMenu(w->GetWindow(), FALSE);
    char item[64] = "";
    ASSERT_GT(GetMenuStringA(system, VEX_IDM_ABOUT, item, sizeof item, MF_BYCOMMAND), 0);
    EXPECT_STREQ(item, "&About VexGraphWindow...");
    EXPECT_EQ(GetMenuState(system, GetMenuItemCount(system) - 2, MF_BYPOSITION) & MF_SEPARATOR,
              static_cast<UINT>(MF_SEPARATOR));
    WindowPtr plain(NewWindow(30, 20, WS_POPUP));
    EXPECT_EQ(GetSystemMenu(plain->GetWindow(), FALSE), nullptr);

    std::string title;
    COLORREF title_colour = 0;
    HBRUSH brush = NULL;
    HFONT font = NULL;
    HICON icon = NULL;
    testui::ModalScript ui;
    ui.call([&](HWND dlg) {
        title = testui::ItemText(dlg, 1000);
        font = reinterpret_cast<HFONT>(SendDlgItemMessageA(dlg, 1000, WM_GETFONT, 0, 0));
        HDC dc = CreateCompatibleDC(NULL);
        brush = reinterpret_cast<HBRUSH>(SendMessageA(dlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(GetDlgItem(dlg, 1000))));
        title_colour = GetTextColor(dc);
        DeleteDC(dc);
        for (HWND child = GetWindow(dlg, GW_CHILD); child && !icon; child = GetWindow(child, GW_HWNDNEXT))
            icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        testui::Press(dlg, IDOK);
    });
    SendMessageA(w->GetWindow(), WM_SYSCOMMAND, VEX_IDM_ABOUT, 0);
    ASSERT_EQ(ui.seen().size(), 1u);
    EXPECT_EQ(ui.unexpected(), 0);
    EXPECT_EQ(ui.seen()[0].caption, "About VexGraphWindowV3");
    EXPECT_EQ(title, "VexGraphWindowV2 for Win32");
    EXPECT_EQ(title_colour, kRed);
    EXPECT_NE(icon, nullptr);
    // The title's own font and the background brush went with the box.
    ASSERT_NE(font, nullptr);
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_TRUE(IsWindow(w->GetWindow()));
}

TEST(VexResources, TheLibraryCarriesItsIconAndVersionBlock)
{
    HMODULE dll = GetModuleHandleA("vexplot3.dll");
    HICON icon = static_cast<HICON>(LoadImageA(dll, MAKEINTRESOURCEA(101), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
    DestroyIcon(icon);
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(dll, path, MAX_PATH), 0u);
    std::vector<char> block(GetFileVersionInfoSizeA(path, NULL));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, block.size(), block.data()));
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 3));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(18, 0));
    WORD* translation = NULL;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(translation[0], 0x0405);  // Czech, windows-1252
    EXPECT_EQ(translation[1], 1252);
    for (auto [name, expected] : {std::pair<const char*, const char*>{"FileVersion", "3, 0, 0"},
                                  {"InternalName", "vexplot3"}, {"OriginalFilename", "vexplot3.dll"},
                                  {"ProductName", "VexGraph"}}) {
        char* value = NULL;
        std::string query = std::string("\\StringFileInfo\\040504e4\\") + name;
        ASSERT_TRUE(VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) << name;
        EXPECT_STREQ(value, expected);
    }
}

// Runs last (its suite is defined last): afterwards the class is gone for this program.
TEST(VexUnRegister, RemovesTheClassForGood)
{
    HINSTANCE me = GetModuleHandleA(NULL);
    WNDCLASSA wc;
    EXPECT_TRUE(VexGraphWindow::UnRegister(me));
    EXPECT_FALSE(GetClassInfoA(me, kClass, &wc));
    EXPECT_EQ(VexGraphWindow::Register(me), 1);  // not tried again in this process
    EXPECT_FALSE(GetClassInfoA(me, kClass, &wc));
}

}  // namespace
