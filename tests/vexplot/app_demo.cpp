// A small program that opens a graph window the way the application does and runs until
// the window is closed. Exit code 0 when the library freed the window's object and the
// owner was enabled again; test_app_side drives it from another process.
#include <windows.h>

#include <malloc.h>

#include "tests/vexplot/app_graph.h"
#include "vexplot/VexGraphWindow.h"

namespace {

size_t HeapInUse()
{
    _HEAPINFO info;
    info._pentry = NULL;
    size_t used = 0;
    while (_heapwalk(&info) == _HEAPOK)
        if (info._useflag == _USEDENTRY)
            used += info._size;
    return used;
}

const appside::Point kPoints[] = {
    {-1.0, 3.0, "-1"}, {0.5, 8.0, "0,5"}, {1.0, -6.0, "1"}, {2.0, -1.0, "2"}, {3.0, 0.5, "3"},
};

void Quit()
{
    PostQuitMessage(0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (!VexGraphWindow::Register(instance))
        return 2;
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, NULL, NULL, instance, NULL);
    appside::on_closed = Quit;
    size_t heap_before = HeapInUse();
    HWND graph = appside::ShowGraph(instance, owner, kPoints, 5);
    if (!graph || IsWindowEnabled(owner))
        return 3;
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (appside::close_calls != 1 || !IsWindowEnabled(owner))
        return 4;
    DestroyWindow(owner);
    return HeapInUse() == heap_before ? 0 : 5;
}
