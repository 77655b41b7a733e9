#include "tests/vexplot/app_graph.h"

#include "vexplot/VexGraphWindow.h"

namespace appside {

int redraw_calls = 0, close_calls = 0;
void (*on_closed)() = NULL;

namespace {

const double kMinX = -1.0, kMaxX = 3.0, kMinY = -6.0, kMaxY = 8.0;  // of kPoints
HWND owner_window = NULL;
WNDPROC old_proc = NULL;

POINT Map(VexGraphWindow* w, double x, double y)
{
    return POINT{static_cast<LONG>((x - kMinX) / (kMaxX - kMinX) * w->GetMaxX() + 0.5),
                 static_cast<LONG>(w->GetMaxY() - (y - kMinY) / (kMaxY - kMinY) * w->GetMaxY() + 0.5)};
}

void Paint(VexGraphWindow* w)
{
    w->SetBkColor(kBackground);
    w->Clear();
    POINT origin = Map(w, 0.0, 0.0);
    w->Line(0, origin.y, w->GetMaxX() + 1, origin.y, kAxes);
    w->Line(origin.x, 0, origin.x, w->GetMaxY() + 1, kAxes);
    for (const Point& p : kPoints) {
        POINT s = Map(w, p.x, p.y);
        w->DrawLabel(s.x, s.y, static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT)), p.label, kLabels);
    }
    POINT first = Map(w, kPoints[0].x, kPoints[0].y);
    w->MoveTo(first.x, first.y);
    for (const Point& p : kPoints) {
        POINT s = Map(w, p.x, p.y);
        w->LineTo(s.x, s.y, kCurve);
    }
    for (const Point& p : kPoints) {
        POINT s = Map(w, p.x, p.y);
        w->SetPixel(s.x, s.y, kMarks);
    }
}

void GraphRedrawProc(HDC, HWND hwnd)
{
    ++redraw_calls;
    Paint(VexGraphWindow::GetThis(hwnd));
}

LRESULT CALLBACK GraphWinProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam)
{
    if (msg != WM_CLOSE)
        return CallWindowProcA(old_proc, hwnd, msg, wparam, lparam);
    ++close_calls;
    EnableWindow(owner_window, TRUE);
    DestroyWindow(hwnd);
    if (on_closed)
        on_closed();
    return 0;
}

}  // namespace

HWND ShowGraph(HINSTANCE instance, HWND owner)
{
    owner_window = owner;
    VexGraphWindow* w = new VexGraphWindow(instance, owner, NULL,
                                           WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX,
                                           0, "Titrionika", 100, 100, 320, 240, 1, GraphRedrawProc);
    EnableWindow(owner, FALSE);
    w->ShrinkWindow();
    old_proc = w->Subclass(GraphWinProc);
    Paint(w);
    // The application never needs the handle; the tests find it by class, title and object.
    HWND hwnd = NULL;
    while ((hwnd = FindWindowExA(NULL, hwnd, "VexGraphV2WClass", "Titrionika")) != NULL)
        if (VexGraphWindow::GetThis(hwnd) == w)
            break;
    return hwnd;
}

POINT ScreenPosition(HWND graph, double x, double y)
{
    return Map(VexGraphWindow::GetThis(graph), x, y);
}

}  // namespace appside
