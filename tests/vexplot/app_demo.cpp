// A small program that opens a graph window the way the application does and runs until
// the window is closed. Exit code 0 when the library freed the window's object and the
// owner was enabled again; test_app_side drives it from another process.
#include "tests/vexplot/app_graph.h"
#include "tests/vexplot/vexplot_test_util.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (!VexGraphWindow::Register(instance))
        return 2;
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, NULL, NULL, instance, NULL);
    appside::on_closed = [] { PostQuitMessage(0); };
    size_t heap_before = vt::HeapInUse();
    if (!appside::ShowGraph(instance, owner) || IsWindowEnabled(owner))
        return 3;
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (appside::close_calls != 1 || !IsWindowEnabled(owner))
        return 4;
    DestroyWindow(owner);
    return vt::HeapInUse() == heap_before ? 0 : 5;
}
