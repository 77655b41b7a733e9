#include "graph/ograph.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/scale.h"

namespace {

// GDI takes coordinates up to 2^27; a product beyond that, or one that is not a number,
// must not reach the conversion to int, whose result would be undefined.
constexpr double COORD_LIMIT = 134217728.0;

int truncate_to_screen(double value) {
    if (std::isnan(value)) return 0;
    if (value > COORD_LIMIT) return static_cast<int>(COORD_LIMIT);
    if (value < -COORD_LIMIT) return -static_cast<int>(COORD_LIMIT);
    return static_cast<int>(value);
}

// The slot of a point's colour, or -1 for a negative colour.
int pixel_slot(int color) { return color < 0 ? -1 : color % OG_SLOTS; }

constexpr int TICK = 4;         // length of a tick mark
constexpr int SCALE_GAP = 3;    // between a tick and its number, and around the plot

HFONT label_font() { return static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT)); }

// The size of `text` in the label font; 0 x 0 without a picture.
SIZE text_size(VexGraphWindow* window, const char* text) {
    SIZE size = {0, 0};
    HDC dc = window->GetDC();
    if (!dc) return size;
    HGDIOBJ old = SelectObject(dc, label_font());
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    SelectObject(dc, old);
    return size;
}

// The rectangles of the labels drawn so far in one picture: a label goes only where it
// overlaps none of them.
class DrawnLabels {
public:
    explicit DrawnLabels(VexGraphWindow* window_)
        : window(window_), rects(16, 16, nullptr), right(window_->GetMaxX() + 1), bottom(window_->GetMaxY() + 1) {}

    // Labels drawn from now on are moved back inside this right and bottom edge, as DrawLabel
    // does at the picture's edges; so the points' labels keep off the scale.
    void Limit(int right_, int bottom_) {
        right = right_;
        bottom = bottom_;
    }

    // Draws `text` as DrawLabel places it, unless it would overlap a label drawn before.
    bool Draw(int x, int y, const char* text, COLORREF color) {
        const SIZE size = text_size(window, text);
        if (x > right - size.cx) x = right - size.cx;
        if (y > bottom - size.cy) y = bottom - size.cy;
        const RECT r = {x, y, x + size.cx, y + size.cy};
        for (int i = 0; i < rects.size(); ++i) {
            const RECT& d = rects.items[i];
            if (r.left < d.right && d.left < r.right && r.top < d.bottom && d.top < r.bottom) return false;
        }
        rects.append(r);
        window->DrawLabel(x, y, label_font(), text, color);
        return true;
    }

private:
    VexGraphWindow* window;
    dyn_array_direct<RECT> rects;
    int right;
    int bottom;
};

// Whether the labels would need more room than the whole picture, so that they must pile
// up; judged by the last label (the largest x, so usually the longest text).
bool labels_crowd(const OrtogonalGraph& g) {
    int labelled = 0;
    const tagPOINT_DESC* last = nullptr;
    for (int i = 0; i < g.points.size(); ++i)
        if (g.points.items[i].show_label) ++labelled, last = &g.points.items[i];
    if (!last) return false;
    char text[OG_LABEL_TEXT];
    last->label.format(text, 0, g.precision, g.use_comma);
    const SIZE size = text_size(g.window, text);
    const double area = double(g.window->GetMaxX() + 1) * (g.window->GetMaxY() + 1);
    return double(labelled) * size.cx * size.cy > area;
}

// The most steps a scale of `pixels` may have when a step needs `room` pixels.
int scale_steps(int pixels, int room) { return room > 0 ? pixels / room : 0; }

int plot_top(const OrtogonalGraph& g) { return g.show_scale ? text_size(g.window, "0").cy + SCALE_GAP : 0; }

int plot_right(const OrtogonalGraph& g) { return g.window->GetMaxX() + 1 - (g.show_scale ? SCALE_GAP * 3 : 0); }

RoundScale scale_x(const OrtogonalGraph& g) {
    const int right = plot_right(g);
    char text[OG_LABEL_TEXT];
    // Room for the longest number the range can show: its larger end, negative.
    const double low = g.center_x + g.scale_left / g.zoom_x, high = g.center_x + (right - 1) / g.zoom_x;
    ext_float(-std::fmax(std::fabs(low), std::fabs(high))).format(text, 0, g.precision, g.use_comma);
    return MakeScale(low, high, scale_steps(right - g.scale_left, text_size(g.window, text).cx * 3 / 2 + SCALE_GAP * 2));
}

RoundScale scale_y(const OrtogonalGraph& g) {
    const int bottom = g.window->GetMaxY() - g.scale_bottom, top = plot_top(g);
    const double low = g.center_y + (g.window->GetMaxY() - bottom) / g.zoom_y;
    const double high = g.center_y + (g.window->GetMaxY() - top) / g.zoom_y;
    return MakeScale(low, high, scale_steps(bottom - top, text_size(g.window, "0").cy * 2));
}

void paint_scale(const OrtogonalGraph& g, DrawnLabels& drawn) {
    const int h = g.window->GetMaxY() + 1, w = g.window->GetMaxX() + 1;
    const int bottom = h - g.scale_bottom, top = plot_top(g), left = g.scale_left - 1;
    const int line = text_size(g.window, "0").cy;
    g.window->Line(left, top, left, bottom, g.colors[OG_AXES]);
    g.window->Line(left, bottom, plot_right(g), bottom, g.colors[OG_AXES]);
    char text[OG_LABEL_TEXT];
    const RoundScale xs = scale_x(g);
    for (int i = 0; i < xs.count; ++i) {
        const int sx = g.RealToScreenX(xs.ticks[i]);
        g.window->Line(sx, bottom, sx, bottom + TICK, g.colors[OG_AXES]);
        ext_float(xs.ticks[i]).format(text, 0, g.precision, g.use_comma);
        drawn.Draw(sx - text_size(g.window, text).cx / 2, bottom + TICK + 1, text, g.colors[OG_LABELS]);
    }
    const RoundScale ys = scale_y(g);
    for (int i = 0; i < ys.count; ++i) {
        const int sy = g.RealToScreenY(ys.ticks[i]);
        g.window->Line(left - TICK, sy, left, sy, g.colors[OG_AXES]);
        ext_float(ys.ticks[i]).format(text, 0, g.precision, g.use_comma);
        drawn.Draw(left - TICK - SCALE_GAP - text_size(g.window, text).cx, sy - line / 2, text, g.colors[OG_LABELS]);
    }
    drawn.Draw(w - text_size(g.window, g.x_title).cx - SCALE_GAP, h - line, g.x_title, g.colors[OG_LABELS]);
    drawn.Draw(SCALE_GAP, 0, g.y_title, g.colors[OG_LABELS]);
}

void paint_marks(const OrtogonalGraph& g, DrawnLabels& drawn) {
    const int top = plot_top(g), bottom = g.window->GetMaxY() - g.scale_bottom;
    const int line = text_size(g.window, "0").cy;
    for (int i = 0; i < g.marks.size(); ++i) {
        const ext_float& mark = g.marks.items[i];
        if (!mark) continue;
        const int sx = g.RealToScreenX(mark.value);
        g.window->Line(sx, top, sx, bottom + 1, g.colors[OG_AXES]);
        char text[OG_LABEL_TEXT];
        mark.format(text, 0, g.precision, g.use_comma);
        // Marks close together put their labels one under another.
        for (int row = 0; row < 8 && !drawn.Draw(sx + 2, top + row * line, text, g.colors[OG_LABELS]); ++row) {}
    }
}

} // namespace

OrtogonalGraph::OrtogonalGraph(VexGraphWindow* window_, double center_x_, double center_y_,
                               double zoom_x_, double zoom_y_, bool show_axes_,
                               bool show_labels_, GRAPH_MODE mode_)
    : center_x(center_x_),
      center_y(center_y_),
      zoom_x(zoom_x_),
      zoom_y(zoom_y_),
      show_labels(show_labels_),
      show_axes(show_axes_),
      mode(mode_),
      points(20, 10, nullptr),
      window(window_),
      colors{RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 255, 0), RGB(100, 100, 100),
             RGB(200, 200, 200)},
      precision(0),
      use_comma(false),
      show_scale(false),
      x_title(""),
      y_title(""),
      marks(4, 4, nullptr),
      scale_left(0),
      scale_bottom(0) {
    SetFormat(3, true);
}

void OrtogonalGraph::AddPoint(double x, double y, ext_float label, int color) {
    tagPOINT_DESC point;
    point.x = x;
    point.y = y;
    point.label = label;
    point.color = color;
    point.visible = true;
    point.show_label = true;
    points.insert_sorted(point);
}

bool OrtogonalGraph::RemovePoint(double x, double /*y*/) {
    for (int i = 0; i < points.size(); ++i) {
        if (!(points.items[i].x < x)) {
            points.remove(i);
            Paint();
            break;
        }
    }
    return true;
}

void OrtogonalGraph::Flush() {
    if (points.is_empty()) return;
    points.flush();
    Paint();
}

void OrtogonalGraph::Paint() {
    HFONT font = label_font();
    window->SetBkColor(colors[OG_BACKGROUND]);
    window->Clear();
    if (points.is_empty()) return;

    const int h = window->GetMaxY() + 1;
    // The plot: the whole picture, or the part inside the scale's margins.
    const int plot_left = scale_left, plot_end = plot_right(*this);
    const int plot_up = plot_top(*this), plot_down = h - scale_bottom;
    const double left = plot_left ? center_x + plot_left / zoom_x : center_x;
    const double right = center_x + plot_end / zoom_x;
    const double bottom = scale_bottom ? center_y + scale_bottom / zoom_y : center_y;
    const double top = center_y + (h - plot_up) / zoom_y;

    // An axis is drawn only when zero lies strictly inside the visible range.
    if (show_axes) {
        if (left * right < 0) {
            const int sx = RealToScreenX(0.0);
            window->Line(sx, plot_up, sx, plot_down, colors[OG_AXES]);
        }
        if (bottom * top < 0) {
            const int sy = RealToScreenY(0.0);
            window->Line(plot_left, sy, plot_end, sy, colors[OG_AXES]);
        }
    }

    // Without the scale a sparse graph labels every point, overlaps included, as it always
    // has; a crowded one, or one with the scale's numbers, skips labels that would overlap.
    DrawnLabels drawn(window);
    const bool thin = show_scale || (show_labels && labels_crowd(*this));
    if (show_scale) paint_scale(*this, drawn), drawn.Limit(plot_end, plot_down);
    paint_marks(*this, drawn);

    if (show_labels) {
        for (int i = 0; i < points.size(); ++i) {
            const tagPOINT_DESC& p = points.items[i];
            if (!p.show_label) continue;
            char text[OG_LABEL_TEXT];
            p.label.format(text, 0, precision, use_comma);
            if (thin)
                drawn.Draw(RealToScreenX(p.x), RealToScreenY(p.y), text, colors[OG_LABELS]);
            else
                window->DrawLabel(RealToScreenX(p.x), RealToScreenY(p.y), font, text, colors[OG_LABELS]);
        }
    }

    // The curve comes last, over the labels.
    if (mode == GM_LINES) {
        const tagPOINT_DESC& first = points.items[0];
        window->MoveTo(RealToScreenX(first.x), RealToScreenY(first.y));
        for (int i = 1; i < points.size(); ++i) {
            const tagPOINT_DESC& p = points.items[i];
            if (p.visible) window->LineTo(RealToScreenX(p.x), RealToScreenY(p.y), colors[OG_LINE]);
        }
    } else if (mode == GM_PIXELS) {
        for (int i = 0; i < points.size(); ++i) {
            const tagPOINT_DESC& p = points.items[i];
            const int slot = pixel_slot(p.color);
            if (p.visible && slot >= 0)
                window->SetPixel(RealToScreenX(p.x), RealToScreenY(p.y), colors[slot]);
        }
    }
}

void OrtogonalGraph::AutoZoom() {
    if (points.is_empty()) return;
    double min_x = points.items[0].x, max_x = min_x;
    double min_y = points.items[0].y, max_y = min_y;
    for (int i = 1; i < points.size(); ++i) {
        const tagPOINT_DESC& p = points.items[i];
        if (p.x < min_x) min_x = p.x;
        if (p.x > max_x) max_x = p.x;
        if (p.y < min_y) min_y = p.y;
        if (p.y > max_y) max_y = p.y;
    }
    if (min_x == max_x) {
        min_x -= 1.0;
        max_x += 1.0;
    }
    if (min_y == max_y) {
        min_y -= 1.0;
        max_y += 1.0;
    }
    const int w = window->GetMaxX() + 1, h = window->GetMaxY() + 1;
    scale_left = scale_bottom = 0;
    if (show_scale) {
        // Two lines below the plot (numbers, then the title); the left margin fits the
        // numbers of the y scale, which depend on the height left for the plot.
        const int line = text_size(window, "0").cy;
        scale_bottom = TICK + 1 + 2 * line;
        const int top = plot_top(*this), plot_h = h - scale_bottom - top - 1;
        zoom_y = plot_h > 0 ? plot_h / (max_y - min_y) : 1.0;
        center_y = min_y - scale_bottom / zoom_y;
        const RoundScale ys = scale_y(*this);
        int widest = 0;
        char text[OG_LABEL_TEXT];
        for (int i = 0; i < ys.count; ++i) {
            ext_float(ys.ticks[i]).format(text, 0, precision, use_comma);
            widest = std::max<int>(widest, text_size(window, text).cx);
        }
        scale_left = widest + TICK + SCALE_GAP * 2 + 1;
        const int plot_w = plot_right(*this) - scale_left - 1;
        zoom_x = plot_w > 0 ? plot_w / (max_x - min_x) : 1.0;
        center_x = min_x - scale_left / zoom_x;
        return;
    }
    zoom_x = w / (max_x - min_x);
    zoom_y = h / (max_y - min_y);
    center_x = min_x;
    center_y = min_y;
}

void OrtogonalGraph::GetCenter(double& x, double& y) const {
    x = center_x;
    y = center_y;
}

void OrtogonalGraph::SetCenter(double x, double y) {
    center_x = x;
    center_y = y;
    Paint();
}

void OrtogonalGraph::SetZoom(double zx, double zy) {
    zoom_x = zx;
    zoom_y = zy;
    Paint();
}

void OrtogonalGraph::SetMode(GRAPH_MODE mode_) {
    if (mode_ == mode) return;
    mode = mode_;
    Paint();
}

GRAPH_MODE OrtogonalGraph::GetMode() const { return mode; }

void OrtogonalGraph::SetColor(int slot, COLORREF color) {
    if (slot < 0) return;
    colors[slot % OG_SLOTS] = color;
}

void OrtogonalGraph::SetFormat(int precision_, bool use_comma_) {
    precision = precision_;
    use_comma = use_comma_;
}

void OrtogonalGraph::SetFlags(bool show_axes_, bool show_labels_) {
    show_axes = show_axes_;
    show_labels = show_labels_;
    Paint();
}

int OrtogonalGraph::RealToScreenX(double x) const { return truncate_to_screen((x - center_x) * zoom_x); }

int OrtogonalGraph::RealToScreenY(double y) const {
    return window->GetMaxY() - truncate_to_screen((y - center_y) * zoom_y);
}
