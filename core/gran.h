// The Gran plot of a document: the options the user chose (kept in titrion2.ini), and the Gran
// end point they give on the document's points. The graph's fourth view, Details, the report,
// the determination and titrion-eval all take it from here.
#pragma once
#include "core/determination.h"
#include "core/ph.h"

#include <cmath>
#include <string>
#include <vector>

class Document;

// Which Gran function, over which volumes, with which pKw. A NaN bound of the range is the
// default one (default_gran_range around the equivalence volume); a NaN temperature is
// pKw 14.00, as at 25 °C.
struct GranOptions {
    GranFunction function = GRAN_AFTER_EP;
    double from = NAN;     // ml
    double to = NAN;       // ml
    double celsius = NAN;  // °C; pKw from pkw_at
    double pkw() const;
    bool operator==(const GranOptions& b) const;
};

// The program's Gran options (and titrion-eval's, which keeps the defaults).
extern GranOptions gran_options;

// The options' form in titrion2.ini: "after;26.25;37.5;20" (the function after, before-strong
// or before-weak; from and to in ml; the temperature in °C; an empty field is the default).
// The defaults give "", so an ini of a user who never changed them stays as it was. Reading
// takes what the writing gives and "" for the defaults; false (and `options` untouched) for
// anything else.
std::string GranOptionsText(const GranOptions& options);
bool ParseGranOptions(const std::string& text, GranOptions& options);

enum class GranProblem {
    none,
    not_ph,          // the document is in mV
    no_v0,           // V0 of the titrated solution is unknown
    no_equivalence,  // the default range needs an equivalence point and the curve has none
    no_direction,    // the pH neither rises nor falls
    too_few_points,  // fewer than three points in the range
    flat,            // the line never reaches F = 0
};

struct GranResult {
    GranProblem problem = GranProblem::not_ph;
    double v0 = 0.0;    // ml
    double pkw = DEFAULT_PKW;
    double v_ep = 0.0;  // the inflection the default range was placed around; 0 with none
    VolumeRange range{0.0, 0.0};
    GranLine line;
    std::vector<ext_float_pair> curve;  // (V, F) of every point; empty before the quantity and V0 are known
    bool ok() const { return problem == GranProblem::none; }
};

// V0 the document's determination gives (TitratedVolume), 0 without one.
double DocumentV0(const Document& doc);

// The equivalence volume the default range is placed around: the steepest inflection of the
// result list (the largest |E'|); 0 when the list is empty.
double GranReferenceVolume(const Document& doc);

// The Gran end point of the document's points with V0 ml of titrated solution.
GranResult EvaluateGran(const Document& doc, const GranOptions& options, double v0);

// Why a determination whose equivalence point is the Gran end point has no result.
ResultProblem GranResultProblem(GranProblem problem);
// The result of `d` from the Gran end point of the document's points (V0 from `d`).
DeterminationResult GranDeterminationResult(const Document& doc, const Determination& d,
                                            const GranOptions& options = gran_options);

// The Gran end point as Details and the report give it, one line without its end:
// "Granův bod ekvivalence: 25,01 ± 0,02 ml (za bodem ekvivalence, 26,25–37,50 ml, 12 bodů,
// pKw 14,00)", with "pKa 4,76" for the weak analyte's function; or why there is none. ""
// for a document in mV, which knows nothing of the Gran plot.
std::string GranSummaryText(const GranResult& gran, GranFunction function, int decimals, bool comma);
