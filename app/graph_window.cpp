#include "app/graph_window.h"

#include <new>
#include <utility>
#include <vector>

#include "app/determination.h"
#include "app/graph_gran.h"
#include "app/main_window.h"
#include "core/calc.h"
#include "resources/resource.h"
#include "settings/config.h"
#include "settings/syncdlg.h"

OrtogonalGraph* og = nullptr;
WNDPROC OldProc = nullptr;

namespace {

constexpr int GRAPH_WIDTH = 320;
constexpr int GRAPH_HEIGHT = 240;
constexpr int GRAPH_MIN_WIDTH = 320;
constexpr int GRAPH_MIN_HEIGHT = 200;
constexpr int GRAPH_POINT_SLOT = 4;

// The views, in the order of their keys 1 to 4.
enum { VIEW_E, VIEW_DE, VIEW_D2E, VIEW_GRAN, VIEWS };
const UINT view_commands[VIEWS] = {IDM_VIEW_E, IDM_VIEW_DE, IDM_VIEW_D2E, IDM_VIEW_GRAN};

// The graph window's menu, kept also while full screen has taken it off the window.
HMENU graph_menu = nullptr;
// The axis titles, loaded from the string table: Vb, then the ordinate of each view.
char axis_titles[VIEW_GRAN + 1][32];
char gran_axis_title[32];

// The titles in the document's quantity: E/mV or E/pH and the units of the derivatives with it.
void LoadAxisTitles() {
    const bool ph = main_window.document.quantity == Quantity::ph;
    LoadStringA(main_window.instance, IDS_AXIS_VB, axis_titles[0], sizeof axis_titles[0]);
    const UINT first = ph ? IDS_AXIS_PH_E : IDS_AXIS_E;
    for (int i = VIEW_E; i <= VIEW_D2E; ++i)
        LoadStringA(main_window.instance, first + i, axis_titles[i + 1], sizeof axis_titles[i + 1]);
    LoadStringA(main_window.instance, IDS_AXIS_GRAN, gran_axis_title, sizeof gran_axis_title);
}

// Frees the graph and gives the main window back its input.
void ReleaseGraph() {
    delete og;
    og = nullptr;
    EnableWindow(main_window.dialog, TRUE);
}

LRESULT OnClose(HWND hwnd) {
    // Enabled before the graph window hides, so that activation returns to the main window.
    ReleaseGraph();
    ShowWindow(hwnd, SW_HIDE);
    DestroyWindow(hwnd);
    return 0;
}

// The values the derivative views draw: E' between each pair of neighbours, E'' at each inner
// point. The one place that chooses them, so that another series (a smoothed one) can take
// their place.
// The derivative a view draws: the smoothed one where the recognition smoothed a noisy curve,
// so that the graph shows what the results rest on; the lists' differences otherwise.
std::pair<const ext_float*, int> ViewValues(int view) {
    const bool smoothed = smoothing.window > 0;
    const std::vector<ext_float>& curve = view == VIEW_DE ? smoothing.de : smoothing.d2e;
    if (smoothed) return {curve.data(), static_cast<int>(curve.size())};
    const dyn_array_direct<ext_float>& differences = view == VIEW_DE ? arr_de : arr_d2e;
    return {differences.items, differences.size()};
}

// The points of the view in x order, each labelled with its volume, in one pass over the
// document: E of every point, E' at the middle of each pair, or E'' of every inner point. E
// and E' mark the results as well.
void AddPoints() {
    if (graph_view == VIEW_GRAN) return AddGranView(*og);
    ClearGranView(*og);
    const int n = arr_vb.size();
    og->points.reserve(n);
    if (graph_view == VIEW_E) {
        for (int i = 0; i < n; ++i) {
            const ext_float_pair& p = arr_vb.items[i];
            og->AddPoint(p.vb.value, p.e.value, p.vb, GRAPH_POINT_SLOT);
        }
    } else {
        // E' of pair i stands at the middle of points i and i + 1, E'' of inner point i + 1 at its volume.
        const auto [values, count] = ViewValues(graph_view);
        const int reach = graph_view == VIEW_DE ? 1 : 2;
        for (int i = 0; i + reach < n && i < count; ++i) {
            const ext_float vb =
                reach == 1 ? (arr_vb.items[i].vb + arr_vb.items[i + 1].vb) / ext_float(2.0) : arr_vb.items[i + 1].vb;
            og->AddPoint(vb.value, values[i].value, vb, GRAPH_POINT_SLOT);
        }
    }
    if (graph_view == VIEW_D2E) return;
    og->marks.reserve(arr_res.size());
    for (int i = 0; i < arr_res.size(); ++i) og->marks.append(arr_res.items[i].key);
    if (graph_view != VIEW_E) return;
    // The curve's own view marks where it reaches the set values, after the inflections.
    for (const CurveReading& reached : main_window.document.SetValueEndPoints())
        if (reached.found) og->marks.append(ext_float(reached.value));
}

// Shows view `view` (an unknown one as E''), checks its menu item and keeps it as the setting.
void ShowView(int view) {
    graph_view = view >= VIEW_E && view < VIEWS ? view : VIEW_D2E;
    // The Gran view's command is not next to the others: each item is checked on its own.
    for (int v = VIEW_E; v < VIEWS; ++v) CheckMenuItem(graph_menu, view_commands[v], MF_BYCOMMAND | MF_UNCHECKED);
    CheckMenuRadioItem(graph_menu, view_commands[graph_view], view_commands[graph_view], view_commands[graph_view],
                       MF_BYCOMMAND);
    og->points.flush();
    og->marks.flush();
    AddPoints();
    og->x_title = axis_titles[0];
    og->y_title = graph_view == VIEW_GRAN ? gran_axis_title : axis_titles[graph_view + 1];
    og->AutoZoom();
    og->Paint();
}

void OnConfig(HWND hwnd) {
    GranOptionRows gran;
    int axes = graph_show_axes ? 1 : 0;
    int labels = graph_show_labels ? 1 : 0;
    int scale = graph_show_scale ? 1 : 0;
    tag_CTL_SYNC table[] = {
        {SYNC_CHECKBOX, nullptr, IDC_SHOW_AXES, &axes, 0, nullptr, nullptr, nullptr},
        {SYNC_CHECKBOX, nullptr, IDC_SHOW_LABELS, &labels, 0, nullptr, nullptr, nullptr},
        {SYNC_CHECKBOX, nullptr, IDC_SHOW_SCALE, &scale, 0, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ClrSyncProc, IDC_CLR_BKG, &graph_bkg, 0, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ClrSyncProc, IDC_CLR_LINE, &graph_line, 0, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ClrSyncProc, IDC_CLR_AXES, &graph_axes, 0, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ClrSyncProc, IDC_CLR_LABELS, &graph_labels, 0, nullptr, nullptr, nullptr},
        gran.rows[0], gran.rows[1], gran.rows[2], gran.rows[3],
        {SYNC_END, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr},
    };
    if (!SyncedDlg(main_window.instance, MAKEINTRESOURCEA(IDD_GRAPHOPTIONS), hwnd, table)) return;
    gran.Store();
    ShowResultStatus(main_window);  // a determination may use the Gran end point
    graph_show_axes = axes == 1;
    graph_show_labels = labels == 1;
    graph_show_scale = scale == 1;
    if (!og) return;
    // The scale's margins change the fit; otherwise the picture keeps its place.
    if (og->show_scale != graph_show_scale) {
        og->show_scale = graph_show_scale;
        og->AutoZoom();
    }
    og->SetColor(OG_BACKGROUND, graph_bkg);
    og->SetColor(OG_LINE, graph_line);
    og->SetColor(OG_AXES, graph_axes);
    og->SetColor(OG_LABELS, graph_labels);
    og->SetFlags(graph_show_axes, graph_show_labels);
    // The Gran options change the view's line and end point.
    if (graph_view == VIEW_GRAN) ShowView(VIEW_GRAN);
}

LRESULT OnCommand(HWND hwnd, unsigned id) {
    switch (id) {
    case IDM_EXIT:
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        break;
    case IDM_GRAPH_OPTIONS:
        OnConfig(hwnd);
        break;
    case IDM_VIEW_E:
    case IDM_VIEW_DE:
    case IDM_VIEW_D2E:
        if (og) ShowView(static_cast<int>(id - IDM_VIEW_E));
        break;
    case IDM_VIEW_GRAN:
        if (og) ShowView(VIEW_GRAN);
        break;
    }
    return 0;
}

LRESULT OnGetMinMaxInfo(HWND hwnd, WPARAM wparam, LPARAM lparam) {
    DefWindowProcA(hwnd, WM_GETMINMAXINFO, wparam, lparam);
    auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
    info->ptMinTrackSize.x = GRAPH_MIN_WIDTH;
    info->ptMinTrackSize.y = GRAPH_MIN_HEIGHT;
    return 0;
}

// The window can also go without WM_CLOSE (with its owner, for instance); the graph must
// not outlive the window it draws on.
LRESULT OnDestroy(HWND hwnd, WPARAM wparam, LPARAM lparam) {
    if (og && og->window && og->window->GetWindow() == hwnd) ReleaseGraph();
    return CallWindowProcA(OldProc, hwnd, WM_DESTROY, wparam, lparam);
}

// Keys 1 to 4 choose the views.
LRESULT OnChar(HWND hwnd, WPARAM wparam, LPARAM lparam) {
    if (og && wparam >= '1' && wparam < '1' + VIEWS) {
        ShowView(static_cast<int>(wparam - '1'));
        return 0;
    }
    return CallWindowProcA(OldProc, hwnd, WM_CHAR, wparam, lparam);
}

} // namespace

void ShowGraph() {
    if (og) {
        HWND open = og->window->GetWindow();
        SetForegroundWindow(open);
        BringWindowToTop(open);
        return;
    }
    graph_menu = LoadMenuA(main_window.instance, MAKEINTRESOURCEA(IDR_GRAPHMENU));
    LoadAxisTitles();
    auto* window = new (std::nothrow) VexGraphWindow(
        main_window.instance, main_window.dialog, graph_menu,
        WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX, 0,
        "Titrionika", 100, 100, GRAPH_WIDTH, GRAPH_HEIGHT, 1, GraphRedrawProc);
    if (!window) return;
    if (!window->GetWindow()) {
        // No window, so nothing will ever free the object for us.
        delete window;
        return;
    }
    EnableWindow(main_window.dialog, FALSE);
    window->ShrinkWindow();
    og = new (std::nothrow) OrtogonalGraph(window, 0.0, 0.0, 1.0, 1.0, graph_show_axes,
                                           graph_show_labels, GM_LINES);
    if (!og) {
        EnableWindow(main_window.dialog, TRUE);
        DestroyWindow(window->GetWindow());
        return;
    }
    OldProc = window->Subclass(GraphWinProc);
    og->SetFormat(graph_precis, use_comma);
    og->SetColor(OG_BACKGROUND, graph_bkg);
    og->SetColor(OG_AXES, graph_axes);
    og->SetColor(OG_LINE, graph_line);
    og->SetColor(OG_LABELS, graph_labels);
    og->show_scale = graph_show_scale;
    ShowView(graph_view);
}

void GraphRedrawProc(HDC /*dc*/, HWND /*hwnd*/) {
    if (!og) return;
    og->AutoZoom();
    og->Paint();
}

LRESULT CALLBACK GraphWinProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_GETMINMAXINFO:
        return OnGetMinMaxInfo(hwnd, wparam, lparam);
    case WM_CLOSE:
        return OnClose(hwnd);
    case WM_COMMAND:
        return OnCommand(hwnd, LOWORD(wparam));
    case WM_CHAR:
        return OnChar(hwnd, wparam, lparam);
    case WM_DESTROY:
        return OnDestroy(hwnd, wparam, lparam);
    }
    return CallWindowProcA(OldProc, hwnd, msg, wparam, lparam);
}
