#include "graph/ograph.h"

#include <cmath>

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
      use_comma(false) {
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
    HFONT font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    window->SetBkColor(colors[OG_BACKGROUND]);
    window->Clear();
    if (points.is_empty()) return;

    const int w = window->GetMaxX() + 1;
    const int h = window->GetMaxY() + 1;
    const double right = center_x + w / zoom_x;
    const double top = center_y + h / zoom_y;

    // An axis is drawn only when zero lies strictly inside the visible range.
    if (show_axes) {
        if (center_x * right < 0) {
            const int sx = RealToScreenX(0.0);
            window->Line(sx, 0, sx, h, colors[OG_AXES]);
        }
        if (center_y * top < 0) {
            const int sy = RealToScreenY(0.0);
            window->Line(0, sy, w, sy, colors[OG_AXES]);
        }
    }

    if (show_labels) {
        for (int i = 0; i < points.size(); ++i) {
            const tagPOINT_DESC& p = points.items[i];
            if (!p.show_label) continue;
            char text[OG_LABEL_TEXT];
            p.label.format(text, 0, precision, use_comma);
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
    zoom_x = (window->GetMaxX() + 1) / (max_x - min_x);
    zoom_y = (window->GetMaxY() + 1) / (max_y - min_y);
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
