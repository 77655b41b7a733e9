#include "tests/vexplot/app_graph.h"

#include "vexplot/VexGraphWindow.h"

namespace appside {

int redraw_calls = 0;
int close_calls = 0;
void (*on_closed)() = NULL;

namespace {

HWND owner_window = NULL;
WNDPROC old_proc = NULL;
const Point* graph_points = NULL;
int graph_count = 0;
double min_x, max_x, min_y, max_y;

void FitRanges()
{
    min_x = max_x = graph_points[0].x;
    min_y = max_y = graph_points[0].y;
    for (int i = 1; i < graph_count; ++i) {
        const Point& p = graph_points[i];
        if (p.x < min_x) min_x = p.x;
        if (p.x > max_x) max_x = p.x;
        if (p.y < min_y) min_y = p.y;
        if (p.y > max_y) max_y = p.y;
    }
}

POINT Map(VexGraphWindow* w, double x, double y)
{
    POINT s;
    s.x = static_cast<LONG>((x - min_x) / (max_x - min_x) * w->GetMaxX() + 0.5);
    s.y = static_cast<LONG>(w->GetMaxY() - (y - min_y) / (max_y - min_y) * w->GetMaxY() + 0.5);
    return s;
}

void Paint(VexGraphWindow* w)
{
    w->SetBkColor(kBackground);
    w->Clear();
    POINT origin = Map(w, 0.0, 0.0);
    if (min_y < 0 && max_y > 0)
        w->Line(0, origin.y, w->GetMaxX() + 1, origin.y, kAxes);
    if (min_x < 0 && max_x > 0)
        w->Line(origin.x, 0, origin.x, w->GetMaxY() + 1, kAxes);
    HFONT font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    for (int i = 0; i < graph_count; ++i) {
        POINT s = Map(w, graph_points[i].x, graph_points[i].y);
        w->DrawLabel(s.x, s.y, font, graph_points[i].label, kLabels);
    }
    POINT first = Map(w, graph_points[0].x, graph_points[0].y);
    w->MoveTo(first.x, first.y);
    for (int i = 1; i < graph_count; ++i) {
        POINT s = Map(w, graph_points[i].x, graph_points[i].y);
        w->LineTo(s.x, s.y, kCurve);
    }
    for (int i = 0; i < graph_count; ++i) {
        POINT s = Map(w, graph_points[i].x, graph_points[i].y);
        w->SetPixel(s.x, s.y, kMarks);
    }
}

void GraphRedrawProc(HDC, HWND hwnd)
{
    ++redraw_calls;
    Paint(VexGraphWindow::GetThis(hwnd));
}

void OnClose(HWND hwnd)
{
    ++close_calls;
    EnableWindow(owner_window, TRUE);
    ShowWindow(hwnd, SW_HIDE);
    DestroyWindow(hwnd);
    if (on_closed)
        on_closed();
}

LRESULT CALLBACK GraphWinProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam)
{
    switch (msg) {
    case WM_GETMINMAXINFO: {
        DefWindowProcA(hwnd, msg, wparam, lparam);
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lparam);
        info->ptMinTrackSize.x = 320;
        info->ptMinTrackSize.y = 200;
        return 0;
    }
    case WM_CLOSE:
        OnClose(hwnd);
        return 0;
    }
    return CallWindowProcA(old_proc, hwnd, msg, wparam, lparam);
}

// The application never needs the handle; the tests find it by class and title.
HWND FindGraphWindow(VexGraphWindow* w)
{
    HWND hwnd = NULL;
    while ((hwnd = FindWindowExA(NULL, hwnd, "VexGraphV2WClass", "Titrionika")) != NULL)
        if (VexGraphWindow::GetThis(hwnd) == w)
            return hwnd;
    return NULL;
}

}  // namespace

HWND ShowGraph(HINSTANCE instance, HWND owner, const Point* points, int count)
{
    owner_window = owner;
    graph_points = points;
    graph_count = count;
    FitRanges();
    VexGraphWindow* w = new VexGraphWindow(
        instance, owner, NULL, WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX,
        0, "Titrionika", 100, 100, 320, 240, 1, GraphRedrawProc);
    EnableWindow(owner, FALSE);
    w->ShrinkWindow();
    HWND hwnd = FindGraphWindow(w);
    old_proc = w->Subclass(GraphWinProc);
    Paint(w);
    return hwnd;
}

POINT ScreenPosition(HWND graph, const Point& p)
{
    return Map(VexGraphWindow::GetThis(graph), p.x, p.y);
}

}  // namespace appside
