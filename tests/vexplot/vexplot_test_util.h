// Helpers of the vexplot tests; CountPixels serves the graph tests too.
#pragma once
#include <windows.h>
#include <malloc.h>
#include <tuple>
#include <utility>
#include "vexplot/VexGraphWindow.h"

namespace vt {
const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0),
               kBlue = RGB(0, 0, 255), kRedrawColor = RGB(10, 200, 30);
// Bytes in use in the C runtime's heap, which both the tests and vexplot3.dll allocate from.
inline size_t HeapInUse() {
    size_t used = 0;
    for (_HEAPINFO info{}; _heapwalk(&info) == _HEAPOK;) used += info._useflag == _USEDENTRY ? info._size : 0;
    return used;
}
// Live GDI objects of this process. Wine's GetGuiResources gives 0, but its handle table
// accepts a bare index, so there every index is probed.
inline int GdiObjectCount() {
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(count);
    int live = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index) live += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
    return live;
}
// Sizes as (width, height).
inline std::pair<int, int> PictureSize(VexGraphWindow* w) { return {w->GetMaxX() + 1, w->GetMaxY() + 1}; }
inline std::pair<int, int> ClientSize(HWND hwnd) {
    RECT r{};
    return GetClientRect(hwnd, &r), std::pair<int, int>(r.right, r.bottom);
}
// Counts its calls (1000 for a call with another DC than the picture's) and paints the
// whole picture kRedrawColor.
inline int redraw_calls = 0;
inline void CountingRedraw(HDC dc, HWND hwnd) {
    VexGraphWindow* w = VexGraphWindow::GetThis(hwnd);
    redraw_calls += dc == w->GetDC() ? 1 : 1000;
    RECT all = {0, 0, w->GetMaxX() + 1, w->GetMaxY() + 1};
    SetDCBrushColor(dc, kRedrawColor), FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}
inline VexGraphWindow* NewWindow(int w, int h, DWORD style = WS_OVERLAPPEDWINDOW, int auto_free = 0,
                                 HMENU menu = NULL) {
    return new VexGraphWindow(GetModuleHandleA(NULL), NULL, menu, style, 0, "vexplot test", 40, 30, w, h, auto_free,
                              CountingRedraw);
}
// Pixels of `color` inside [x0, x1) x [y0, y1) of the window's picture.
inline int CountPixels(VexGraphWindow* w, int x0, int y0, int x1, int y1, COLORREF color) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += w->GetPixel(x, y) == color;
    return n;
}
inline bool Filled(VexGraphWindow* w, int x0, int y0, int x1, int y1, COLORREF c) {
    return CountPixels(w, x0, y0, x1, y1, c) == (x1 - x0) * (y1 - y0);
}
}  // namespace vt
