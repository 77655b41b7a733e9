// The library as the application uses it: in this process through the same code as the
// application's graph window, and as a separate program driven from here.
#include <gtest/gtest.h>

#include <string>

#include "tests/vexplot/app_graph.h"
#include "tests/vexplot/vexplot_test_util.h"

using namespace appside;

namespace {

TEST(VexAppSide, TheGraphWindowOfTheApplication)
{
    HINSTANCE me = GetModuleHandleA(NULL);
    ASSERT_NE(VexGraphWindow::Register(me), 0);
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, NULL, NULL, me, NULL);
    size_t heap_before = vt::HeapInUse();
    HWND graph = ShowGraph(me, owner);
    ASSERT_NE(graph, nullptr);
    EXPECT_FALSE(IsWindowEnabled(owner));
    EXPECT_EQ(redraw_calls, 0);  // the second ShrinkWindow found the size right
    EXPECT_EQ(vt::ClientSize(graph), (SIZE{320, 240}));
    VexGraphWindow* w = VexGraphWindow::GetThis(graph);
    auto check_picture = [&](SIZE size) {
        EXPECT_EQ(vt::PictureSize(w), size);
        // The axes run through the origin from edge to edge.
        POINT zero = ScreenPosition(graph, 0.0, 0.0);
        EXPECT_EQ(w->GetPixel(0, zero.y), kAxes);
        EXPECT_EQ(w->GetPixel(zero.x, 0), kAxes);
        EXPECT_EQ(w->GetPixel(zero.x, size.cy - 1), kAxes);
        // Every point marked, the rightmost label moved inside, the curve drawn.
        for (const Point& p : kPoints) {
            POINT s = ScreenPosition(graph, p.x, p.y);
            EXPECT_TRUE(s.x >= size.cx || s.y >= size.cy || w->GetPixel(s.x, s.y) == kMarks) << p.label;
        }
        EXPECT_GT(vt::CountPixels(w, size.cx - 20, 0, size.cx, size.cy, kLabels), 0);
        EXPECT_EQ(w->GetPixel(size.cx - 1, 0), kBackground);
        POINT a = ScreenPosition(graph, kPoints[0].x, kPoints[0].y);
        POINT b = ScreenPosition(graph, kPoints[1].x, kPoints[1].y);
        EXPECT_GT(vt::CountPixels(w, a.x + 1, b.y, b.x, a.y, kCurve), 0);
    };
    check_picture(SIZE{320, 240});
    // Maximizing and restoring rebuild the picture through the redraw procedure.
    ShowWindow(graph, SW_MAXIMIZE);
    EXPECT_EQ(redraw_calls, 1);
    check_picture(vt::ClientSize(graph));
    ShowWindow(graph, SW_RESTORE);
    EXPECT_EQ(redraw_calls, 2);
    check_picture(SIZE{320, 240});
    // Alt+F4 comes as the close command, which the subclass handles.
    SendMessageA(graph, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(close_calls, 1);
    EXPECT_FALSE(IsWindow(graph));
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
    EXPECT_EQ(vt::HeapInUse(), heap_before);
}

TEST(VexAppSide, TheGraphWindowInAnotherProcess)
{
    char path[MAX_PATH];
    std::string command(path, GetModuleFileNameA(NULL, path, MAX_PATH));
    command = "\"" + command.substr(0, command.find_last_of("\\/") + 1) + "vexplot_app_demo.exe\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) << command;
    ASSERT_EQ(WaitForInputIdle(pi.hProcess, 60000), 0u);  // its message loop runs
    HWND graph = FindWindowA("VexGraphV2WClass", "Titrionika");
    ASSERT_NE(graph, nullptr);
    DWORD pid = 0;
    GetWindowThreadProcessId(graph, &pid);
    EXPECT_EQ(pid, pi.dwProcessId);
    EXPECT_EQ(vt::ClientSize(graph), (SIZE{320, 240}));
    // Alt+Enter to full screen, Escape back.
    RECT before = vt::WindowRect(graph);
    SendMessageA(graph, WM_SYSKEYDOWN, VK_RETURN, 0x20000001);
    EXPECT_EQ(vt::ClientSize(graph), (SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
    SendMessageA(graph, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    RECT after = vt::WindowRect(graph);
    EXPECT_TRUE(EqualRect(&before, &after));

    SendMessageA(graph, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    if (code == STILL_ACTIVE)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

}  // namespace
