// The window side: class registration, size changes, full-screen mode, the refresh timer,
// windows made without an object, and the About box.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/testui.h"
#include "tests/vexplot/vexplot_test_util.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const char kClass[] = "VexGraphV2WClass";

using WindowPtr = std::unique_ptr<VexGraphWindow>;

const DWORD kVisible = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

RECT WindowRect(HWND hwnd)
{
    RECT r = {0, 0, 0, 0};
    GetWindowRect(hwnd, &r);
    return r;
}

// Sizes the window so that its client area is w x h.
void SetClientSize(HWND hwnd, int w, int h)
{
    RECT outer = WindowRect(hwnd);
    SIZE client = vt::ClientSize(hwnd);
    SetWindowPos(hwnd, NULL, 0, 0, outer.right - outer.left - client.cx + w,
                 outer.bottom - outer.top - client.cy + h, SWP_NOMOVE | SWP_NOZORDER);
}

void PressAltEnter(HWND hwnd)
{
    SendMessageA(hwnd, WM_SYSKEYDOWN, VK_RETURN, 0x20000001);
}

void PressEscape(HWND hwnd)
{
    SendMessageA(hwnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
}

// Runs first: nothing in this program has touched the class before.
TEST(VexWindowClass, RegisterOnceThenReportsOne)
{
    HINSTANCE me = GetModuleHandleA(NULL);
    EXPECT_EQ(VexGraphWindow::usage, 0);
    int atom = VexGraphWindow::Register(me);
    EXPECT_GE(atom, 0xC000);
    EXPECT_EQ(VexGraphWindow::Register(me), 1);
    EXPECT_EQ(VexGraphWindow::usage, 0);

    WNDCLASSA wc;
    ASSERT_TRUE(GetClassInfoA(me, kClass, &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_OWNDC));
    EXPECT_EQ(wc.cbClsExtra, 0);
    EXPECT_EQ(wc.cbWndExtra, static_cast<int>(3 * sizeof(LONG_PTR)));
    EXPECT_EQ(wc.hbrBackground, GetStockObject(NULL_BRUSH));
    EXPECT_EQ(wc.hCursor, LoadCursorA(NULL, IDC_ARROW));
    EXPECT_NE(wc.hIcon, nullptr);  // icon 101 of this program
    EXPECT_EQ(wc.lpszMenuName, nullptr);
    // The library's own copies of the two controls were registered on the way, for the
    // library's module.
    HMODULE dll = GetModuleHandleA("vexplot3.dll");
    ASSERT_NE(dll, nullptr);
    EXPECT_TRUE(GetClassInfoA(dll, "VexClrText", &wc));
    EXPECT_TRUE(GetClassInfoA(dll, "VexHyperLink", &wc));
    EXPECT_FALSE(GetClassInfoA(me, "VexClrText", &wc));

    WindowPtr w(vt::NewWindow(30, 20));
    EXPECT_EQ(VexGraphWindow::usage, 1);
    EXPECT_EQ(VexGraphWindow::GetThis(w->GetWindow()), w.get());
}

TEST(VexWindowClass, TheSystemMenuGetsTheAboutItem)
{
    WindowPtr w(vt::NewWindow(30, 20));
    HMENU system = GetSystemMenu(w->GetWindow(), FALSE);
    char text[64] = "";
    ASSERT_GT(GetMenuStringA(system, VEX_IDM_ABOUT, text, sizeof text, MF_BYCOMMAND), 0);
    EXPECT_STREQ(text, "&About VexGraphWindow...");
    int count = GetMenuItemCount(system);
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoA(system, count - 2, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_SEPARATOR);

    // No system menu, no item.
    WindowPtr plain(vt::NewWindow(30, 20, WS_POPUP));
    EXPECT_EQ(GetSystemMenu(plain->GetWindow(), FALSE), nullptr);
}

TEST(VexWindowSize, MaximizeAndRestoreRebuildMinimizeAndSameSizeDoNot)
{
    vt::redraw_log = vt::RedrawLog();
    WindowPtr w(vt::NewWindow(200, 150, kVisible));
    HWND hwnd = w->GetWindow();
    // The size messages of the creation are ignored.
    EXPECT_EQ(vt::redraw_log.calls, 0);

    ShowWindow(hwnd, SW_MAXIMIZE);
    SIZE client = vt::ClientSize(hwnd);
    ASSERT_GT(client.cx, 200);
    EXPECT_EQ(vt::redraw_log.calls, 1);
    EXPECT_EQ(vt::redraw_log.hwnd, hwnd);
    EXPECT_EQ(vt::redraw_log.dc, w->GetDC());
    EXPECT_EQ(vt::redraw_log.width, client.cx);
    EXPECT_EQ(vt::redraw_log.height, client.cy);
    EXPECT_EQ(w->GetMaxX(), client.cx - 1);
    EXPECT_EQ(w->GetPixel(client.cx - 1, client.cy - 1), vt::kRedrawColor);

    ShowWindow(hwnd, SW_RESTORE);
    EXPECT_EQ(vt::redraw_log.calls, 2);
    EXPECT_EQ(w->GetMaxX(), 199);
    EXPECT_EQ(w->GetMaxY(), 149);

    w->Clear(kBlue);
    HBITMAP bitmap = w->GetBitmap();
    ShowWindow(hwnd, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(hwnd));
    ShowWindow(hwnd, SW_RESTORE);
    EXPECT_EQ(vt::redraw_log.calls, 2);
    EXPECT_EQ(w->GetBitmap(), bitmap);
    EXPECT_EQ(w->GetPixel(0, 0), kBlue);

    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 150));
    SendMessageA(hwnd, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(300, 300));
    SendMessageA(hwnd, WM_SIZE, SIZE_MAXHIDE, MAKELPARAM(300, 300));
    EXPECT_EQ(vt::redraw_log.calls, 2);
    EXPECT_EQ(w->GetBitmap(), bitmap);

    // Dragging the frame is a restored size change like any other.
    SetClientSize(hwnd, 240, 170);
    EXPECT_EQ(vt::redraw_log.calls, 3);
    EXPECT_EQ(w->GetMaxX(), 239);
    EXPECT_EQ(w->GetMaxY(), 169);
    // Shown at once: nothing is left to paint.
    EXPECT_FALSE(GetUpdateRect(hwnd, NULL, FALSE));
}

TEST(VexWindowSize, WithoutARedrawProcedureSizeChangesStretchAndForceRedrawClears)
{
    vt::redraw_log = vt::RedrawLog();
    WindowPtr w(vt::NewWindow(200, 150, kVisible));
    HWND hwnd = w->GetWindow();
    w->SetRedrawProc(NULL);
    w->Clear(kBlue);
    HBRUSH red = CreateSolidBrush(kRed);
    RECT left = {0, 0, 100, 150};
    FillRect(w->GetDC(), &left, red);
    DeleteObject(red);

    SetClientSize(hwnd, 400, 300);
    EXPECT_EQ(w->GetMaxX(), 399);
    EXPECT_EQ(w->GetPixel(190, 299), kRed);
    EXPECT_EQ(w->GetPixel(210, 0), kBlue);

    // The refresh timer does nothing without a procedure.
    SendMessageA(hwnd, WM_TIMER, VEX_REFRESH_TIMER, 0);
    EXPECT_EQ(w->GetPixel(190, 299), kRed);

    w->SetBkColor(kGreen);
    w->ForceRedraw();
    EXPECT_EQ(vt::CountPixels(w.get(), 0, 0, 400, 300, kGreen), 400 * 300);
    EXPECT_EQ(vt::redraw_log.calls, 0);

    // With a procedure, ForceRedraw asks it for the picture.
    w->SetRedrawProc(vt::CountingRedraw);
    w->ForceRedraw();
    EXPECT_EQ(vt::redraw_log.calls, 1);
    EXPECT_EQ(w->GetPixel(5, 5), vt::kRedrawColor);
}

TEST(VexWindowTimer, TheRefreshTimerCallsTheRedrawProcedure)
{
    vt::redraw_log = vt::RedrawLog();
    WindowPtr w(vt::NewWindow(50, 40, kVisible));
    HWND hwnd = w->GetWindow();

    // Only timer 1 counts.
    SendMessageA(hwnd, WM_TIMER, 2, 0);
    EXPECT_EQ(vt::redraw_log.calls, 0);
    ValidateRect(hwnd, NULL);
    SendMessageA(hwnd, WM_TIMER, VEX_REFRESH_TIMER, 0);
    EXPECT_EQ(vt::redraw_log.calls, 1);
    EXPECT_TRUE(GetUpdateRect(hwnd, NULL, FALSE));

    w->SetRefresh(10);
    // A thread timer ends the wait should the refresh timer never fire.
    UINT_PTR guard = SetTimer(NULL, 0, 10000, NULL);
    MSG msg;
    while (vt::redraw_log.calls < 4 && GetMessageA(&msg, NULL, 0, 0)) {
        if (msg.message == WM_TIMER && msg.hwnd == NULL && msg.wParam == guard)
            break;
        DispatchMessageA(&msg);
    }
    KillTimer(NULL, guard);
    EXPECT_GE(vt::redraw_log.calls, 4);
    EXPECT_EQ(vt::redraw_log.hwnd, hwnd);

    w->StopRefresh();
    EXPECT_FALSE(KillTimer(hwnd, VEX_REFRESH_TIMER));
    w->AutoRefresh(25);
    EXPECT_TRUE(KillTimer(hwnd, VEX_REFRESH_TIMER));
    w->SetRefresh(25);
    w->AutoRefresh(0);
    EXPECT_FALSE(KillTimer(hwnd, VEX_REFRESH_TIMER));
}

TEST(VexFullScreen, AltEnterEntersAndEscapeRestoresStyleMenuAndRectangle)
{
    vt::redraw_log = vt::RedrawLog();
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, 40001, "&Close");
    WindowPtr w(vt::NewWindow(200, 150, kVisible, vt::CountingRedraw, 0, menu));
    HWND hwnd = w->GetWindow();
    LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
    RECT rect = WindowRect(hwnd);

    PressAltEnter(hwnd);
    EXPECT_EQ(w->IsFullScreen(), 1);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_POPUP), 0);
    EXPECT_EQ(GetMenu(hwnd), nullptr);
    SIZE client = vt::ClientSize(hwnd);
    EXPECT_EQ(client.cx, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(client.cy, GetSystemMetrics(SM_CYSCREEN));
    // The picture followed the new size through the redraw procedure.
    EXPECT_EQ(w->GetMaxX(), client.cx - 1);
    EXPECT_EQ(w->GetMaxY(), client.cy - 1);
    EXPECT_GE(vt::redraw_log.calls, 1);
    EXPECT_EQ(vt::redraw_log.width, client.cx);

    PressEscape(hwnd);
    EXPECT_EQ(w->IsFullScreen(), 0);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWL_STYLE), style);
    EXPECT_EQ(GetMenu(hwnd), menu);
    EXPECT_TRUE(vt::SameRect(WindowRect(hwnd), rect));
    EXPECT_EQ(w->GetMaxX(), 199);
    EXPECT_EQ(w->GetMaxY(), 149);

    // Alt+Enter also leaves the mode, although the full-screen style has no maximize box.
    PressAltEnter(hwnd);
    EXPECT_EQ(w->IsFullScreen(), 1);
    PressAltEnter(hwnd);
    EXPECT_EQ(w->IsFullScreen(), 0);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWL_STYLE), style);
    EXPECT_TRUE(vt::SameRect(WindowRect(hwnd), rect));

    // Escape outside the mode changes nothing.
    PressEscape(hwnd);
    EXPECT_EQ(w->IsFullScreen(), 0);
    EXPECT_TRUE(vt::SameRect(WindowRect(hwnd), rect));
}

TEST(VexFullScreen, KeepMenuKeepsTheMenu)
{
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, 40001, "&Close");
    WindowPtr w(vt::NewWindow(120, 90, kVisible, vt::CountingRedraw, 0, menu));
    HWND hwnd = w->GetWindow();
    RECT rect = WindowRect(hwnd);
    w->FullScreen(1, 1);
    EXPECT_EQ(GetMenu(hwnd), menu);
    SIZE client = vt::ClientSize(hwnd);
    EXPECT_EQ(w->GetMaxY(), client.cy - 1);
    w->FullScreen(1, 0);  // already on: nothing happens
    EXPECT_EQ(GetMenu(hwnd), menu);
    w->FullScreen(0, 0);
    EXPECT_EQ(GetMenu(hwnd), menu);
    EXPECT_TRUE(vt::SameRect(WindowRect(hwnd), rect));
}

TEST(VexFullScreen, WithoutAMaximizeBoxAltEnterOnlyBeeps)
{
    testui::BeepCounter beeps({"vexplot3.dll"});
    ASSERT_GT(beeps.patched(), 0);
    WindowPtr w(vt::NewWindow(120, 90, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE));
    HWND hwnd = w->GetWindow();
    RECT rect = WindowRect(hwnd);
    PressAltEnter(hwnd);
    EXPECT_EQ(beeps.exclamations(), 1);
    EXPECT_EQ(w->IsFullScreen(), 0);
    EXPECT_TRUE(vt::SameRect(WindowRect(hwnd), rect));

    WindowPtr with_box(vt::NewWindow(120, 90, kVisible));
    PressAltEnter(with_box->GetWindow());
    EXPECT_EQ(with_box->IsFullScreen(), 1);
    EXPECT_EQ(beeps.total(), 1);
}

TEST(VexWrapping, AWindowMadeWithoutAnObjectGetsAnAutoFreedOne)
{
    vt::redraw_log = vt::RedrawLog();
    size_t heap_before = vt::HeapInUse();
    HWND hwnd = CreateWindowExA(0, kClass, "plain", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, NULL,
                                NULL, GetModuleHandleA(NULL), NULL);
    ASSERT_NE(hwnd, nullptr);
    VexGraphWindow* w = VexGraphWindow::GetThis(hwnd);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->GetWindow(), hwnd);
    SIZE client = vt::ClientSize(hwnd);
    EXPECT_EQ(w->GetMaxX(), client.cx - 1);
    EXPECT_EQ(w->GetMaxY(), client.cy - 1);
    EXPECT_EQ(w->GetPixel(0, 0), RGB(0, 0, 0));
    char text[64] = "";
    EXPECT_GT(GetMenuStringA(GetSystemMenu(hwnd, FALSE), VEX_IDM_ABOUT, text, sizeof text, MF_BYCOMMAND), 0);
    // The wrapping object does not resize the window.
    EXPECT_EQ(vt::ClientSize(hwnd).cx, client.cx);

    // Size changes are ignored until a redraw procedure is set.
    SetClientSize(hwnd, client.cx + 40, client.cy + 30);
    EXPECT_EQ(w->GetMaxX(), client.cx - 1);
    w->SetRedrawProc(vt::CountingRedraw);
    SetClientSize(hwnd, client.cx + 50, client.cy + 30);
    EXPECT_EQ(w->GetMaxX(), client.cx + 49);
    EXPECT_EQ(vt::redraw_log.calls, 1);

    int previous = w->AutoFree(1);
    EXPECT_EQ(previous, 1);
    DestroyWindow(hwnd);
    EXPECT_EQ(vt::HeapInUse(), heap_before);
}

INT_PTR CALLBACK QuietDialog(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG;
}

TEST(VexWrapping, AGraphControlInADialogTemplate)
{
    size_t heap_before = vt::HeapInUse();
    HWND dlg = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(200), NULL, QuietDialog, 0);
    ASSERT_NE(dlg, nullptr);
    HWND control = GetDlgItem(dlg, 300);
    ASSERT_NE(control, nullptr);
    VexGraphWindow* w = VexGraphWindow::GetThis(control);
    ASSERT_NE(w, nullptr);
    SIZE client = vt::ClientSize(control);
    EXPECT_EQ(w->GetMaxX(), client.cx - 1);
    EXPECT_EQ(w->GetMaxY(), client.cy - 1);
    w->Clear(kGreen);
    EXPECT_EQ(w->GetPixel(client.cx - 1, client.cy - 1), kGreen);
    DestroyWindow(dlg);
    EXPECT_EQ(vt::HeapInUse(), heap_before);
}

TEST(VexAbout, TheSystemMenuItemOpensTheAboutBox)
{
    WindowPtr w(vt::NewWindow(100, 80, kVisible));
    HWND hwnd = w->GetWindow();
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
        for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (!icon)
                icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        testui::Press(dlg, IDOK);
    });
    SendMessageA(hwnd, WM_SYSCOMMAND, VEX_IDM_ABOUT, 0);
    ASSERT_EQ(ui.seen().size(), 1u);
    EXPECT_EQ(ui.unexpected(), 0);
    EXPECT_EQ(ui.seen()[0].caption, "About VexGraphWindowV3");
    EXPECT_EQ(title, "VexGraphWindowV2 for Win32");
    EXPECT_EQ(title_colour, kRed);
    EXPECT_NE(icon, nullptr);
    // The title's own bold font and the background brush were made for the box and went
    // with it.
    ASSERT_NE(font, nullptr);
    ASSERT_NE(brush, nullptr);
    EXPECT_NE(font, GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_TRUE(IsWindow(hwnd));
}

}  // namespace

namespace {

std::string VersionString(const std::vector<char>& block, const char* name)
{
    char* value = NULL;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\040504e4\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return "<missing>";
    return std::string(value);
}

TEST(VexResources, TheLibraryCarriesItsIconAndVersionBlock)
{
    HMODULE dll = GetModuleHandleA("vexplot3.dll");
    ASSERT_NE(dll, nullptr);
    HICON icon = static_cast<HICON>(LoadImageA(dll, MAKEINTRESOURCEA(101), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap;
    ASSERT_TRUE(GetObjectA(info.hbmColor, sizeof bitmap, &bitmap));
    EXPECT_EQ(bitmap.bmWidth, 32);
    EXPECT_EQ(bitmap.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);

    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(dll, path, MAX_PATH), 0u);
    DWORD size = GetFileVersionInfoSizeA(path, NULL);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 3));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(18, 0));
    WORD* translation = NULL;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x0405);  // Czech
    EXPECT_EQ(translation[1], 1252);
    EXPECT_EQ(VersionString(block, "FileVersion"), "3, 0, 0");
    EXPECT_EQ(VersionString(block, "ProductVersion"), "3, 0, 0");
    EXPECT_EQ(VersionString(block, "InternalName"), "vexplot3");
    EXPECT_EQ(VersionString(block, "OriginalFilename"), "vexplot3.dll");
    EXPECT_EQ(VersionString(block, "ProductName"), "VexGraph");
    EXPECT_NE(VersionString(block, "FileDescription").find("3"), std::string::npos);
}

}  // namespace

namespace {

// Runs last (its suite is defined last): afterwards the class is gone for this program.
TEST(VexUnRegister, RemovesTheClassForGood)
{
    HINSTANCE me = GetModuleHandleA(NULL);
    WNDCLASSA wc;
    ASSERT_TRUE(GetClassInfoA(me, kClass, &wc));
    EXPECT_TRUE(VexGraphWindow::UnRegister(me));
    EXPECT_FALSE(GetClassInfoA(me, kClass, &wc));
    // Registration is not tried again in this process.
    EXPECT_EQ(VexGraphWindow::Register(me), 1);
    EXPECT_FALSE(GetClassInfoA(me, kClass, &wc));
}

}  // namespace
