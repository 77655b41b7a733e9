#include "core/gran.h"

#include "core/determination_text.h"
#include "core/document.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

GranOptions gran_options;

namespace {

const char* const FUNCTION_NAMES[] = {"after", "before-strong", "before-weak"};

bool same(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

std::string number_field(double value) {
    if (std::isnan(value)) return "";
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// An empty field is NaN; otherwise a finite number filling the field.
bool read_field(const std::string& field, double& value) {
    if (field.empty()) {
        value = NAN;
        return true;
    }
    char* end = nullptr;
    value = std::strtod(field.c_str(), &end);
    return end == field.c_str() + field.size() && std::isfinite(value);
}

GranProblem problem_of(GranStatus status) {
    switch (status) {
    case GRAN_OK: return GranProblem::none;
    case GRAN_NO_DIRECTION: return GranProblem::no_direction;
    case GRAN_TOO_FEW_POINTS: return GranProblem::too_few_points;
    case GRAN_FLAT: return GranProblem::flat;
    }
    return GranProblem::too_few_points;
}

}  // namespace

double GranOptions::pkw() const { return std::isnan(celsius) ? DEFAULT_PKW : pkw_at(celsius); }

bool GranOptions::operator==(const GranOptions& b) const {
    return function == b.function && same(from, b.from) && same(to, b.to) && same(celsius, b.celsius);
}

std::string GranOptionsText(const GranOptions& options) {
    if (options == GranOptions()) return "";
    return std::string(FUNCTION_NAMES[options.function]) + ";" + number_field(options.from) + ";" +
           number_field(options.to) + ";" + number_field(options.celsius);
}

bool ParseGranOptions(const std::string& text, GranOptions& options) {
    if (text.empty()) {
        options = GranOptions();
        return true;
    }
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t semicolon; (semicolon = text.find(';', start)) != std::string::npos; start = semicolon + 1)
        fields.push_back(text.substr(start, semicolon - start));
    fields.push_back(text.substr(start));
    if (fields.size() != 4) return false;
    GranOptions read;
    int function = 0;
    while (function < 3 && fields[0] != FUNCTION_NAMES[function]) ++function;
    if (function == 3) return false;
    read.function = static_cast<GranFunction>(function);
    if (!read_field(fields[1], read.from) || !read_field(fields[2], read.to) || !read_field(fields[3], read.celsius))
        return false;
    options = read;
    return true;
}

double DocumentV0(const Document& doc) { return doc.determination ? TitratedVolume(*doc.determination) : 0.0; }

// The steepest, not the determination's point: with every inflection recognised, reading noise
// makes many on a flat pH curve, and the first of them is no equivalence point.
double GranReferenceVolume(const Document& doc) {
    const dyn_array_direct<sorted_struct>& results = doc.derived.results;
    double steepest = -1.0, volume = 0.0;
    for (int i = 0; i < results.size(); ++i) {
        const sorted_struct& r = results.items[i];
        const double steepness = r.data.slope.undefined ? 0.0 : std::fabs(r.data.slope.value);
        if (!r.key.undefined && steepness > steepest) steepest = steepness, volume = r.key.value;
    }
    return volume;
}

GranResult EvaluateGran(const Document& doc, const GranOptions& options, double v0) {
    GranResult g;
    g.v0 = v0;
    g.pkw = options.pkw();
    if (doc.quantity != Quantity::ph) return g;  // not_ph
    if (!(v0 > 0.0) || !std::isfinite(v0)) {
        g.problem = GranProblem::no_v0;
        return g;
    }
    const ext_float_pair* points = doc.points.items;
    const int n = doc.points.size();
    g.curve = gran_curve(points, n, options.function, titrand_of(points, n), v0, g.pkw);
    g.v_ep = GranReferenceVolume(doc);
    double v_end = 0.0;
    for (int i = n - 1; i >= 0; --i)
        if (!points[i].vb.undefined) {
            v_end = points[i].vb.value;
            break;
        }
    if (g.v_ep > 0.0) g.range = default_gran_range(options.function, g.v_ep, v_end);
    if (!std::isnan(options.from)) g.range.from = options.from;
    if (!std::isnan(options.to)) g.range.to = options.to;
    if (g.v_ep <= 0.0 && (std::isnan(options.from) || std::isnan(options.to))) {
        g.problem = GranProblem::no_equivalence;
        return g;
    }
    g.line = fit_gran(points, n, options.function, v0, g.pkw, g.range);
    g.problem = problem_of(g.line.status);
    return g;
}

ResultProblem GranResultProblem(GranProblem problem) {
    switch (problem) {
    case GranProblem::none: return ResultProblem::none;
    case GranProblem::not_ph: return ResultProblem::gran_not_ph;
    case GranProblem::no_v0: return ResultProblem::gran_no_v0;
    case GranProblem::no_equivalence: return ResultProblem::gran_no_range;
    default: return ResultProblem::gran_no_line;
    }
}

DeterminationResult GranDeterminationResult(const Document& doc, const Determination& d, const GranOptions& options) {
    const GranResult gran = EvaluateGran(doc, options, TitratedVolume(d));
    if (!gran.ok()) {
        DeterminationResult result;
        result.problem = GranResultProblem(gran.problem);
        return result;
    }
    return ComputeResult(d, gran.line.end_point);
}

std::string GranSummaryText(const GranResult& gran, GranFunction function, int decimals, bool comma) {
    static const char* const function_texts[] = {"za bodem ekvivalence", "před bodem ekvivalence, silný analyt",
                                                 "před bodem ekvivalence, slabý analyt"};
    const std::string heading = "Granův bod ekvivalence";
    switch (gran.problem) {
    case GranProblem::none: break;
    case GranProblem::not_ph: return "";
    case GranProblem::no_v0: return heading + " nelze spočítat: chybí počáteční objem V0.";
    case GranProblem::no_equivalence: return heading + " nelze spočítat: rozsah přímky nemá podle čeho se řídit (žádný bod ekvivalence).";
    default: return heading + " nelze spočítat: přímka rozsahem neprochází nebo nedosáhne F = 0.";
    }
    const GranLine& line = gran.line;
    std::string text = heading + ": " + FixedText(line.end_point, decimals, comma) + " ± " +
                       FixedText(line.u, decimals, comma) + " ml (" + function_texts[function] + ", " +
                       FixedText(gran.range.from, 2, comma) + "–" + FixedText(gran.range.to, 2, comma) + " ml, " +
                       std::to_string(line.points) + " bodů, pKw " + FixedText(gran.pkw, 2, comma);
    if (function == GRAN_BEFORE_WEAK && std::isfinite(line.pka)) text += ", pKa " + FixedText(line.pka, 2, comma);
    return text + ")";
}
