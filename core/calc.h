// The document's points, their derived arrays and the evaluation of the titration curve.
#pragma once
#include "core/dyn_array_direct.h"
#include "core/ext_float.h"

#include <vector>

// The values an equivalence volume was interpolated from.
struct RESULT_DATA {
    ext_float x1;  // Vb of the last point before the sign change of E''
    ext_float y1;  // E'' there
    ext_float x2;  // Vb of the first point after it
    ext_float y2;  // E'' there
    ext_float slope;  // E' between the two points: the steepness of the curve there
};

// One equivalence volume (undefined when an input of the interpolation was).
struct sorted_struct {
    ext_float key;
    RESULT_DATA data;

    ext_float& get_key() { return key; }
    RESULT_DATA& get_data() { return data; }
};

// Which sign changes of E'' are equivalence points: all of them, or only the steepest
// inflections, where |E'| has a local maximum of at least `min_steepness` percent of the
// largest |E'| of the curve, one per jump (the steepest of the maxima that reading noise makes
// on it). The flat middles of buffer regions, minima of |E'|, drop out.
enum Recognition { RECOGNIZE_ALL = 0, RECOGNIZE_STEEPEST = 1 };
extern int recognition;
extern int min_steepness;  // percent

// How the last evaluation with the criterion took the derivatives. Where the reading noise is
// small against the jumps, the differences of the lists serve (window 0). On densely sampled,
// noisy curves E' and E'' are least-squares slopes over a window of volume chosen from the
// noise, and the recognition and the results rest on them.
struct Smoothing {
    double window = 0.0;  // ml; 0 when the differences served
    int points = 0;       // points in the window at the curve's median step
    double noise = 0.0;   // the estimated reading noise of E
    std::vector<ext_float> de;   // smoothed E' of each interval, at its middle
    std::vector<ext_float> d2e;  // smoothed E'' at each inner point
};

// What the evaluation derives from a document's points.
struct Derived {
    dyn_array_direct<ext_float> de{10, 10, nullptr};           // E' between neighbouring points
    dyn_array_direct<ext_float> d2e{10, 10, nullptr};          // E'' at each inner point
    dyn_array_direct<sorted_struct> results{10, 10, nullptr};  // equivalence volumes
    // The largest |E'| of the curve (of the smoothed E' when the curve was smoothed); undefined
    // without a defined E'.
    ext_float max_steepness{0.0, true};
    Smoothing smoothing;
};

// Rebuilds `derived` from `points` (ascending Vb) under the recognition settings given.
void evaluate(const dyn_array_direct<ext_float_pair>& points, Derived& derived, int recognition, int min_steepness);

// The program's document (core/document.h) under the names the evaluation's readers grew up
// with: the lists, Details, the graph and the exports read them. They are views, not copies.
extern dyn_array_direct<ext_float_pair>& arr_vb;  // the points, ascending Vb
extern dyn_array_direct<ext_float>& arr_de;
extern dyn_array_direct<ext_float>& arr_d2e;
extern dyn_array_direct<sorted_struct>& arr_res;
extern ext_float& max_steepness;
extern Smoothing& smoothing;

// Display settings: the decimal separator and decimal places of each quantity.
extern bool use_comma;
extern int vb_precis;
extern int e_precis;
extern int de_precis;
extern int d2e_precis;
extern int res_precis;
extern int graph_precis;

// The steepness |E'| of a result as the Details dialog shows it, in E' decimals with the
// current separator and as a whole percentage of the curve's largest: "1953,0000 mV.ml-1 (100 %)".
// The percentage is rounded down, so it reaches `min_steepness` exactly when the point is
// steep enough; "*" when the slope is undefined. Cut to `size` bytes, NUL included.
void format_steepness(char* text, std::size_t size, const ext_float& slope, const char* unit = "mV");

// The abscissa where the line through (x1, y1) and (x2, y2) crosses zero.
ext_float GetCross(ext_float& x1, ext_float& x2, ext_float& y1, ext_float& y2);

// Evaluates the program's document again (arr_de, arr_d2e and arr_res from arr_vb) under the
// current recognition settings.
void recalc_arrays();
