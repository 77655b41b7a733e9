// A graph window used the way the application uses it: only the fourteen members it needs
// (the window-creating constructor, Register, GetThis, Subclass, ShrinkWindow, Clear,
// SetBkColor, SetPixel, Line, LineTo, MoveTo, DrawLabel, GetMaxX, GetMaxY).
#pragma once

#include <windows.h>

namespace appside {

struct Point {
    double x;
    double y;
    const char* label;
};

const COLORREF kBackground = RGB(0, 0, 0);
const COLORREF kAxes = RGB(255, 0, 0);
const COLORREF kCurve = RGB(0, 0, 255);
const COLORREF kLabels = RGB(0, 255, 0);
const COLORREF kMarks = RGB(255, 255, 0);

// Counters of what the window did.
extern int redraw_calls;
extern int close_calls;
// Called when the graph window has been closed, if set.
extern void (*on_closed)();

// Opens the graph of `points` (x ascending, at least two) owned by `owner`, which is
// disabled while the graph is open, and returns the graph window. 320 x 240 client area,
// auto-freed object, the library's procedure subclassed.
HWND ShowGraph(HINSTANCE instance, HWND owner, const Point* points, int count);

// Where a point lands on the current bitmap.
POINT ScreenPosition(HWND graph, const Point& p);

}  // namespace appside
