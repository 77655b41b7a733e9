#include "tests/vexplot/vexplot_test_util.h"

#include <malloc.h>

namespace vt {

RedrawLog redraw_log;

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

int GdiObjectCount()
{
    DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (count)
        return static_cast<int>(count);
    // Wine reports 0 here; its handle table accepts a bare index (no generation in the
    // high word), so the live objects can be counted by probing every index.
    int live = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)))
            ++live;
    return live;
}

void CountingRedraw(HDC dc, HWND hwnd)
{
    ++redraw_log.calls;
    redraw_log.dc = dc;
    redraw_log.hwnd = hwnd;
    VexGraphWindow* w = VexGraphWindow::GetThis(hwnd);
    redraw_log.width = w ? w->GetMaxX() + 1 : -1;
    redraw_log.height = w ? w->GetMaxY() + 1 : -1;
    RECT all = {0, 0, redraw_log.width, redraw_log.height};
    HBRUSH brush = CreateSolidBrush(kRedrawColor);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}

VexGraphWindow* NewWindow(int width, int height, DWORD style, VEX_REDRAW_PROC redraw,
                          int auto_free, HMENU menu)
{
    return new VexGraphWindow(GetModuleHandleA(NULL), NULL, menu, style, 0, "vexplot test", 40, 30,
                              width, height, auto_free, redraw);
}

SIZE ClientSize(HWND hwnd)
{
    RECT r = {0, 0, 0, 0};
    GetClientRect(hwnd, &r);
    return SIZE{r.right, r.bottom};
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != 0;
}

int CountPixels(VexGraphWindow* w, int x0, int y0, int x1, int y1, COLORREF color)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (w->GetPixel(x, y) == color)
                ++n;
    return n;
}

}  // namespace vt
