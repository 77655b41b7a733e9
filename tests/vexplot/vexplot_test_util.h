// Helpers shared by the vexplot tests.
#pragma once

#include <windows.h>

#include <stddef.h>

#include "vexplot/VexGraphWindow.h"

namespace vt {

// Bytes in use in the C runtime's heap, which both the tests and vexplot3.dll allocate from.
size_t HeapInUse();
// Live GDI objects of this process.
int GdiObjectCount();

// What CountingRedraw saw.
struct RedrawLog {
    int calls = 0;
    HDC dc = NULL;
    HWND hwnd = NULL;
    int width = 0;   // the bitmap's size at the call
    int height = 0;
};
extern RedrawLog redraw_log;
const COLORREF kRedrawColor = RGB(10, 200, 30);
// A redraw procedure that logs the call and paints the whole bitmap kRedrawColor.
void CountingRedraw(HDC dc, HWND hwnd);

// A window-creating object of this module, not auto-freed unless asked.
VexGraphWindow* NewWindow(int width, int height, DWORD style = WS_OVERLAPPEDWINDOW,
                          VEX_REDRAW_PROC redraw = CountingRedraw, int auto_free = 0,
                          HMENU menu = NULL);

SIZE ClientSize(HWND hwnd);
bool SameRect(const RECT& a, const RECT& b);

// Counts pixels of `color` inside [x0, x1) x [y0, y1) of the window's picture.
int CountPixels(VexGraphWindow* w, int x0, int y0, int x1, int y1, COLORREF color);

}  // namespace vt
