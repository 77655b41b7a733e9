#include "graph/ograph.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

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

// Where labels would pile up deeper than this (on average over the pixels they cover), they
// are thinned even without the scale. The carbonate sample's E'' at the window's first size
// is 2.05 deep and stays as it always was; 100 points of an instrument there are 6.4 deep.
constexpr double PILE_DEPTH = 2.5;

// Measures texts in the label font, selected once for the whole picture.
class TextMeter {
public:
    explicit TextMeter(VexGraphWindow* window) : height(0), digit(0), dc(window->GetDC()), old(nullptr) {
        if (!dc) return;
        old = SelectObject(dc, label_font());
        const SIZE zero = Size("0", 1);
        height = zero.cy;
        digit = zero.cx;
    }
    ~TextMeter() {
        if (dc) SelectObject(dc, old);
    }
    TextMeter(const TextMeter&) = delete;
    TextMeter& operator=(const TextMeter&) = delete;

    SIZE Size(const char* text, int length) const {
        SIZE size = {0, 0};
        if (dc) GetTextExtentPoint32A(dc, text, length, &size);
        return size;
    }
    // What a label keeps free around it: half a digit's width, so that two numbers never read as one.
    int Gap() const { return (digit + 1) / 2; }

    int height;  // of every text
    int digit;   // the width of "0"

private:
    HDC dc;
    HGDIOBJ old;
};

// The labels of one picture: each goes only where it keeps a gap of half a digit's width from
// every label placed before, found among the labels of the cells of a grid that it touches,
// so that placing n labels costs n times the few labels around each.
class LabelLayout {
public:
    LabelLayout(VexGraphWindow* window_, const TextMeter& meter_, dyn_array_direct<RECT>& placed_)
        : window(window_),
          meter(meter_),
          placed(placed_),
          gap(meter_.Gap()),
          right(window_->GetMaxX() + 1),
          bottom(window_->GetMaxY() + 1),
          columns(right / CELL_W + 1),
          rows(bottom / CELL_H + 1),
          cells(static_cast<std::size_t>(columns) * rows) {
        placed.resize(0);
    }

    // Labels drawn from now on are moved back inside this right and bottom edge, as DrawLabel
    // does at the picture's edges; so the points' labels keep off the scale.
    void Limit(int right_, int bottom_) {
        right = right_;
        bottom = bottom_;
    }

    // The rectangle of a text of `size` drawn at (x, y), moved inside the edges.
    RECT At(int x, int y, SIZE size) const {
        if (x > right - size.cx) x = right - size.cx;
        if (y > bottom - size.cy) y = bottom - size.cy;
        return RECT{x, y, x + size.cx, y + size.cy};
    }

    // No label placed so far comes nearer than the gap.
    bool Free(const RECT& r) const {
        const RECT zone = {r.left - gap, r.top - gap, r.right + gap, r.bottom + gap};
        for (int row = Row(zone.top); row <= Row(zone.bottom - 1); ++row)
            for (int column = Column(zone.left); column <= Column(zone.right - 1); ++column)
                for (int i : cells[Cell(column, row)]) {
                    const RECT& d = placed.items[i];
                    if (zone.left < d.right && d.left < zone.right && zone.top < d.bottom && d.top < zone.bottom) return false;
                }
        return true;
    }

    // Whether a label at (x, y) would come nearer than the gap to one placed before, judged
    // without measuring it: moved inside the edges or not, it still covers (x, y) when that
    // lies inside them. False when it cannot tell.
    bool Blocked(int x, int y) const {
        if (x >= right || y >= bottom) return false;
        for (int i : cells[Cell(Column(x), Row(y))]) {
            const RECT& d = placed.items[i];
            if (d.left - gap <= x && x < d.right + gap && d.top - gap <= y && y < d.bottom + gap) return true;
        }
        return false;
    }

    void Occupy(const RECT& r) {
        const int index = placed.size();
        if (placed.append(r) < 0) return;
        for (int row = Row(r.top); row <= Row(r.bottom - 1); ++row)
            for (int column = Column(r.left); column <= Column(r.right - 1); ++column) cells[Cell(column, row)].push_back(index);
    }

    // Draws `text` as DrawLabel places it, moved inside the edges, unless it would come nearer
    // than the gap to a label placed before.
    bool Draw(int x, int y, const char* text, COLORREF color) {
        if (!*text || Blocked(x, y)) return false;
        const RECT r = At(x, y, meter.Size(text, static_cast<int>(std::strlen(text))));
        if (!Free(r)) return false;
        Occupy(r);
        window->DrawLabel(r.left, r.top, label_font(), text, color);
        return true;
    }

private:
    static constexpr int CELL_W = 64;
    static constexpr int CELL_H = 32;
    int Column(int x) const { return x < 0 ? 0 : std::min(x / CELL_W, columns - 1); }
    int Row(int y) const { return y < 0 ? 0 : std::min(y / CELL_H, rows - 1); }
    std::size_t Cell(int column, int row) const { return static_cast<std::size_t>(row) * columns + column; }

    VexGraphWindow* window;
    const TextMeter& meter;
    dyn_array_direct<RECT>& placed;
    int gap;
    int right;
    int bottom;
    int columns;
    int rows;
    std::vector<std::vector<int>> cells;
};

// Whether the labels of all points, drawn where they stand, would pile up: more than
// PILE_DEPTH deep on average over the pixels of the picture they cover. Stops measuring once
// their area alone exceeds that many pictures, so it costs at most a few pictures' pixels.
bool labels_pile_up(const OrtogonalGraph& g, const TextMeter& meter) {
    const int w = g.window->GetMaxX() + 1, h = g.window->GetMaxY() + 1;
    if (w <= 0 || h <= 0) return false;
    const double most = PILE_DEPTH * w * h;
    std::vector<unsigned char> covered(static_cast<std::size_t>(w) * h);
    double area = 0.0, pixels = 0.0;
    char text[OG_LABEL_TEXT];
    for (int i = 0; i < g.points.size(); ++i) {
        const tagPOINT_DESC& p = g.points.items[i];
        if (!p.show_label) continue;
        p.label.format(text, 0, g.precision, g.use_comma);
        const SIZE size = meter.Size(text, static_cast<int>(std::strlen(text)));
        int x = g.RealToScreenX(p.x), y = g.RealToScreenY(p.y);
        if (x > w - size.cx) x = static_cast<int>(w - size.cx);
        if (y > h - size.cy) y = static_cast<int>(h - size.cy);
        const int left = std::max(x, 0), top = std::max(y, 0);
        const int right = std::min<int>(x + size.cx, w), bottom = std::min<int>(y + size.cy, h);
        if (left >= right || top >= bottom) continue;
        area += double(right - left) * (bottom - top);
        if (area > most) return true;
        for (int row = top; row < bottom; ++row)
            for (int column = left; column < right; ++column) {
                unsigned char& c = covered[static_cast<std::size_t>(row) * w + column];
                pixels += c == 0;
                c = 1;
            }
    }
    return area > PILE_DEPTH * pixels;
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

// The axis titles first, so that a tick number gives way to them.
void paint_scale(const OrtogonalGraph& g, LabelLayout& layout, int line) {
    const int h = g.window->GetMaxY() + 1, w = g.window->GetMaxX() + 1;
    const int bottom = h - g.scale_bottom, top = plot_top(g), left = g.scale_left - 1;
    g.window->Line(left, top, left, bottom, g.colors[OG_AXES]);
    g.window->Line(left, bottom, plot_right(g), bottom, g.colors[OG_AXES]);
    layout.Draw(w - text_size(g.window, g.x_title).cx - SCALE_GAP, h - line, g.x_title, g.colors[OG_LABELS]);
    layout.Draw(SCALE_GAP, 0, g.y_title, g.colors[OG_LABELS]);
    char text[OG_LABEL_TEXT];
    const RoundScale xs = scale_x(g);
    for (int i = 0; i < xs.count; ++i) {
        const int sx = g.RealToScreenX(xs.ticks[i]);
        g.window->Line(sx, bottom, sx, bottom + TICK, g.colors[OG_AXES]);
        FormatTick(xs.ticks[i], xs.step, g.use_comma, text, sizeof text);
        layout.Draw(sx - text_size(g.window, text).cx / 2, bottom + TICK + 1, text, g.colors[OG_LABELS]);
    }
    const RoundScale ys = scale_y(g);
    for (int i = 0; i < ys.count; ++i) {
        const int sy = g.RealToScreenY(ys.ticks[i]);
        g.window->Line(left - TICK, sy, left, sy, g.colors[OG_AXES]);
        FormatTick(ys.ticks[i], ys.step, g.use_comma, text, sizeof text);
        layout.Draw(left - TICK - SCALE_GAP - text_size(g.window, text).cx, sy - line / 2, text, g.colors[OG_LABELS]);
    }
}

// The lines of the marks first (one per pixel column), then their labels, so that no line
// crosses a label; a label that finds its place taken tries the rows below.
void paint_marks(const OrtogonalGraph& g, LabelLayout& layout, const TextMeter& meter) {
    const int top = plot_top(g), bottom = g.window->GetMaxY() - g.scale_bottom, w = g.window->GetMaxX() + 1;
    std::vector<bool> drawn(w > 0 ? w : 0);
    for (int i = 0; i < g.marks.size(); ++i) {
        const ext_float& mark = g.marks.items[i];
        const int sx = g.RealToScreenX(mark.value);
        if (!mark || sx < 0 || sx >= w || drawn[sx]) continue;
        drawn[sx] = true;
        g.window->Line(sx, top, sx, bottom + 1, g.colors[OG_AXES]);
    }
    for (int i = 0; i < g.marks.size(); ++i) {
        const ext_float& mark = g.marks.items[i];
        if (!mark) continue;
        char text[OG_LABEL_TEXT];
        mark.format(text, 0, g.precision, g.use_comma);
        const int sx = g.RealToScreenX(mark.value);
        const int pitch = meter.height + meter.Gap();
        for (int row = 0; row < 8 && !layout.Draw(sx + 2, top + row * pitch, text, g.colors[OG_LABELS]); ++row) {}
    }
}

// The polyline through the visible points as GDI draws it. Where several points fall on one
// pixel column, the line between them covers exactly the column's pixels from the lowest to
// the highest of them, so each such run is cut to its first, lowest, highest and last point:
// the same pixels, from at most four points a column. The last run stays whole, since there
// the line's own last pixel (which GDI leaves out) depends on the order of the points.
void paint_curve(const OrtogonalGraph& g) {
    std::vector<POINT> all;
    all.reserve(static_cast<std::size_t>(g.points.size()));
    // The line starts at the first point even when it is invisible.
    for (int i = 0; i < g.points.size(); ++i) {
        const tagPOINT_DESC& p = g.points.items[i];
        if (i == 0 || p.visible) all.push_back(POINT{g.RealToScreenX(p.x), g.RealToScreenY(p.y)});
    }
    std::vector<POINT> line;
    const auto add = [&line](const POINT& p) {
        if (line.empty() || line.back().x != p.x || line.back().y != p.y) line.push_back(p);
    };
    for (std::size_t first = 0, end; first < all.size(); first = end) {
        std::size_t low = first, high = first;
        for (end = first + 1; end < all.size() && all[end].x == all[first].x; ++end) {
            if (all[end].y < all[low].y) low = end;
            if (all[end].y > all[high].y) high = end;
        }
        if (end == all.size()) {
            for (std::size_t i = first; i < end; ++i) add(all[i]);
            break;
        }
        add(all[first]);
        add(all[std::min(low, high)]);
        add(all[std::max(low, high)]);
        add(all[end - 1]);
    }
    if (line.size() > 1) g.window->Polyline(line.data(), static_cast<int>(line.size()), g.colors[OG_LINE]);
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
      label_rects(16, 16, nullptr),
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
    // Before the first point whose x is not less, found by halving: points come in x order
    // (a view adds them so), and one by one that would cost the square of their number.
    int low = 0, high = points.size();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (points.items[middle] < point)
            low = middle + 1;
        else
            high = middle;
    }
    points.insert(point, low);
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
    label_rects.resize(0);
    if (message) {
        const TextMeter meter(window);
        LabelLayout layout(window, meter, label_rects);
        layout.Draw(SCALE_GAP, SCALE_GAP, message, colors[OG_LABELS]);
        return;
    }
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

    // The scale's numbers and the marks' labels are placed first; the points' labels give way
    // to them. Without the scale a sparse graph labels every point where it stands,
    // overlaps included, as it always has; one whose labels would pile up, or one with the
    // scale, keeps every label apart from the others.
    const TextMeter meter(window);
    LabelLayout layout(window, meter, label_rects);
    const bool thin = show_scale || (show_labels && labels_pile_up(*this, meter));
    if (show_scale) paint_scale(*this, layout, meter.height), layout.Limit(plot_end, plot_down);
    if (note) layout.Draw(plot_left + SCALE_GAP, plot_up, note, colors[OG_LABELS]);
    paint_marks(*this, layout, meter);

    if (show_labels) {
        for (int i = 0; i < points.size(); ++i) {
            const tagPOINT_DESC& p = points.items[i];
            if (!p.show_label) continue;
            char text[OG_LABEL_TEXT];
            p.label.format(text, 0, precision, use_comma);
            const int sx = RealToScreenX(p.x), sy = RealToScreenY(p.y);
            if (thin) {
                layout.Draw(sx, sy, text, colors[OG_LABELS]);
                continue;
            }
            // Kept in the list of texts, but not in the layout: the points' labels may overlap.
            const RECT r = layout.At(sx, sy, meter.Size(text, static_cast<int>(std::strlen(text))));
            if (!layout.Free(r)) continue;
            window->DrawLabel(sx, sy, font, text, colors[OG_LABELS]);
            label_rects.append(r);
        }
    }

    // The curve comes last, over the labels.
    if (mode == GM_LINES) {
        paint_curve(*this);
    } else if (mode == GM_PIXELS) {
        for (int i = 0; i < points.size(); ++i) {
            const tagPOINT_DESC& p = points.items[i];
            const int slot = pixel_slot(p.color);
            if (p.visible && slot >= 0)
                window->SetPixel(RealToScreenX(p.x), RealToScreenY(p.y), colors[slot]);
        }
    }
    if (fit.shown)
        window->Line(RealToScreenX(fit.from), RealToScreenY(fit.intercept + fit.slope * fit.from), RealToScreenX(fit.to),
                     RealToScreenY(fit.intercept + fit.slope * fit.to), colors[OG_LABELS]);
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
            FormatTick(ys.ticks[i], ys.step, use_comma, text, sizeof text);
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
