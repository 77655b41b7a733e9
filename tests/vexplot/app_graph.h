// A graph window used the way the application uses it: only the fourteen members it needs
// (the window-creating constructor, Register, GetThis, Subclass, ShrinkWindow, Clear,
// SetBkColor, SetPixel, Line, LineTo, MoveTo, DrawLabel, GetMaxX, GetMaxY).
#pragma once

#include <windows.h>

namespace appside {

struct Point {
    double x, y;
    const char* label;
};
const Point kPoints[] = {{-1.0, 3.0, "-1"}, {0.5, 8.0, "0,5"}, {1.0, -6.0, "1"}, {2.0, -1.0, "2"}, {3.0, 0.5, "3"}};
const COLORREF kBackground = RGB(0, 0, 0), kAxes = RGB(255, 0, 0), kCurve = RGB(0, 0, 255),
               kLabels = RGB(0, 255, 0), kMarks = RGB(255, 255, 0);

extern int redraw_calls, close_calls;
extern void (*on_closed)();  // called once the graph window has been closed

// Opens the graph of kPoints owned by `owner`, which is disabled while the graph is open:
// 320 x 240 client area, auto-freed object, the library's procedure subclassed.
HWND ShowGraph(HINSTANCE instance, HWND owner);
// Where a point lands on the current bitmap.
POINT ScreenPosition(HWND graph, double x, double y);

}  // namespace appside
