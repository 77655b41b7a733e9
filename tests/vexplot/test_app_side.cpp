// The library as the application uses it: in this process through the same code as the
// application's graph window, and as a separate program driven from here.
#include <gtest/gtest.h>

#include <string>

#include "tests/vexplot/app_graph.h"
#include "tests/vexplot/vexplot_test_util.h"

namespace {

const appside::Point kPoints[] = {
    {-1.0, 3.0, "-1"}, {0.5, 8.0, "0,5"}, {1.0, -6.0, "1"}, {2.0, -1.0, "2"}, {3.0, 0.5, "3"},
};

TEST(VexAppSide, TheGraphWindowOfTheApplication)
{
    HINSTANCE me = GetModuleHandleA(NULL);
    ASSERT_NE(VexGraphWindow::Register(me), 0);
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, NULL, NULL, me, NULL);
    size_t heap_before = vt::HeapInUse();
    appside::redraw_calls = 0;
    appside::close_calls = 0;

    HWND graph = appside::ShowGraph(me, owner, kPoints, 5);
    ASSERT_NE(graph, nullptr);
    EXPECT_FALSE(IsWindowEnabled(owner));
    // The second ShrinkWindow found the size right: no rebuild before the graph existed.
    EXPECT_EQ(appside::redraw_calls, 0);
    SIZE client = vt::ClientSize(graph);
    EXPECT_EQ(client.cx, 320);
    EXPECT_EQ(client.cy, 240);

    VexGraphWindow* w = VexGraphWindow::GetThis(graph);
    ASSERT_NE(w, nullptr);
    auto check_picture = [&](int width, int height) {
        EXPECT_EQ(w->GetMaxX(), width - 1);
        EXPECT_EQ(w->GetMaxY(), height - 1);
        // The axes run through the origin from edge to edge (labels may cover them
        // elsewhere: they are drawn on boxes of the background colour).
        POINT zero = appside::ScreenPosition(graph, appside::Point{0.0, 0.0, ""});
        EXPECT_EQ(w->GetPixel(0, zero.y), appside::kAxes);
        EXPECT_EQ(w->GetPixel(zero.x, 0), appside::kAxes);
        EXPECT_EQ(w->GetPixel(zero.x, height - 1), appside::kAxes);
        // Every point is marked, the rightmost label was moved inside, the corner is background.
        for (const appside::Point& p : kPoints) {
            POINT s = appside::ScreenPosition(graph, p);
            if (s.x < width && s.y < height) {
                EXPECT_EQ(w->GetPixel(s.x, s.y), appside::kMarks);
            }
        }
        EXPECT_GT(vt::CountPixels(w, width - 20, 0, width, height, appside::kLabels), 0);
        EXPECT_EQ(w->GetPixel(width - 1, 0), appside::kBackground);
        // Curve pixels between the first two points.
        POINT a = appside::ScreenPosition(graph, kPoints[0]);
        POINT b = appside::ScreenPosition(graph, kPoints[1]);
        EXPECT_GT(vt::CountPixels(w, a.x + 1, b.y, b.x, a.y, appside::kCurve), 0);
    };
    check_picture(320, 240);

    // Maximizing rebuilds the picture at the new size through the redraw procedure.
    ShowWindow(graph, SW_MAXIMIZE);
    client = vt::ClientSize(graph);
    EXPECT_EQ(appside::redraw_calls, 1);
    check_picture(client.cx, client.cy);
    ShowWindow(graph, SW_RESTORE);
    EXPECT_EQ(appside::redraw_calls, 2);
    check_picture(320, 240);

    // Alt+F4 comes as the close command, which the subclass handles.
    SendMessageA(graph, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(appside::close_calls, 1);
    EXPECT_FALSE(IsWindow(graph));
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
    EXPECT_EQ(vt::HeapInUse(), heap_before);
}

std::string DemoPath()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of("\\/") + 1) + "vexplot_app_demo.exe";
}

TEST(VexAppSide, TheGraphWindowInAnotherProcess)
{
    std::string command = "\"" + DemoPath() + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        << command;
    // Idle means its message loop runs: the window is up.
    ASSERT_EQ(WaitForInputIdle(pi.hProcess, 60000), 0u);
    HWND graph = FindWindowA("VexGraphV2WClass", "Titrionika");
    ASSERT_NE(graph, nullptr);
    DWORD pid = 0;
    GetWindowThreadProcessId(graph, &pid);
    EXPECT_EQ(pid, pi.dwProcessId);
    SIZE client = vt::ClientSize(graph);
    EXPECT_EQ(client.cx, 320);
    EXPECT_EQ(client.cy, 240);

    // Alt+Enter to full screen, Escape back.
    RECT before;
    GetWindowRect(graph, &before);
    SendMessageA(graph, WM_SYSKEYDOWN, VK_RETURN, 0x20000001);
    client = vt::ClientSize(graph);
    EXPECT_EQ(client.cx, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(client.cy, GetSystemMetrics(SM_CYSCREEN));
    SendMessageA(graph, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    RECT after;
    GetWindowRect(graph, &after);
    EXPECT_TRUE(vt::SameRect(before, after));

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
