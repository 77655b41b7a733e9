// OrtogonalGraph: an x/y graph of points drawn on a VexGraphWindow, with the axes through
// the origin, a value label at every point, vertical marks at chosen x values and, when
// asked, a scale along the left and bottom edges.
#pragma once

#include <windows.h>

#include "core/dyn_array_direct.h"
#include "core/ext_float.h"
#include "vexplot/VexGraphWindow.h"

enum GRAPH_MODE {
    GM_LINES = 0,   // the points joined in x order in the line colour
    GM_NONE = 1,    // no curve
    GM_PIXELS = 2,  // one pixel per point in the point's colour slot
};

// One point of the graph; ordered by x alone.
struct tagPOINT_DESC {
    double x;
    double y;
    ext_float label;   // the number shown beside the point
    int color;         // colour slot in GM_PIXELS mode, taken modulo 6
    bool visible;      // takes part in the curve
    bool show_label;

    tagPOINT_DESC() : x(0.0), y(0.0), color(0), visible(false), show_label(false) {}

    // Strict: equal x values and NaN give false.
    bool operator<(const tagPOINT_DESC& b) const { return x < b.x; }
};

// Colour slots.
enum {
    OG_BACKGROUND = 0,
    OG_AXES = 1,
    OG_LINE = 2,
    OG_LABELS = 3,
    OG_SLOTS = 6,
};

// The longest label text, NUL included.
constexpr int OG_LABEL_TEXT = 120;

class OrtogonalGraph {
public:
    double center_x;    // real x at pixel column 0
    double center_y;    // real y at the bottom row
    double zoom_x;      // pixels per unit of x
    double zoom_y;      // pixels per unit of y
    bool show_labels;
    bool show_axes;
    GRAPH_MODE mode;
    dyn_array_direct<tagPOINT_DESC> points;  // ascending x
    VexGraphWindow* window;                  // not owned
    COLORREF colors[OG_SLOTS];
    int precision;
    bool use_comma;
    // Ticks at round steps with their numbers and the axis titles, in margins that AutoZoom
    // keeps free; off, the picture is the plain graph filling the bitmap.
    bool show_scale;
    const char* x_title;  // "Vb/ml"; not owned
    const char* y_title;
    dyn_array_direct<ext_float> marks;  // x values marked by a vertical line and their label
    dyn_array_direct<RECT> label_rects;  // every text of the last picture, where Paint drew it
    // A straight line F = intercept + slope x from x `from` to `to` (the Gran view's
    // least-squares line), in the labels' colour over the curve; and a note drawn at the plot's
    // top left before any other label. `message` (not owned) is drawn instead of any plot.
    struct FitLine {
        bool shown = false;
        double intercept = 0.0, slope = 0.0, from = 0.0, to = 0.0;
    } fit;
    const char* note = nullptr;     // not owned
    const char* message = nullptr;  // not owned
    int scale_left;    // columns left of the plot, set by AutoZoom (0 without the scale)
    int scale_bottom;  // rows below the plot, likewise

    OrtogonalGraph(VexGraphWindow* window, double center_x, double center_y, double zoom_x,
                   double zoom_y, bool show_axes, bool show_labels, GRAPH_MODE mode);
    ~OrtogonalGraph() = default;

    OrtogonalGraph(const OrtogonalGraph&) = delete;
    OrtogonalGraph& operator=(const OrtogonalGraph&) = delete;

    // Inserted before the first point whose x is not less (found by halving, so the points
    // must be in x order, as only AddPoint puts them); no repaint.
    void AddPoint(double x, double y, ext_float label, int color);
    // Removes the first point whose x is not less than `x` and repaints if one was removed;
    // `y` is not consulted. Always true.
    bool RemovePoint(double x, double y);
    // Removes every point and repaints; nothing happens without points.
    void Flush();

    // The scale's numbers and the marks' labels first, then the points' labels, which give way
    // to them. A sparse graph without the scale labels every point, overlaps among them
    // included; with the scale, or when the labels would pile up, a label is drawn only where it
    // keeps a gap of half a digit's width from every label drawn before. The curve is drawn
    // from at most four points per pixel column, with the pixels of every point's line.
    void Paint();
    // Fits centre and zoom so that the points fill the bitmap exactly (with the scale: the
    // bitmap less its margins); no repaint.
    void AutoZoom();

    void GetCenter(double& x, double& y) const;
    void SetCenter(double x, double y);
    void SetZoom(double zx, double zy);
    void SetMode(GRAPH_MODE mode);
    GRAPH_MODE GetMode() const;
    // Slot taken modulo 6; a negative slot is ignored. No repaint.
    void SetColor(int slot, COLORREF color);
    void SetFormat(int precision, bool use_comma);
    // Always repaints.
    void SetFlags(bool show_axes, bool show_labels);

    int RealToScreenX(double x) const;
    int RealToScreenY(double y) const;
};
