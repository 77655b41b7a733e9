// Helpers shared by the vexplot tests.
#pragma once

#include <windows.h>

#include <malloc.h>

#include <ostream>

#include "vexplot/VexGraphWindow.h"

inline bool operator==(const SIZE& a, const SIZE& b) { return a.cx == b.cx && a.cy == b.cy; }
inline std::ostream& operator<<(std::ostream& out, const SIZE& s) { return out << s.cx << "x" << s.cy; }

namespace vt {

const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0),
               kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kRedrawColor = RGB(10, 200, 30);
const DWORD kVisible = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

// Bytes in use in the C runtime's heap, which both the tests and vexplot3.dll allocate from.
inline size_t HeapInUse()
{
    _HEAPINFO info;
    info._pentry = NULL;
    size_t used = 0;
    while (_heapwalk(&info) == _HEAPOK)
        used += info._useflag == _USEDENTRY ? info._size : 0;
    return used;
}

// Live GDI objects of this process.
inline int GdiObjectCount()
{
    DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (count)
        return static_cast<int>(count);
    // Wine reports 0 here; its handle table accepts a bare index (no generation in the
    // high word), so the live objects can be counted by probing every index.
    int live = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
        live += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
    return live;
}

inline SIZE PictureSize(VexGraphWindow* w) { return SIZE{w->GetMaxX() + 1, w->GetMaxY() + 1}; }
inline SIZE ClientSize(HWND hwnd)
{
    RECT r = {0, 0, 0, 0};
    GetClientRect(hwnd, &r);
    return SIZE{r.right, r.bottom};
}
inline RECT WindowRect(HWND hwnd)
{
    RECT r = {0, 0, 0, 0};
    GetWindowRect(hwnd, &r);
    return r;
}

// What CountingRedraw saw; `size` is the picture's at the last call.
struct RedrawLog {
    int calls = 0;
    HDC dc = NULL;
    HWND hwnd = NULL;
    SIZE size = {0, 0};
};
inline RedrawLog redraw_log;

// Logs the call and paints the whole picture kRedrawColor.
inline void CountingRedraw(HDC dc, HWND hwnd)
{
    redraw_log.calls++;
    redraw_log.dc = dc;
    redraw_log.hwnd = hwnd;
    redraw_log.size = PictureSize(VexGraphWindow::GetThis(hwnd));
    RECT all = {0, 0, redraw_log.size.cx, redraw_log.size.cy};
    HBRUSH brush = CreateSolidBrush(kRedrawColor);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}

// A window-creating object of this module with CountingRedraw.
inline VexGraphWindow* NewWindow(int width, int height, DWORD style = WS_OVERLAPPEDWINDOW,
                                 int auto_free = 0, HMENU menu = NULL)
{
    return new VexGraphWindow(GetModuleHandleA(NULL), NULL, menu, style, 0, "vexplot test", 40, 30,
                              width, height, auto_free, CountingRedraw);
}

// Paints the left half of the picture red and the rest blue.
inline void PaintHalves(VexGraphWindow* w)
{
    w->Clear(kBlue);
    HBRUSH red = CreateSolidBrush(kRed);
    RECT left = {0, 0, (w->GetMaxX() + 1) / 2, w->GetMaxY() + 1};
    FillRect(w->GetDC(), &left, red);
    DeleteObject(red);
}

// Pixels of `color` inside [x0, x1) x [y0, y1) of the window's picture.
inline int CountPixels(VexGraphWindow* w, int x0, int y0, int x1, int y1, COLORREF color)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += w->GetPixel(x, y) == color;
    return n;
}
inline bool Filled(VexGraphWindow* w, int x0, int y0, int x1, int y1, COLORREF color)
{
    return CountPixels(w, x0, y0, x1, y1, color) == (x1 - x0) * (y1 - y0);
}

}  // namespace vt
